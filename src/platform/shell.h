// The Windows shell: special folders, shell links, opening files, restart requests and
// change notifications.
#pragma once

#include <cstdint>
#include <string>

namespace korvane {

class Shell {
 public:
  virtual ~Shell() = default;

  /// SHGetSpecialFolderLocation + SHGetPathFromIDListA: false when the folder is unknown.
  virtual bool GetSpecialFolderPath(int csidl, std::string& path) = 0;
  /// The shell link object (IShellLinkA SetPath/SetWorkingDirectory, IPersistFile Save):
  /// false when the object cannot be made; a failed save is 0 with the file missing.
  virtual bool CreateShellLink(const std::string& linkPath, const std::string& target,
                               const std::string& workingFolder) = 0;
  /// ShellExecuteA "open" without working folder, shown normally: 32 or more on success.
  virtual int32_t ShellExecute(const std::string& file, const std::string& parameters) = 0;
  /// Records that the user agreed to restart Windows (the restart is the system's to do).
  virtual void RequestRestart() = 0;
  /// SHChangeNotify with no items (never fails).
  virtual void ChangeNotify(uint32_t event) = 0;
};

}  // namespace korvane
