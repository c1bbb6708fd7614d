// The folder browser's model: the machine's drives and folders (the Windows namespace, not
// the host's), listed through the file service. Front-ends render it as a tree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane {

class FileSystem;

class FolderBrowser {
 public:
  FolderBrowser(FileSystem& files, std::string title, uint32_t flags);

  const std::string& Title() const { return title_; }
  uint32_t Flags() const { return flags_; }
  /// The drive roots, "C:\" first.
  std::vector<std::string> Drives() const;
  /// The subfolders of a folder (names only, hidden and system folders left out), sorted
  /// without regard to case; empty when the folder cannot be listed.
  std::vector<std::string> Children(const std::string& folder) const;
  /// The Windows path of a child of a folder ("C:\" + "APPS" gives "C:\APPS").
  static std::string Join(const std::string& folder, const std::string& child);

 private:
  FileSystem& files_;
  std::string title_;
  uint32_t flags_;
};

}  // namespace korvane
