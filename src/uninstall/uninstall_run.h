// The uninstall run: removes what the record lists, restores associations, reports failures.
#pragma once

namespace korvane {

class Program;

/// The whole uninstall run, started by the event button.
void UninstallRun(Program& program);

}  // namespace korvane
