// The target-folder check: takes SetupFolder from txtFolder and offers to create it.
#pragma once

namespace korvane {

class Program;

/// Sets SetupFolder and EarlierRecordPath; a refusal or failed creation stops the run.
void TargetFolderCheck(Program& program);

}  // namespace korvane
