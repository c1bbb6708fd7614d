// What a front-end does for the framework: render forms, deliver the user's events, and show
// the modal boxes. A front-end holds no logic of the system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "framework/control.h"

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

  /// The place of a maximized window (the whole screen); 1024 x 768 unless the front-end
  /// knows its screen.
  virtual Place ScreenSize() { return Place{0, 0, 1024, 768}; }
  /// Width and height (in place.width, place.height) of a text drawn in the font, for labels
  /// that size themselves to their text: an estimate of half the font's pixels per byte of
  /// the longest line and the pixels plus 3 per line (8 x 19 for 16 pixels) unless the
  /// front-end measures with real fonts.
  virtual Place TextSize(const FontSpec& font, const std::string& text);
};

}  // namespace korvane
