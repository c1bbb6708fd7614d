// Normalizes Windows paths the way the system's path routines do before touching a file:
// separators \ and /, "." dropped, ".." never above the root, trailing dots and blanks of a
// name dropped. Knows nothing of drives' host folders.
#include "platform/posix/posix_windows_path.h"

#include <cstring>

#include "platform/posix/posix_cp932.h"
#include "platform/win_types.h"

namespace korvane::posix {
namespace {

constexpr size_t kMaxComponent = 255;
constexpr size_t kMaxPath = 259;  // MAX_PATH less its terminating zero

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

uint32_t CheckName(std::string_view name, bool wildcards) {
  if (EndsInsideCp932Char(name)) return kErrorInvalidName;
  for (size_t i = 0; i < name.size(); i += Cp932CharLength(name, i)) {
    if (Cp932CharLength(name, i) == 2) continue;
    auto b = static_cast<unsigned char>(name[i]);
    if (b < 0x20 || std::strchr("<>:\"|", b) != nullptr) return kErrorInvalidName;
    if ((b == '*' || b == '?') && !wildcards) return kErrorInvalidName;
  }
  if (name.size() > kMaxComponent) return kErrorFilenameExcedRange;
  return kErrorSuccess;
}

std::string StripTrailingDotsAndBlanks(const std::string& name) {
  size_t end = name.size();
  // Trail bytes of double-byte characters are never 0x20 or 0x2E, so bytes are safe here.
  while (end > 0 && (name[end - 1] == '.' || name[end - 1] == ' ')) --end;
  return name.substr(0, end);
}

}  // namespace

std::string WindowsPath::ToString() const {
  std::string text{drive, ':'};
  if (components.empty()) return text + "\\";
  for (const auto& component : components) text += "\\" + component;
  return text;
}

bool HasWildcards(std::string_view name) {
  for (size_t i = 0; i < name.size(); i += Cp932CharLength(name, i)) {
    if (Cp932CharLength(name, i) == 1 && (name[i] == '*' || name[i] == '?')) return true;
  }
  return false;
}

uint32_t ParseWindowsPath(std::string_view path, const WindowsPath& current, bool wildcards,
                          WindowsPath& out) {
  out = WindowsPath{};
  if (path.empty()) return kErrorPathNotFound;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return kErrorPathNotFound;

  std::string_view rest = path;
  bool hasDrive = path.size() >= 2 && path[1] == ':' &&
                  ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  if (hasDrive) {
    out.drive = static_cast<char>(path[0] & ~0x20);
    rest = path.substr(2);
    if ((rest.empty() || !IsSeparator(rest[0])) && out.drive == current.drive) {
      out.components = current.components;
    }
  } else {
    if (current.drive == 0) return kErrorPathNotFound;
    out.drive = current.drive;
    if (!IsSeparator(rest[0])) out.components = current.components;
  }

  std::vector<std::string> parts = SplitCp932Path(rest);
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    bool last = i + 1 == parts.size();
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!out.components.empty()) out.components.pop_back();
      continue;
    }
    bool pattern = wildcards && last && HasWildcards(part);
    if (uint32_t rc = CheckName(part, wildcards && last); rc != kErrorSuccess) return rc;
    std::string name = pattern ? part : StripTrailingDotsAndBlanks(part);
    if (name.empty()) continue;
    out.components.push_back(std::move(name));
  }
  if (out.ToString().size() > kMaxPath) return kErrorFilenameExcedRange;
  return kErrorSuccess;
}

namespace {

bool MatchFrom(std::string_view p, std::string_view n) {
  while (!p.empty()) {
    if (p[0] == '*') {
      while (!p.empty() && p[0] == '*') p.remove_prefix(1);
      if (p.empty()) return true;
      for (size_t i = 0; i <= n.size(); i += (i < n.size() ? Cp932CharLength(n, i) : 1)) {
        if (MatchFrom(p, n.substr(i))) return true;
      }
      return false;
    }
    if (p[0] == '?' && (n.empty() || n[0] == '.')) {
      p.remove_prefix(1);  // DOS rule: a ? at a dot or at the end matches nothing
      continue;
    }
    if (n.empty()) return false;
    size_t nLen = Cp932CharLength(n, 0);
    if (p[0] == '?') {
      p.remove_prefix(1);
    } else {
      size_t pLen = Cp932CharLength(p, 0);
      if (pLen != nLen || p.substr(0, pLen) != n.substr(0, nLen)) return false;
      p.remove_prefix(pLen);
    }
    n.remove_prefix(nLen);
  }
  return n.empty();
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (MatchFrom(pattern, name)) return true;
  // DOS rule: "X.*" also matches a name without extension ("*.*" matches everything).
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*") {
    return name.find('.') == std::string_view::npos &&
           MatchFrom(pattern.substr(0, pattern.size() - 2), name);
  }
  return false;
}

}  // namespace korvane::posix
