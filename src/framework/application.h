// The application object: the modal loop with ModalResult, the close check and close actions,
// "process pending messages" with its re-entrancy, message boxes and the folder browser.
// Written once here for every front-end; errors that escape a handler are shown here.
#pragma once

#include <optional>
#include <string>

#include "framework/front_end.h"
#include "framework/transcript.h"

namespace korvane {

class Form;
class FolderBrowser;
class KorvaneError;

class Application {
 public:
  Application(FrontEnd& frontEnd, Transcript& transcript);

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }

  /// Shows form modally: FormActivate on the first activation, then events until the modal
  /// result is set and FormCloseQuery agrees; FormClose runs, the form is hidden, and the
  /// modal result is returned. Returns at once with 2 when the input ends for good.
  int ShowModal(Form& form);
  /// Handles every event that is waiting, then returns; clicks run their handlers here.
  void ProcessMessages();
  /// A modal message box owned by the modal form; reported to the transcript.
  int MessageBox(const std::string& text, const std::string& caption, int style);
  /// The modal folder browser.
  std::optional<std::string> BrowseForFolder(const FolderBrowser& browser);
  /// The restart question; reported to the transcript.
  int RestartQuestion();
  /// Shows an error that escaped a handler (box with the application title, error icon).
  void ShowException(const KorvaneError& error);
  /// Whether the front-end said that no more events will come (ShowModal then returns 2 and
  /// waiting loops of the forms must give up).
  bool InputEnded() const { return inputEnded_; }
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }

  FrontEnd& frontEnd() { return frontEnd_; }
  Transcript& transcript() { return transcript_; }
  /// The form shown modally at the moment, or nullptr.
  Form* ModalForm() const { return modal_; }

 private:
  void Dispatch(Form& form, const UiEvent& event);
  /// Runs a handler of form; an error escaping it is shown and handed to form.HandlerFailed.
  template <typename Handler>
  void Guarded(Form& form, Handler&& handler);
  /// FormCloseQuery (guarded: an error counts as "may not close").
  bool MayClose(Form& form);
  /// FormClose (guarded), then the form is hidden.
  void CloseForm(Form& form);

  FrontEnd& frontEnd_;
  Transcript& transcript_;
  std::string title_ = "Korvane";
  Form* modal_ = nullptr;
  bool terminated_ = false;
  bool inputEnded_ = false;
};

}  // namespace korvane
