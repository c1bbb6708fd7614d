// Registry values: writes the values of RegistryList; errors end the run.
#pragma once

#include <string>

namespace korvane {

class Program;

/// The phase over its work list; leaves the run (LeaveRun) on abort.
void RegistryPhase(Program& program);

}  // namespace korvane
