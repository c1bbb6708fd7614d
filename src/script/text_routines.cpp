// Byte-string routines over code page 932 texts: parts of texts and paths, backslashes on
// either side. A 0x5C that is the second byte of a double-byte character is never taken for a
// backslash. Pure: nothing here touches the machine.
#include "script/text_routines.h"

namespace korvane {

namespace {

constexpr char kBackslash = '\\';
constexpr char kColon = ':';

// The position of the last backslash or colon that begins a character, or npos.
size_t LastDelimiter(std::string_view path) {
  size_t last = std::string_view::npos;
  size_t pos = 0;
  while (pos < path.size()) {
    if (path[pos] == kBackslash || path[pos] == kColon) last = pos;
    pos += (IsLeadByte(static_cast<unsigned char>(path[pos])) && pos + 1 < path.size()) ? 2 : 1;
  }
  return last;
}

}  // namespace

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool IsTrailByteAt(std::string_view text, size_t i) {
  if (i >= text.size()) return false;
  // Lead and trail ranges overlap, so only a walk from the start knows where characters begin.
  size_t pos = 0;
  while (pos < i) {
    pos += (IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) ? 2 : 1;
  }
  return pos != i;
}

std::string LeftPart(std::string_view text, int count) {
  if (count <= 0) return {};
  return std::string(text.substr(0, static_cast<size_t>(count)));
}

std::string RightPart(std::string_view text, int count) {
  if (count < 0) count = 0;
  if (static_cast<size_t>(count) >= text.size()) return std::string(text);
  return std::string(text.substr(text.size() - static_cast<size_t>(count)));
}

std::string AddBackslash(std::string_view path, std::string_view side) {
  if (side.empty()) return std::string(path);
  if (side[0] == 'T') {
    if (!path.empty() && path.front() == kBackslash) return std::string(path);
    return std::string(1, kBackslash) + std::string(path);
  }
  if (side[0] == 'B') {
    if (!path.empty() && path.back() == kBackslash && !IsTrailByteAt(path, path.size() - 1)) {
      return std::string(path);
    }
    return std::string(path) + kBackslash;
  }
  return std::string(path);
}

std::string RemoveBackslash(std::string_view path, std::string_view side) {
  if (side.empty() || path.empty()) return std::string(path);
  if (side[0] == 'T' && path.front() == kBackslash) return std::string(path.substr(1));
  if (side[0] == 'B' && path.back() == kBackslash && !IsTrailByteAt(path, path.size() - 1)) {
    return std::string(path.substr(0, path.size() - 1));
  }
  return std::string(path);
}

std::string FolderPart(std::string_view path) {
  size_t last = LastDelimiter(path);
  if (last == std::string_view::npos) return {};
  return std::string(path.substr(0, last + 1));
}

std::string NamePart(std::string_view path) {
  size_t last = LastDelimiter(path);
  if (last == std::string_view::npos) return std::string(path);
  return std::string(path.substr(last + 1));
}

size_t FindBytes(std::string_view text, std::string_view needle, size_t from) {
  if (from > text.size()) return std::string_view::npos;
  return text.find(needle, from);
}

size_t FindSingleByte(std::string_view text, char c, size_t from) {
  size_t pos = 0;
  while (pos < text.size()) {
    if (pos >= from && text[pos] == c) return pos;
    pos += (IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) ? 2 : 1;
  }
  return std::string_view::npos;
}

}  // namespace korvane
