// TFolderDialog: a non-visual component that lets the user pick a folder in the folder
// browser and keeps its path.
#pragma once

#include <cstdint>
#include <set>
#include <string>

namespace korvane {

class Application;
class FileSystem;

enum class TFolderDlgOption {
  bifBrowseForComputer,
  bifBrowseForPrinter,
  bifDontGoBelowDomain,
  bifReturnFSAncestors,
  bifReturnOnlyFSDirs,
  bifStatusText,
};
using TFolderDlgOptions = std::set<TFolderDlgOption>;

/// The browser flag of an option (BIF_* value).
uint32_t FolderDlgFlag(TFolderDlgOption option);

class TFolderDialog {
 public:
  TFolderDialog(Application& application, FileSystem& files);

  std::string Title;
  TFolderDlgOptions Option{TFolderDlgOption::bifReturnOnlyFSDirs};
  /// The folder chosen in the last successful Execute; empty before.
  const std::string& Path() const { return path_; }
  /// The flags passed to the browser: the OR of the options' flags.
  uint32_t Flags() const;
  /// Shows the browser: true and Path set when the user chose a folder, false on cancel.
  bool Execute();

 private:
  Application& application_;
  FileSystem& files_;
  std::string path_;
};

}  // namespace korvane
