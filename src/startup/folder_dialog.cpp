// TFolderDialog: runs the machine's folder browser with the title and flags of its options
// and keeps the chosen folder's path. Cancelling changes nothing.
#include "startup/folder_dialog.h"

#include "framework/application.h"
#include "framework/folder_browser.h"
#include "script/text_routines.h"

namespace korvane {
namespace {

constexpr size_t kPathBufferChars = 261;

}  // namespace

uint32_t FolderDlgFlag(TFolderDlgOption option) {
  switch (option) {
    case TFolderDlgOption::bifBrowseForComputer:
      return 0x1000;
    case TFolderDlgOption::bifBrowseForPrinter:
      return 0x2000;
    case TFolderDlgOption::bifDontGoBelowDomain:
      return 0x2;
    case TFolderDlgOption::bifReturnFSAncestors:
      return 0x8;
    case TFolderDlgOption::bifReturnOnlyFSDirs:
      return 0x1;
    case TFolderDlgOption::bifStatusText:
      return 0x4;
  }
  return 0;
}

TFolderDialog::TFolderDialog(Application& application, FileSystem& files)
    : application_(application), files_(files) {}

uint32_t TFolderDialog::Flags() const {
  uint32_t flags = 0;
  for (TFolderDlgOption option : Option) flags |= FolderDlgFlag(option);
  return flags;
}

bool TFolderDialog::Execute() {
  const FolderBrowser browser(files_, Title, Flags());
  const std::optional<std::string> chosen = application_.BrowseForFolder(browser);
  if (!chosen) return false;
  std::string path = chosen->substr(0, chosen->find('\0'));
  if (path.size() > kPathBufferChars) path.resize(kPathBufferChars);
  // The system gives a folder without its trailing backslash, a drive root with it.
  if (path.size() == 2 && path[1] == ':') {
    path += '\\';
  } else if (path.size() > 3) {
    path = RemoveBackslash(path, kSideBack);
  }
  path_ = path;
  return true;
}

}  // namespace korvane
