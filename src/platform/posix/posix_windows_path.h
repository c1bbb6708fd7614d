// Windows path syntax: drive letter, absolute and relative forms, "." and "..", the characters
// a name may not hold and the length limits. Pure text work in code page 932; it never looks
// at the host (posix_drive_map does that).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::posix {

// A full Windows path after normalization: a drive and its components, no "." or "..".
struct WindowsPath {
  char drive = 0;                       // upper-case letter, 0 when none
  std::vector<std::string> components;  // code page 932, as written (case kept)

  /// "C:\A\B", or "C:\" for the root.
  std::string ToString() const;
};

/// Parses a path against the current folder ("\x" is on the current drive, "x" and "C:x"
/// relative to it): 0, 123 for a bad name, 206 for a name or path too long, 3 for a path on
/// no drive (UNC, relative without a current folder). With wildcards, the last component may
/// hold * and ? (and keeps its trailing dots).
uint32_t ParseWindowsPath(std::string_view path, const WindowsPath& current, bool wildcards,
                          WindowsPath& out);

/// Whether a name holds * or ? outside double-byte characters.
bool HasWildcards(std::string_view name);

/// DOS wildcard match of a name against a pattern, both already upper-cased; ? is one
/// character (double-byte ones included) or none at a dot or the end, and "X.*" also
/// matches "X".
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace korvane::posix
