// The uninstall record: merging an earlier record of the same folder into the undo lists,
// and writing the record, the uninstaller copy, the installed-programs file and the
// uninstall entry.
#pragma once

#include <string>

namespace korvane {

class Program;

inline constexpr const char* kUninstallKeyPrefix =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

/// The record path: SetupFolder without trailing backslash + "\UNSETUP.INI".
std::string RecordPath(const std::string& setupFolder);
/// Loads the lists of the record at RecordPath(SetupFolder) when it exists.
void MergeEarlierRecord(Program& program);
/// The record phase of the setup run.
void WriteUninstallRecord(Program& program);

}  // namespace korvane
