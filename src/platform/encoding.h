// Conversion between code page 932 and UTF-8, for the edges only (host names, terminal,
// transcript, GUI). The core itself never converts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvane {

/// Code page 932 to UTF-8: nullopt when the bytes are not valid code page 932.
std::optional<std::string> Cp932ToUtf8(std::string_view text);
/// UTF-8 to code page 932: nullopt when a character has no code page 932 form.
std::optional<std::string> Utf8ToCp932(std::string_view text);
/// Code page 932 to UTF-8 for display: invalid bytes become U+FFFD instead of failing.
std::string Cp932ToUtf8Lossy(std::string_view text);

}  // namespace korvane
