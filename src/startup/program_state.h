// The program state: one record for the whole process, filled by the start-up steps and read
// by every run. Texts are code page 932.
#pragma once

#include <cstdint>
#include <string>

namespace korvane {

inline constexpr const char* kRunModeSetup = "SETUP";
inline constexpr const char* kRunModeUnsetup = "UNSETUP";

// How the program ended, for the exit code of the terminal and unattended front-ends.
enum class RunOutcome {
  None,                   // ended before any run
  Completed,              // a run completed without failures
  CompletedWithFailures,  // a run completed; the failure report had entries
  Refused,                // StopRun: space, folder, disk
  Aborted,                // the user confirmed the abort
  StartupFailed,          // fatal start-up errors or a bad SetupSpeed
  Error,                  // an error ended the run (registry, internal fault)
  RestartNeeded,          // completed, and Windows must be restarted
};

struct ProgramState {
  std::string ProgramFolder;       // always ends with a backslash
  std::string TempFolder;
  std::string WindowsFolder;
  std::string SystemFolder;
  std::string ProgramFilesFolder;  // no trailing backslash
  std::string ScriptCopyPath;
  std::string RunMode;             // "SETUP" or "UNSETUP"
  std::string SetupTitle;
  std::string UnSetupTitle;
  std::string ProgramId;
  int32_t SetupSpeed = 400;
  std::string MessageText;
  bool AbortRequested = false;
  int LastAnswer = 0;

  std::string FirstArgument;       // the first command-line argument, or empty
  RunOutcome Outcome = RunOutcome::None;
};

}  // namespace korvane
