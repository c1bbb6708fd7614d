// One profile (INI) file as its lines, with the Windows rules of GetPrivateProfileStringA for
// finding a value and of WritePrivateProfileStringA for changing one. Lines that a change does
// not touch keep their bytes. Pure text work: no file access here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvane::posix {

class ProfileDocument {
 public:
  /// Splits the bytes into lines (CR LF, LF or CR endings).
  static ProfileDocument Parse(std::string_view bytes);

  /// The value of the first key of that name in the first section of that name (blanks
  /// around it and one pair of enclosing quotes removed); nullopt when there is none.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;
  /// Sets a key, adding it (and its section) where missing: whether the bytes changed.
  bool Set(std::string_view section, std::string_view key, std::string_view value);
  /// Deletes the first key of that name in the section: whether there was one.
  bool DeleteKey(std::string_view section, std::string_view key);
  /// Deletes the first section of that name with all its lines: whether there was one.
  bool DeleteSection(std::string_view section);
  /// The file's bytes.
  std::string Serialize() const;

 private:
  struct Line {
    std::string text;
    std::string ending;  // "\r\n", "\n", "\r", or "" for a last line without one
  };
  // [first, end) of the first section of that name: first is its header line.
  bool FindSection(std::string_view section, size_t& first, size_t& end) const;
  std::optional<size_t> FindKeyLine(size_t first, size_t end, std::string_view key) const;

  std::vector<Line> lines_;
};

/// Blanks and tabs removed at both ends.
std::string_view TrimBlanks(std::string_view text);

}  // namespace korvane::posix
