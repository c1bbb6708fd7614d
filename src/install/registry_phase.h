// Registry values: writes the values of RegistryList; errors end the run.
#pragma once

#include <string>

namespace korvane {

class Program;

void RegistryPhase(Program\& program);

}  // namespace korvane
