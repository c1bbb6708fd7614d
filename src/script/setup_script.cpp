// Splitting of setup script values into their fields, numbered key names, and the system's
// integer conversion. Pure text work: which field a phase acts on, and how, is the phase's.
// Separators are looked for as whole characters, never inside a double-byte character.
#include "script/setup_script.h"

#include <array>

#include "script/text_routines.h"

namespace korvane {

namespace {

constexpr std::string_view kStartMenuToken = "(Sta)";
constexpr std::string_view kCurrentUserToken = "(Cuser)";
constexpr std::array<std::string_view, 5> kTypeTokens = {"(Str)", "(Int)", "(Dwd)", "(Bin)",
                                                         "(Exp)"};

// Text before and after the first occurrence of c; after is empty when c is missing.
struct Cut {
  std::string_view before;
  std::string_view after;
  bool found = false;
};

Cut CutAt(std::string_view text, char c) {
  size_t pos = FindSingleByte(text, c);
  if (pos == std::string_view::npos) return {text, {}, false};
  return {text.substr(0, pos), text.substr(pos + 1), true};
}

bool EndsWithSingleByte(std::string_view text, char c) {
  return !text.empty() && text.back() == c && !IsTrailByteAt(text, text.size() - 1);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string NumberedKey(std::string_view name, int number) {
  return std::string(name) + std::to_string(number);
}

CopyFileFields SplitCopyFile(std::string_view value, std::string_view programFolder) {
  CopyFileFields fields;
  if (size_t comma = FindSingleByte(value, ','); comma != std::string_view::npos) {
    fields.switches = std::string(value.substr(comma));
    value = value.substr(0, comma);
  }
  const bool newDisk = value.substr(0, kDiskChangeMark.size()) == kDiskChangeMark;
  if (newDisk) value.remove_prefix(kDiskChangeMark.size());

  const Cut bar = CutAt(value, '|');
  if (bar.found) {
    value = bar.before;
    fields.targetPath =
        RemoveBackslash(FolderPart(value), kSideBack) + AddBackslash(bar.after, kSideFront);
  } else if (EndsWithSingleByte(value, '_')) {
    // A compressed source: the copy phase learns the expanded name from the file itself.
    fields.targetPath =
        RemoveBackslash(FolderPart(value), kSideBack) + "\\" + std::string(kAutoExtName);
  } else {
    fields.targetPath = std::string(value);
  }

  fields.sourcePath = newDisk ? std::string(kDiskChangeMark) : std::string();
  fields.sourcePath +=
      RemoveBackslash(programFolder, kSideBack) + AddBackslash(NamePart(value), kSideFront);
  return fields;
}

ShortcutNameFields SplitShortcutName(std::string_view name) {
  ShortcutNameFields fields;
  const Cut comma = CutAt(name, ',');
  fields.workingFolder = std::string(comma.after);
  std::string value(comma.before);
  const bool opens = !value.empty() && value[0] == '(';
  const bool closes = value.size() >= 5 && value[4] == ')';
  if (!opens && !closes) value = std::string(kStartMenuToken) + value;
  fields.placeToken = LeftPart(value, 5);
  fields.linkName = value.size() > 5 ? value.substr(5) : std::string();
  return fields;
}

RegistryKeyFields SplitRegistryKey(std::string_view keySpec) {
  RegistryKeyFields fields;
  const bool opens = !keySpec.empty() && keySpec[0] == '(';
  const bool closes = keySpec.size() >= 7 && keySpec[6] == ')';
  std::string_view path = keySpec;
  if (opens || closes) {
    fields.rootToken = LeftPart(keySpec, 7);
    path = keySpec.size() > 7 ? keySpec.substr(7) : std::string_view();
  } else {
    fields.rootToken = std::string(kCurrentUserToken);
  }
  fields.keyPath = RemoveBackslash(RemoveBackslash(path, kSideFront), kSideBack);
  return fields;
}

RegistryValueFields SplitRegistryValue(std::string_view valueSpec) {
  RegistryValueFields fields;
  fields.typeToken = LeftPart(valueSpec, 5);
  for (std::string_view token : kTypeTokens) {
    if (fields.typeToken == token) {
      fields.data = std::string(valueSpec.substr(5));
      return fields;
    }
  }
  fields.data = std::string(valueSpec);
  return fields;
}

RelateNameFields SplitRelateName(std::string_view nameSpec) {
  const Cut comma = CutAt(nameSpec, ',');
  RelateNameFields fields;
  fields.extension = std::string(comma.before);
  fields.description = comma.found ? std::string(comma.after) : fields.extension + " File";
  return fields;
}

std::string RelateIconLocation(std::string_view programSpec) {
  if (CutAt(programSpec, ',').found) return std::string(programSpec);
  return std::string(programSpec) + ",0";
}

std::string RelateProgramPath(std::string_view iconLocation) {
  return std::string(CutAt(iconLocation, ',').before);
}

ExecuteFields SplitExecuteFile(std::string_view value) {
  const Cut comma = CutAt(value, ',');
  return {std::string(comma.before), std::string(comma.after)};
}

bool TryStrToInt(std::string_view text, int32_t& value) {
  size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  if (pos == text.size()) return false;

  if (text[pos] == '$') {
    std::string_view digits = text.substr(pos + 1);
    if (digits.empty() || digits.size() > 8) return false;
    uint32_t pattern = 0;
    for (char c : digits) {
      int digit = HexDigit(c);
      if (digit < 0) return false;
      pattern = (pattern << 4) | static_cast<uint32_t>(digit);
    }
    value = static_cast<int32_t>(pattern);
    return true;
  }

  bool negative = false;
  if (text[pos] == '+' || text[pos] == '-') {
    negative = text[pos] == '-';
    ++pos;
  }
  std::string_view digits = text.substr(pos);
  if (digits.empty()) return false;
  // One more than the largest positive value is allowed for the negative limit.
  const uint64_t limit = negative ? 2147483648ULL : 2147483647ULL;
  uint64_t magnitude = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + static_cast<uint64_t>(c - '0');
    if (magnitude > limit) return false;
  }
  value = negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude))
                   : static_cast<int32_t>(magnitude);
  return true;
}

}  // namespace korvane
