// The Windows profile rules on one file's lines. Names match after ASCII-only upper-casing
// (never inside double-byte characters); a change rewrites or inserts single lines and leaves
// every other line byte for byte.
#include "platform/posix/posix_profile_document.h"

#include "platform/posix/posix_cp932.h"

namespace korvane::posix {
namespace {

constexpr char kCrLf[] = "\r\n";

// The section name of a header line, or nullopt when the line is no header.
std::optional<std::string_view> HeaderName(std::string_view line) {
  std::string_view trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed[0] != '[') return std::nullopt;
  std::string_view inner = trimmed.substr(1);
  for (size_t i = 0; i < inner.size(); i += Cp932CharLength(inner, i)) {
    if (inner[i] == ']' && Cp932CharLength(inner, i) == 1) return TrimBlanks(inner.substr(0, i));
  }
  return TrimBlanks(inner);
}

// The key name and raw value of a key line; false for comments and lines without '='.
bool SplitKeyLine(std::string_view line, std::string_view& name, std::string_view& value) {
  std::string_view trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed[0] == ';') return false;
  size_t eq = trimmed.find('=');  // '=' is never a trail byte
  if (eq == std::string_view::npos) return false;
  name = TrimBlanks(trimmed.substr(0, eq));
  value = TrimBlanks(trimmed.substr(eq + 1));
  return true;
}

bool SameName(std::string_view a, std::string_view b) {
  return Cp932AsciiUpper(TrimBlanks(a)) == Cp932AsciiUpper(TrimBlanks(b));
}

bool IsBlank(std::string_view line) { return TrimBlanks(line).empty(); }

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  return text.substr(begin, end - begin);
}

ProfileDocument ProfileDocument::Parse(std::string_view bytes) {
  ProfileDocument doc;
  size_t start = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') continue;
    size_t endLength = (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
    doc.lines_.push_back(
        Line{std::string(bytes.substr(start, i - start)), std::string(bytes.substr(i, endLength))});
    i += endLength - 1;
    start = i + 1;
  }
  if (start < bytes.size()) doc.lines_.push_back(Line{std::string(bytes.substr(start)), ""});
  return doc;
}

bool ProfileDocument::FindSection(std::string_view section, size_t& first, size_t& end) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    std::optional<std::string_view> name = HeaderName(lines_[i].text);
    if (!name || !SameName(*name, section)) continue;
    first = i;
    end = i + 1;
    while (end < lines_.size() && !HeaderName(lines_[end].text)) ++end;
    return true;
  }
  return false;
}

std::optional<size_t> ProfileDocument::FindKeyLine(size_t first, size_t end,
                                                   std::string_view key) const {
  for (size_t i = first + 1; i < end; ++i) {
    std::string_view name, value;
    if (SplitKeyLine(lines_[i].text, name, value) && SameName(name, key)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> ProfileDocument::Find(std::string_view section,
                                                 std::string_view key) const {
  size_t first = 0, end = 0;
  if (!FindSection(section, first, end)) return std::nullopt;
  std::optional<size_t> line = FindKeyLine(first, end, key);
  if (!line) return std::nullopt;
  std::string_view name, value;
  SplitKeyLine(lines_[*line].text, name, value);
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

bool ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  size_t first = 0, end = 0;
  if (FindSection(section, first, end)) {
    if (std::optional<size_t> index = FindKeyLine(first, end, key)) {
      Line& line = lines_[*index];
      std::string_view name, oldValue;
      SplitKeyLine(line.text, name, oldValue);
      std::string text = std::string(name) + "=" + std::string(value);
      std::string ending = line.ending.empty() ? kCrLf : line.ending;
      if (text == line.text && ending == line.ending) return false;
      line.text = std::move(text);
      line.ending = std::move(ending);
      return true;
    }
    // A new key goes after the section's last non-blank line (its header at least).
    size_t after = first;
    for (size_t i = first + 1; i < end; ++i) {
      if (!IsBlank(lines_[i].text)) after = i;
    }
    if (lines_[after].ending.empty()) lines_[after].ending = kCrLf;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after) + 1,
                  Line{std::string(key) + "=" + std::string(value), kCrLf});
    return true;
  }
  if (!lines_.empty()) {
    if (lines_.back().ending.empty()) lines_.back().ending = kCrLf;
    // Windows 9x separates a new section by a blank line (none before the file's first).
    if (!IsBlank(lines_.back().text)) lines_.push_back(Line{"", kCrLf});
  }
  lines_.push_back(Line{"[" + std::string(section) + "]", kCrLf});
  lines_.push_back(Line{std::string(key) + "=" + std::string(value), kCrLf});
  return true;
}

bool ProfileDocument::DeleteKey(std::string_view section, std::string_view key) {
  size_t first = 0, end = 0;
  if (!FindSection(section, first, end)) return false;
  std::optional<size_t> index = FindKeyLine(first, end, key);
  if (!index) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*index));
  return true;
}

bool ProfileDocument::DeleteSection(std::string_view section) {
  size_t first = 0, end = 0;
  if (!FindSection(section, first, end)) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(first),
               lines_.begin() + static_cast<std::ptrdiff_t>(end));
  return true;
}

std::string ProfileDocument::Serialize() const {
  std::string bytes;
  for (const auto& line : lines_) bytes += line.text + line.ending;
  return bytes;
}

}  // namespace korvane::posix
