// The work lists of the setup run: fixed-capacity lists numbered from 1, filled from the
// script's numbered keys with their macros unresolved.
#pragma once

#include <string>
#include <vector>

namespace korvane {

inline constexpr int kFolderListCapacity = 20;
inline constexpr int kFileListCapacity = 101;
inline constexpr int kShortcutListCapacity = 20;
inline constexpr int kRegistryListCapacity = 20;
inline constexpr int kRelateListCapacity = 5;
inline constexpr int kScriptDeleteRegistryCapacity = 20;

struct FileEntry {
  std::string SourcePath;
  std::string TargetPath;
  std::string Switches;
};

struct ShortcutEntry {
  std::string ShortcutTarget;
  std::string ShortcutName;
};

struct RegistryEntry {
  std::string KeySpec;
  std::string ValueName;
  std::string ValueSpec;
};

struct RelateEntry {
  std::string ExtensionSpec;
  std::string ProgramSpec;
};

// Index 0 of each vector is entry 1; the vector's size is the counter.
struct WorkLists {
  std::vector<std::string> FolderList;
  std::vector<FileEntry> FileList;
  std::vector<ShortcutEntry> ShortcutList;
  std::vector<RegistryEntry> RegistryList;
  std::vector<RelateEntry> RelateList;
  std::vector<std::string> ScriptDeleteRegistryList;
};

}  // namespace korvane
