// What a front-end does for the framework: render forms, deliver the user's events, and show
// the modal boxes. A front-end holds no logic of the system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace korvane {

class Form;
class FolderBrowser;

struct UiEvent {
  enum class Kind {
    Click,       // control: a button or check box clicked (a check box toggles first)
    SetText,     // control, text: the user typed into an edit
    SetChecked,  // control, checked: the user set a check box
    Quit,        // the front-end cannot deliver any more events (input ended)
  };
  Kind kind = Kind::Quit;
  std::string control;
  std::string text;  // code page 932
  bool checked = false;
};

class FrontEnd {
 public:
  virtual ~FrontEnd() = default;

  /// A form is shown: the front-end renders it and follows its changes.
  virtual void ShowForm(Form& form) = 0;
  /// A form is hidden (closed).
  virtual void HideForm(Form& form) = 0;
  /// Blocks until the user does something with the modal form.
  virtual UiEvent WaitEvent() = 0;
  /// The next event that is already waiting, without blocking.
  virtual std::optional<UiEvent> PollEvent() = 0;
  /// Shows a modal message box owned by owner: 1 OK, 2 Cancel, 6 Yes, 7 No.
  virtual int MessageBox(const Form* owner, const std::string& text,
                         const std::string& caption, int style) = 0;
  /// The modal folder browser: the chosen folder (a drive root as "C:\"), nullopt on cancel.
  virtual std::optional<std::string> BrowseForFolder(const Form* owner,
                                                     const FolderBrowser& browser) = 0;
  /// The shell's restart question: 6 when the user agrees to restart, else 7.
  virtual int RestartQuestion(const Form* owner) = 0;
};

}  // namespace korvane
