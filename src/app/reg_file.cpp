// The regedit text format: export of a key tree as REGEDIT4 (UTF-8, sorted, one value per
// line) and import of REGEDIT4 or version 5 files. An import is read completely before the
// first change, so a file with a bad line changes nothing.
#include "app/reg_file.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/encoding.h"
#include "platform/registry_fold.h"

namespace korvane {
namespace {

constexpr std::string_view kRegedit4 = "REGEDIT4";
constexpr std::string_view kRegedit5 = "Windows Registry Editor Version 5.00";

struct RootName {
  const char* name;
  const char* abbreviation;
  RootKey root;
};
constexpr RootName kRoots[] = {
    {"HKEY_CLASSES_ROOT", "HKCR", RootKey::ClassesRoot},
    {"HKEY_CURRENT_USER", "HKCU", RootKey::CurrentUser},
    {"HKEY_LOCAL_MACHINE", "HKLM", RootKey::LocalMachine},
    {"HKEY_USERS", "HKU", RootKey::Users},
};

// Splits a key path (code page 932) at its backslashes, dropping empty components.
std::vector<std::string> SplitKey(const std::string& path) {
  std::vector<std::string> parts;
  std::string current;
  for (size_t i = 0; i < path.size(); ++i) {
    auto b = static_cast<unsigned char>(path[i]);
    if (IsCp932LeadByte(b) && i + 1 < path.size()) {
      current += path[i];
      current += path[++i];
    } else if (b == '\\') {
      if (!current.empty()) parts.push_back(std::move(current));
      current.clear();
    } else {
      current += path[i];
    }
  }
  if (!current.empty()) parts.push_back(std::move(current));
  return parts;
}

std::string JoinKey(const std::vector<std::string>& parts) {
  std::string out;
  for (const auto& part : parts) out += (out.empty() ? "" : "\\") + part;
  return out;
}

// "HKEY_...\path": the root, the path below it and the root's full name; nullopt when the
// text names no known root.
struct KeyName {
  RootKey root;
  std::string rootName;
  std::string path;  // code page 932
};
std::optional<KeyName> ParseKeyName(const std::string& cp932) {
  std::string first = cp932.substr(0, cp932.find('\\'));
  std::string rest = first.size() < cp932.size() ? cp932.substr(first.size() + 1) : "";
  std::string folded = FoldRegistryName(first);
  for (const auto& r : kRoots) {
    if (folded == r.name || folded == r.abbreviation) {
      return KeyName{r.root, r.name, JoinKey(SplitKey(rest))};
    }
  }
  return std::nullopt;
}

std::optional<std::string> Utf16LeToUtf8(std::string_view bytes) {
  if (bytes.size() % 2 != 0) return std::nullopt;
  iconv_t cd = ::iconv_open("UTF-8", "UTF-16LE");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(bytes.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  size_t rc = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  ::iconv_close(cd);
  if (rc == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
  out.resize(out.size() - outLeft);
  return out;
}

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    auto c = static_cast<unsigned char>(s[i]);
    size_t n = 0;
    if (c < 0x80) {
      n = 0;
    } else if (c >= 0xC2 && c <= 0xDF) {
      n = 1;
    } else if ((c & 0xF0) == 0xE0) {
      n = 2;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3;
    } else {
      return false;
    }
    if (s.size() - i <= n) return false;
    for (size_t k = 1; k <= n; ++k) {
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += n + 1;
  }
  return true;
}

// ---- export ----

std::string Hex(const std::string& data) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (size_t i = 0; i < data.size(); ++i) {
    auto b = static_cast<unsigned char>(data[i]);
    if (i > 0) out += ',';
    out += kDigits[b >> 4];
    out += kDigits[b & 0xF];
  }
  return out;
}

std::string Quote(const std::string& utf8) {
  std::string out = "\"";
  for (char c : utf8) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

// A REG_SZ that prints as a quoted string: its text before the one closing zero byte, when it
// has no other zero byte or line break and is valid code page 932.
std::optional<std::string> StringText(const std::string& data) {
  std::string text = data;
  if (!text.empty() && text.back() == '\0') text.pop_back();
  for (char c : text) {
    if (c == '\0' || c == '\r' || c == '\n') return std::nullopt;
  }
  return Cp932ToUtf8(text);
}

std::string ValueLine(const RegistryValue& value) {
  std::string line = value.name.empty() ? "@" : Quote(Cp932ToUtf8Lossy(value.name));
  line += '=';
  if (value.type == kRegSz) {
    if (auto text = StringText(value.data)) return line + Quote(*text);
  }
  if (value.type == kRegDword && value.data.size() == 4) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(value.data[i]);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "dword:%08x", v);
    return line + buffer;
  }
  if (value.type == kRegBinary) return line + "hex:" + Hex(value.data);
  char type[24];
  std::snprintf(type, sizeof type, "hex(%x):", value.type);
  return line + type + Hex(value.data);
}

void ExportTree(Registry& registry, RootKey root, const std::string& path, const std::string& shown,
                std::string& out) {
  out += "[" + Cp932ToUtf8Lossy(shown) + "]\n";
  std::vector<RegistryValue> values;
  if (registry.EnumValues(root, path, values) == 0) {
    for (const auto& value : values) out += ValueLine(value) + "\n";
  }
  out += "\n";
  std::vector<std::string> keys;
  if (registry.EnumKeys(root, path, keys) != 0) return;
  for (const auto& key : keys) {
    ExportTree(registry, root, path.empty() ? key : path + "\\" + key, shown + "\\" + key, out);
  }
}

// The stored spelling of each component of an existing path.
std::string StoredPath(Registry& registry, RootKey root, const std::string& path) {
  std::string stored;
  for (const auto& part : SplitKey(path)) {
    std::vector<std::string> keys;
    std::string name = part;
    if (registry.EnumKeys(root, stored, keys) == 0) {
      std::string folded = FoldRegistryName(part);
      for (const auto& key : keys) {
        if (FoldRegistryName(key) == folded) name = key;
      }
    }
    stored += (stored.empty() ? "" : "\\") + name;
  }
  return stored;
}

// ---- import ----

struct Change {
  enum Kind { kCreateKey, kDeleteKey, kSetValue, kDeleteValue } kind = kCreateKey;
  int line = 0;
  RootKey root = RootKey::CurrentUser;
  std::string path;
  std::string name;
  uint32_t type = 0;
  std::string data;
};

std::string Trim(std::string_view s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string_view::npos) return "";
  size_t e = s.find_last_not_of(" \t");
  return std::string(s.substr(b, e - b + 1));
}

// Reads a quoted text starting at s[pos] == '"': the unescaped text and the position after
// the closing quote; nullopt when it does not close.
std::optional<std::string> ReadQuoted(const std::string& s, size_t& pos) {
  std::string out;
  for (size_t i = pos + 1; i < s.size(); ++i) {
    char c = s[i];
    if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
      out += s[++i];
    } else if (c == '"') {
      pos = i + 1;
      return out;
    } else {
      out += c;
    }
  }
  return std::nullopt;
}

std::optional<std::string> ParseHexBytes(const std::string& text) {
  std::string out;
  std::string item;
  auto flush = [&]() -> bool {
    std::string t = Trim(item);
    item.clear();
    if (t.empty() || t.size() > 2) return false;
    unsigned value = 0;
    for (char c : t) {
      int d = (c >= '0' && c <= '9')   ? c - '0'
              : (c >= 'a' && c <= 'f') ? c - 'a' + 10
              : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                       : -1;
      if (d < 0) return false;
      value = value * 16 + static_cast<unsigned>(d);
    }
    out += static_cast<char>(value);
    return true;
  };
  if (Trim(text).empty()) return out;
  for (char c : text) {
    if (c == ',') {
      if (!flush()) return std::nullopt;
    } else {
      item += c;
    }
  }
  if (!flush()) return std::nullopt;
  return out;
}

std::optional<uint32_t> ParseHexNumber(const std::string& text, size_t maxDigits) {
  std::string t = Trim(text);
  if (t.empty() || t.size() > maxDigits) return std::nullopt;
  uint32_t v = 0;
  for (char c : t) {
    int d = (c >= '0' && c <= '9')   ? c - '0'
            : (c >= 'a' && c <= 'f') ? c - 'a' + 10
            : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                     : -1;
    if (d < 0) return std::nullopt;
    v = v * 16 + static_cast<uint32_t>(d);
  }
  return v;
}

class Parser {
 public:
  Parser(bool unicodeHex) : unicodeHex_(unicodeHex) {}

  // One logical line; false with error set when it cannot be read.
  bool Line(int number, const std::string& raw, std::vector<Change>& changes, std::string& error) {
    std::string line = Trim(raw);
    if (line.empty() || line[0] == ';') return true;
    auto fail = [&](const std::string& why) {
      error = "line " + std::to_string(number) + ": " + why;
      return false;
    };
    if (line[0] == '[') {
      if (line.back() != ']') return fail("a key line must end in ]");
      std::string name = line.substr(1, line.size() - 2);
      bool remove = !name.empty() && name[0] == '-';
      if (remove) name.erase(0, 1);
      auto cp932 = Utf8ToCp932(Trim(name));
      if (!cp932) return fail("the key name has no code page 932 form");
      auto key = ParseKeyName(*cp932);
      if (!key) return fail("unknown root key in " + name);
      Change change;
      change.kind = remove ? Change::kDeleteKey : Change::kCreateKey;
      change.line = number;
      change.root = key->root;
      change.path = key->path;
      changes.push_back(std::move(change));
      haveKey_ = !remove;
      root_ = key->root;
      path_ = key->path;
      return true;
    }
    std::string name;
    size_t pos = 0;
    if (line[0] == '@') {
      pos = 1;
    } else if (line[0] == '"') {
      auto quoted = ReadQuoted(line, pos);
      if (!quoted) return fail("the value name does not end in \"");
      auto cp932 = Utf8ToCp932(*quoted);
      if (!cp932) return fail("the value name has no code page 932 form");
      name = *cp932;
    } else {
      return fail("neither a key nor a value");
    }
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos >= line.size() || line[pos] != '=') return fail("= expected after the value name");
    std::string data = Trim(std::string_view(line).substr(pos + 1));
    if (!haveKey_) return fail("a value outside of a key");

    Change change;
    change.kind = Change::kSetValue;
    change.line = number;
    change.root = root_;
    change.path = path_;
    change.name = name;
    if (data == "-") {
      change.kind = Change::kDeleteValue;
    } else if (!data.empty() && data[0] == '"') {
      size_t end = 0;
      auto text = ReadQuoted(data, end);
      if (!text || end != data.size()) return fail("the string does not end in \"");
      auto cp932 = Utf8ToCp932(*text);
      if (!cp932) return fail("the string has no code page 932 form");
      change.type = kRegSz;
      change.data = *cp932 + '\0';
    } else if (data.rfind("dword:", 0) == 0) {
      auto v = ParseHexNumber(data.substr(6), 8);
      if (!v) return fail("dword: needs one to eight hex digits");
      change.type = kRegDword;
      for (int i = 0; i < 4; ++i) change.data += static_cast<char>((*v >> (8 * i)) & 0xFF);
    } else if (data.rfind("hex", 0) == 0) {
      size_t colon = data.find(':');
      if (colon == std::string::npos) return fail("hex data needs a colon");
      std::string kind = data.substr(3, colon - 3);
      change.type = kRegBinary;
      if (!kind.empty()) {
        if (kind.size() < 3 || kind.front() != '(' || kind.back() != ')') {
          return fail("hex(type): expected");
        }
        auto type = ParseHexNumber(kind.substr(1, kind.size() - 2), 8);
        if (!type) return fail("hex(type): expected");
        change.type = *type;
      }
      auto bytes = ParseHexBytes(data.substr(colon + 1));
      if (!bytes) return fail("hex bytes must be two hex digits separated by commas");
      change.data = *bytes;
      bool text =
          change.type == kRegSz || change.type == kRegExpandSz || change.type == kRegMultiSz;
      if (unicodeHex_ && text) {
        auto utf8 = Utf16LeToUtf8(change.data);
        auto cp932 = utf8 ? Utf8ToCp932(*utf8) : std::nullopt;
        if (!cp932) return fail("the UTF-16 text has no code page 932 form");
        change.data = *cp932;
      }
    } else {
      return fail("unknown value data: " + data);
    }
    changes.push_back(std::move(change));
    return true;
  }

 private:
  bool unicodeHex_;
  bool haveKey_ = false;
  RootKey root_ = RootKey::CurrentUser;
  std::string path_;
};

// The file as UTF-8 text: nullopt when it is neither UTF-16LE with a byte-order mark, UTF-8,
// nor code page 932.
std::optional<std::string> DecodeFile(const std::string& bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    return Utf16LeToUtf8(std::string_view(bytes).substr(2));
  }
  std::string_view text = bytes;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (IsValidUtf8(text)) return std::string(text);
  return Cp932ToUtf8(text);
}

}  // namespace

bool ExportRegistry(Registry& registry, const std::string& keyUtf8, std::string& outUtf8,
                    std::string& errorUtf8) {
  std::string out = std::string(kRegedit4) + "\n\n";
  if (keyUtf8.empty()) {
    for (const auto& r : kRoots) {
      if (r.root == RootKey::ClassesRoot) continue;  // shown below the machine key
      ExportTree(registry, r.root, "", r.name, out);
    }
    outUtf8 = std::move(out);
    return true;
  }
  auto cp932 = Utf8ToCp932(keyUtf8);
  auto key = cp932 ? ParseKeyName(*cp932) : std::nullopt;
  if (!key) {
    errorUtf8 = "not a registry key: " + keyUtf8;
    return false;
  }
  if (registry.OpenKey(key->root, key->path) != 0) {
    errorUtf8 = "no such registry key: " + keyUtf8;
    return false;
  }
  std::string stored = StoredPath(registry, key->root, key->path);
  std::string shown = stored.empty() ? key->rootName : key->rootName + "\\" + stored;
  ExportTree(registry, key->root, stored, shown, out);
  outUtf8 = std::move(out);
  return true;
}

bool ImportRegistry(Registry& registry, const std::string& fileBytes, std::string& errorUtf8) {
  auto text = DecodeFile(fileBytes);
  if (!text) {
    errorUtf8 = "the file is neither UTF-16, UTF-8 nor code page 932 text";
    return false;
  }
  // Physical lines, then logical lines (a line ending in a backslash goes on).
  std::vector<std::pair<int, std::string>> lines;
  int number = 0;
  bool continues = false;
  size_t start = 0;
  while (start <= text->size()) {
    size_t end = text->find('\n', start);
    if (end == std::string::npos) end = text->size();
    std::string line = text->substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string trimmed = Trim(line);
    if (continues) {
      lines.back().second += trimmed;
    } else {
      lines.emplace_back(number, trimmed);
    }
    continues = !lines.back().second.empty() && lines.back().second.back() == '\\' &&
                lines.back().second.front() != '[';
    if (continues) lines.back().second.pop_back();
  }

  size_t first = 0;
  while (first < lines.size() && lines[first].second.empty()) ++first;
  if (first == lines.size() ||
      (lines[first].second != kRegedit4 && lines[first].second != kRegedit5)) {
    errorUtf8 = "not a registry file: the first line must be REGEDIT4 or " + std::string(kRegedit5);
    return false;
  }
  Parser parser(lines[first].second == kRegedit5);
  std::vector<Change> changes;
  for (size_t i = first + 1; i < lines.size(); ++i) {
    if (!parser.Line(lines[i].first, lines[i].second, changes, errorUtf8)) return false;
  }

  for (const auto& change : changes) {
    uint32_t result = 0;
    switch (change.kind) {
      case Change::kCreateKey:
        result = registry.CreateKey(change.root, change.path);
        break;
      case Change::kDeleteKey:
        result = registry.DeleteKeyTree(change.root, change.path);
        if (result == kErrorFileNotFound) result = 0;
        break;
      case Change::kSetValue:
        result = registry.SetValue(change.root, change.path, change.name, change.type, change.data);
        break;
      case Change::kDeleteValue:
        result = registry.DeleteValue(change.root, change.path, change.name);
        if (result == kErrorFileNotFound) result = 0;
        break;
    }
    if (result != 0) {
      errorUtf8 = "line " + std::to_string(change.line) +
                  ": the registry refused the change (error " + std::to_string(result) + ")";
      return false;
    }
  }
  return true;
}

}  // namespace korvane
