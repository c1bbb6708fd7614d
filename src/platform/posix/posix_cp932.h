// Byte-level rules of code page 932 texts: lead bytes, the upper-case mapping that Windows
// applies to file names and LCMapStringA, and splitting at backslashes. Never converts to
// another encoding (encoding.h does that) and never folds a trail byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::posix {

/// Whether b starts a double-byte character of code page 932.
inline bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

/// Length in bytes (1 or 2) of the character starting at text[pos]; a lead byte at the very
/// end counts as one byte.
size_t Cp932CharLength(std::string_view text, size_t pos);

/// The upper-case mapping of code page 932 (LCMAP_UPPERCASE): ASCII letters, full-width
/// Latin, Greek and Cyrillic letters; everything else unchanged, lengths unchanged.
std::string Cp932Upper(std::string_view text);

/// Upper-cases single-byte ASCII letters only, skipping double-byte characters whole (the
/// rule of profile section and key names).
std::string Cp932AsciiUpper(std::string_view text);

/// Splits at backslashes and slashes that are not the second byte of a double-byte
/// character; empty parts are kept.
std::vector<std::string> SplitCp932Path(std::string_view path);

/// Whether the text ends inside a double-byte character (a lone lead byte at the end).
bool EndsInsideCp932Char(std::string_view text);

/// The longest prefix of at most maxBytes bytes that does not split a double-byte character.
std::string_view Cp932Prefix(std::string_view text, size_t maxBytes);

}  // namespace korvane::posix
