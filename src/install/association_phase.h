// File associations: asks, records the former association, writes the keys.
#pragma once

#include <string>

namespace korvane {

class Program;

void AssociationPhase(Program\& program);

}  // namespace korvane
