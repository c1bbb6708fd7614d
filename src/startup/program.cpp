// The process: program entry with the single-instance guard, the two windows and the end,
// the pauses of a run, and the exit code of the outcome. The start-up steps are in
// startup_steps.cpp; nothing here reads the script.
#include "startup/program.h"

#include <utility>

namespace korvane {

Program::Program(const Platform& platform, Application& application, ProgramOptions options,
                 std::string firstArgument)
    : platform_(platform),
      application_(application),
      options_(options),
      frmBack(*this),
      frmMain(*this),
      mainWindowTranscript_(frmMain, application.transcript()) {
  state.FirstArgument = std::move(firstArgument);
}

bool Program::Run() {
  // Another instance on this machine ends at once and shows nothing.
  if (platform_.system->AcquireMutex(kMutexName) == MutexState::HeldByOther) return false;
  application_.SetTitle("Korvane");
  frmBack.FormCreate();

  // The message loop shows the background window maximized; its first resize does the rest.
  FrontEnd& frontEnd = application_.frontEnd();
  frmBack.SetPlace(frontEnd.ScreenSize());
  frmBack.SetVisible(true);
  frontEnd.ShowForm(frmBack);
  frmBack.FormResize();

  platform_.system->ReleaseMutex();
  return true;
}

void Program::Pause(uint32_t ms) {
  application_.transcript().Pause(ms);
  if (!options_.skipPauses) platform_.clock->Sleep(ms);
}

int Program::ExitCode() const {
  switch (state.Outcome) {
    case RunOutcome::None:
      return 0;
    case RunOutcome::Completed:
      return 0;
    case RunOutcome::CompletedWithFailures:
      return 1;
    case RunOutcome::Refused:
      return 2;
    case RunOutcome::Aborted:
      return 3;
    case RunOutcome::StartupFailed:
      return 4;
    case RunOutcome::Error:
      return 5;
    case RunOutcome::RestartNeeded:
      return 6;
  }
  return 0;
}

}  // namespace korvane
