// machine.ini: its default text and its reading into MachineSettings. Never writes the file.
#pragma once

#include <string>
#include <string_view>

#include "platform/posix/posix_services.h"

namespace korvane::posix {

/// The machine.ini of a new machine (UTF-8): a Japanese Windows 98.
std::string DefaultMachineIni();

/// Parses machine.ini (UTF-8) over the defaults: false and a UTF-8 message when the text is
/// not UTF-8 or has no code page 932 form.
bool ParseMachineSettings(std::string_view utf8, MachineSettings& settings, std::string& error);

/// Reads DIR/machine.ini: false and a UTF-8 message when it cannot be read or parsed.
bool ReadMachineSettings(const std::string& machineDir, MachineSettings& settings,
                         std::string& error);

}  // namespace korvane::posix
