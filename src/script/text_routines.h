// Byte-string routines of the system: parts of texts and paths, backslashes on either side.
// Every length and position counts bytes of code page 932; nothing here touches the machine.
#pragma once

#include <string>
#include <string_view>

namespace korvane {

/// Whether b is a lead byte of a double-byte character in code page 932.
bool IsLeadByte(unsigned char b);
/// Whether the byte at index i (0-based) is the second byte of a double-byte character.
bool IsTrailByteAt(std::string_view text, size_t i);

/// The first count bytes (count <= 0: empty; count >= length: the whole text).
std::string LeftPart(std::string_view text, int count);
/// The last count bytes when count < length (count <= 0: empty); otherwise the whole text.
std::string RightPart(std::string_view text, int count);
/// side "T": a backslash in front unless there is one; "B": at the back unless there is one
/// (a 0x5C that ends a double-byte character does not count); other sides: unchanged.
std::string AddBackslash(std::string_view path, std::string_view side);
/// side "T"/"B": one backslash less on that side (never the second byte of a character).
std::string RemoveBackslash(std::string_view path, std::string_view side);
/// The path up to and including its last backslash or colon (empty when none).
std::string FolderPart(std::string_view path);
/// The part after the last backslash or colon (the whole path when none).
std::string NamePart(std::string_view path);
/// The first position (0-based) of needle in text, or npos; the search steps over
/// double-byte characters only where the system's does (plain byte search).
size_t FindBytes(std::string_view text, std::string_view needle, size_t from = 0);
/// The first position (0-based, at or after from) of the single-byte character c that is not
/// the second byte of a double-byte character, or npos.
size_t FindSingleByte(std::string_view text, char c, size_t from = 0);

// The sides of AddBackslash and RemoveBackslash.
inline constexpr std::string_view kSideFront = "T";
inline constexpr std::string_view kSideBack = "B";

}  // namespace korvane
