// Reports what the main window shows to the transcript: the message, the two buttons, the
// progress display and the details view. The same for every front-end; it only observes.
#pragma once

#include "framework/form.h"
#include "framework/transcript.h"

namespace korvane {

class TfrmMain;

class MainWindowTranscript : public FormObserver {
 public:
  MainWindowTranscript(TfrmMain& form, Transcript& transcript);
  ~MainWindowTranscript() override;
  MainWindowTranscript(const MainWindowTranscript&) = delete;
  MainWindowTranscript& operator=(const MainWindowTranscript&) = delete;

  void ControlChanged(const Control& control, ControlProperty property) override;

 private:
  TfrmMain& form_;
  Transcript& transcript_;
};

}  // namespace korvane
