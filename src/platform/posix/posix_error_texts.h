// The Japanese system texts of the Windows error codes the system meets (FormatMessageA).
#pragma once

#include <cstdint>
#include <string>

namespace korvane::posix {

/// The text of a Windows error code, ending in CR LF (code page 932); "" for an unknown code.
std::string ErrorMessageText(uint32_t code);

}  // namespace korvane::posix
