// The setup run: its start, the reading of the script into the work lists, the phases in
// order, pacing and abort checks, and StopRun.
#pragma once

#include <string>

namespace korvane {

class Program;

// Thrown to leave the run at once (abort seen, StopRun); caught only by SetupRun.
struct LeaveRun {};

/// The whole setup run, started by the event button.
void SetupRun(Program& program);
/// Reads the script's lists into the work lists (with the byte tally and shortcut filter).
void ReadScriptLists(Program& program);
/// Error box, background window enabled, ModalResult 1, run left (throws LeaveRun).
[[noreturn]] void StopRun(Program& program, const std::string& text, const std::string& caption);
/// Processes pending messages, then leaves the run when the abort was confirmed.
void CheckAbort(Program& program);
/// Pauses SetupSpeed milliseconds (reported; skipped in unattended runs).
void PauseStep(Program& program);

}  // namespace korvane
