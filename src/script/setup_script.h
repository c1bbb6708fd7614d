// The setup script's sections, keys, defaults and number ranges, and the splitting of its
// values into fields. What each field does belongs to the phase that uses it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvane {

// List ranges.
inline constexpr int kMakeFolderLast = 20;
inline constexpr int kCopyFileLast = 99;
inline constexpr int kShortCutLast = 20;
inline constexpr int kRegistryLast = 20;
inline constexpr int kRelateLast = 5;
inline constexpr int kDeleteRegistryLast = 20;
inline constexpr int kTopMessageLast = 5;

inline constexpr std::string_view kDiskChangeMark = "(Dch)";
inline constexpr std::string_view kAutoExtName = "AUTO.EXT";
inline constexpr std::string_view kRebootWord = "WINDOWS_REBOOT";

/// A numbered key: "File" and 3 give "File3".
std::string NumberedKey(std::string_view name, int number);

// A CopyFile value split into the three fields of a FileList entry.
struct CopyFileFields {
  std::string sourcePath;  // "(Dch)" mark first when the entry starts a new disk
  std::string targetPath;  // macros unresolved
  std::string switches;    // from the first comma on, comma included; or empty
};
CopyFileFields SplitCopyFile(std::string_view value, std::string_view programFolder);

// A ShortCut Name value split into place token, link name and working folder.
struct ShortcutNameFields {
  std::string placeToken;     // five bytes, "(Sta)" put in front when the name has none
  std::string linkName;       // from the sixth byte on
  std::string workingFolder;  // after the first comma, macros unresolved; or empty
};
ShortcutNameFields SplitShortcutName(std::string_view name);

// A Registry Key value split into root token and key path (backslashes trimmed once).
struct RegistryKeyFields {
  std::string rootToken;  // seven bytes; "(Cuser)" when the value has none
  std::string keyPath;
};
RegistryKeyFields SplitRegistryKey(std::string_view keySpec);

// A Registry Value value split into type token and data.
struct RegistryValueFields {
  std::string typeToken;  // the first five bytes
  std::string data;       // from the sixth byte on; the whole value when no type token
};
RegistryValueFields SplitRegistryValue(std::string_view valueSpec);

// A Relate Name value split into extension and description.
struct RelateNameFields {
  std::string extension;
  std::string description;  // extension + " File" without a comma
};
RelateNameFields SplitRelateName(std::string_view nameSpec);
/// A Relate File value with ",0" appended when it holds no comma.
std::string RelateIconLocation(std::string_view programSpec);
/// The program path of an icon location: the part before its first comma.
std::string RelateProgramPath(std::string_view iconLocation);

// An ExecuteFile value (macros resolved) split into file and parameters.
struct ExecuteFields {
  std::string file;
  std::string parameters;
};
ExecuteFields SplitExecuteFile(std::string_view value);

/// The system's integer conversion (StrToInt): blanks, sign, decimal or "$" hex; false when
/// the text is not an integer.
bool TryStrToInt(std::string_view text, int32_t& value);

}  // namespace korvane
