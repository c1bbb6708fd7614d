// The folder browser's model over the machine's file service: drive roots and the visible
// subfolders of a folder, for a front-end to render as a tree. Never touches the host.
#include "framework/folder_browser.h"

#include <algorithm>
#include <utility>

#include "platform/file_system.h"
#include "platform/win_types.h"

namespace korvane {
namespace {

bool IsLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// ASCII letters folded, double-byte characters compared as they are.
std::string FoldCase(const std::string& text) {
  std::string folded = text;
  for (size_t i = 0; i < folded.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(folded[i]);
    if (IsLead(b)) {
      ++i;
    } else if (b >= 'a' && b <= 'z') {
      folded[i] = static_cast<char>(b - 'a' + 'A');
    }
  }
  return folded;
}

bool EndsWithSeparator(const std::string& path) {
  if (path.empty() || path.back() != '\\') return false;
  // A 0x5C that is the second byte of a double-byte character is no separator.
  size_t i = 0;
  while (i < path.size() - 1) i += IsLead(static_cast<unsigned char>(path[i])) ? 2 : 1;
  return i == path.size() - 1;
}

}  // namespace

FolderBrowser::FolderBrowser(FileSystem& files, std::string title, uint32_t flags)
    : files_(files), title_(std::move(title)), flags_(flags) {}

std::vector<std::string> FolderBrowser::Drives() const {
  std::vector<std::string> drives = files_.LogicalDrives();
  std::stable_partition(drives.begin(), drives.end(),
                        [](const std::string& root) { return FoldCase(root) == "C:\\"; });
  return drives;
}

std::vector<std::string> FolderBrowser::Children(const std::string& folder) const {
  std::vector<FindData> entries;
  std::vector<std::string> names;
  if (files_.FindFiles(Join(folder, "*.*"), entries) != 0) return names;
  for (const FindData& entry : entries) {
    if ((entry.attributes & kAttrDirectory) == 0) continue;
    if ((entry.attributes & (kAttrHidden | kAttrSystem)) != 0) continue;
    if (entry.name == "." || entry.name == "..") continue;
    names.push_back(entry.name);
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return FoldCase(a) < FoldCase(b); });
  return names;
}

std::string FolderBrowser::Join(const std::string& folder, const std::string& child) {
  if (folder.empty()) return child;
  return EndsWithSeparator(folder) ? folder + child : folder + "\\" + child;
}

}  // namespace korvane
