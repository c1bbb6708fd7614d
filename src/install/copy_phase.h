// The copy phase: disk changes, expansion, overwrite rules, progress, registration, records.
#pragma once

#include <string>

namespace korvane {

class Program;

/// Failed files go to FailureLog; leaves the run (LeaveRun) on abort or a refused disk.
void CopyPhase(Program& program);
/// Records target + switches in DeleteFileList, replacing a slot of the same path (letter case
/// ignored); a full list drops it.
void RecordCopiedFile(Program& program, const std::string& target, const std::string& switches);

}  // namespace korvane
