// The one table from errno values to the Windows error codes that the system's routines give.
// Every posix service maps through it; it knows nothing about which call failed.
#pragma once

#include <cstdint>

namespace korvane::posix {

/// The Windows error code for an errno value (5, access denied, for anything unlisted).
uint32_t WinErrorFromErrno(int err);

}  // namespace korvane::posix
