// The main window's operations that the runs use: the message, pending events, questions,
// the finish operation, the details view with its wait, and the end of a run by an error.
// They change controls only; what a run means by them is the run's business.
#include "framework/errors.h"
#include "startup/main_window.h"
#include "startup/program.h"

namespace korvane {
namespace {

constexpr uint32_t kDetailsPollMs = 200;

}  // namespace

void TfrmMain::ShowMessage(const std::string& text) { lblMessage.SetCaption(text); }

void TfrmMain::ProcessMessages() { program_.application().ProcessMessages(); }

int TfrmMain::Ask(const std::string& text, const std::string& caption, int style) {
  return program_.application().MessageBox(text, caption, style);
}

void TfrmMain::Finish() {
  program_.frmBack.SetEnabled(true);
  SetModalResult(1);
}

void TfrmMain::ShowDetailsAndWait(const std::string& details, const std::string& frameCaption,
                                  const std::string& startCaption) {
  txtReadme.SetText("");
  txtReadme.SetText(details);
  btnEvent.SetCaption(kCaptionContinue);
  btnEvent.SetEnabled(true);
  fraReadme.SetCaption(frameCaption);
  fraReadme.SetVisible(true);
  Application& application = program_.application();
  // The click on "続行(&C)" disables the button; input that has ended, or a window that is not
  // the one shown modally, can never be clicked.
  do {
    if (!program_.options().skipPauses) program_.platform().clock->Sleep(kDetailsPollMs);
    ProcessMessages();
  } while (btnEvent.Enabled() && !application.InputEnded() && application.ModalForm() == this);
  btnEvent.SetEnabled(false);
  btnEvent.SetCaption(startCaption);
  fraReadme.SetVisible(false);
}

void TfrmMain::HandlerFailed(const KorvaneError& error) {
  // The error's box has been shown; the run is over and the program must stay closable.
  program_.state.Outcome = RunOutcome::Error;
  Finish();
}

}  // namespace korvane
