// The default layout of a machine folder, for Machine::Open (which makes the registry itself)
// and InitMachineFolder. Creates only what is missing.
#pragma once

#include <string>

namespace korvane::posix {

/// The machine folder's layout without the registry (InitMachineFolder less registry.db):
/// false and a UTF-8 message on failure.
bool CreateMachineLayout(const std::string& machineDir, std::string& error);

}  // namespace korvane::posix
