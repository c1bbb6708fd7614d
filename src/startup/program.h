// The process: the platform, the application, the program state, the lists and the two
// windows, with program entry. One Program per process; tests make as many as they need.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/application.h"
#include "install/run_state.h"
#include "install/work_lists.h"
#include "platform/platform.h"
#include "startup/background_window.h"
#include "startup/main_window.h"
#include "startup/main_window_transcript.h"
#include "startup/program_state.h"
#include "uninstall/undo_lists.h"

namespace korvane {

struct ProgramOptions {
  bool skipPauses = false;  // unattended without --pace: no SetupSpeed and no start pause
};

inline constexpr const char* kMutexName = "KORVANESETUP";

class Program {
 public:
  Program(const Platform& platform, Application& application, ProgramOptions options,
          std::string firstArgument);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  /// Program entry: the single-instance guard, the windows, the message loop. Returns
  /// false when another instance holds the mutex (nothing was shown).
  bool Run();

  /// A pause of a run: reported to the transcript, waited for unless pauses are skipped.
  void Pause(uint32_t ms);
  /// The exit code of the terminal and unattended front-ends for the outcome.
  int ExitCode() const;

  const Platform& platform() const { return platform_; }
  Application& application() { return application_; }
  const ProgramOptions& options() const { return options_; }

  // Made first: the windows below use them while they are made.
 private:
  Platform platform_;
  Application& application_;
  ProgramOptions options_;

 public:
  ProgramState state;
  WorkLists lists;
  UndoLists undo;
  RunState run;
  TfrmBack frmBack;
  TfrmMain frmMain;

 private:
  MainWindowTranscript mainWindowTranscript_;
};

/// The start-up steps of the main window's first activation.
void RunStartupSteps(Program& program);

}  // namespace korvane
