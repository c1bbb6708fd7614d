// The free-space check of the setup run and DiskFreeBytes, which measures the free space of a
// drive with the old or the extended call as the platform version allows.
#pragma once

#include <string>

#include "platform/platform.h"

namespace korvane {

class Program;

// The unit and lines that the internal faults of DiskFreeBytes name, as the system's
// assertion shows them: "<message> (Main.pas, line <n>)".
inline constexpr const char* kAssertUnit = "Main.pas";
inline constexpr int kAssertLineVersion = 2417;
inline constexpr int kAssertLineLoadLibrary = 2432;
inline constexpr int kAssertLineGetProcAddress = 2434;

/// Free bytes for the caller on the drive of path, -1 when unknown; raises AssertionFault
/// when the version cannot be read or the extended call is missing though it should exist.
long double DiskFreeBytes(const Platform& platform, const std::string& path);
/// Warns when the drive of txtFolder has no more room than TotalBytes; No stops the run.
void FreeSpaceCheck(Program& program);

}  // namespace korvane
