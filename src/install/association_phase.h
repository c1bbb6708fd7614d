// File associations: asks, records the former association, writes the keys.
#pragma once

#include <string>

namespace korvane {

class Program;

/// The phase over its work list; leaves the run (LeaveRun) on abort.
void AssociationPhase(Program& program);

}  // namespace korvane
