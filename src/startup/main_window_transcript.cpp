// The main window's changes as transcript events: lblMessage's caption, btnEvent and btnEnd,
// prgStatus with lblStatus, and fraReadme when it is shown. Reads the form, changes nothing.
#include "startup/main_window_transcript.h"

#include "startup/main_window.h"

namespace korvane {

MainWindowTranscript::MainWindowTranscript(TfrmMain& form, Transcript& transcript)
    : form_(form), transcript_(transcript) {
  form_.AddObserver(this);
}

MainWindowTranscript::~MainWindowTranscript() { form_.RemoveObserver(this); }

void MainWindowTranscript::ControlChanged(const Control& control, ControlProperty property) {
  if (&control == &form_.lblMessage) {
    if (property == ControlProperty::Caption) transcript_.Message(control.Caption());
  } else if (&control == &form_.btnEvent || &control == &form_.btnEnd) {
    if (property == ControlProperty::Caption || property == ControlProperty::Enabled) {
      transcript_.Button(control.Name(), control.Caption(), control.Enabled());
    }
  } else if (&control == &form_.prgStatus) {
    if (property == ControlProperty::Position) {
      transcript_.Progress(form_.prgStatus.Position(), form_.lblStatus.Caption());
    }
  } else if (&control == &form_.lblStatus) {
    if (property == ControlProperty::Caption) {
      transcript_.Progress(form_.prgStatus.Position(), form_.lblStatus.Caption());
    }
  } else if (&control == &form_.fraReadme) {
    if (property == ControlProperty::Visible && control.Visible()) {
      transcript_.Details(form_.fraReadme.Caption(), form_.txtReadme.Text());
    }
  }
}

}  // namespace korvane
