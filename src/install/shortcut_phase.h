// Shortcuts: creates the shortcut files of ShortcutList and records them.
#pragma once

#include <string>

namespace korvane {

class Program;

/// The phase over its work list; leaves the run (LeaveRun) on abort.
void ShortcutPhase(Program& program);
/// Makes one shortcut file: its full path, or empty when none was made.
std::string CreateShortCut(Program& program, const std::string& target, const std::string& linkName,
                           int csidl, const std::string& workingFolder);

}  // namespace korvane
