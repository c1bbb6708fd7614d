// The folder phase: creates the folders of FolderList one level each and records them.
#pragma once

namespace korvane {

class Program;

/// Failed folders go to FailureLog; leaves the run (LeaveRun) on abort.
void FolderPhase(Program& program);

}  // namespace korvane
