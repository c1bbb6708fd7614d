// The bytes of a shell link file (.lnk) in the published binary format: header, an item list
// of the target (My Computer, drive, one item per path component), the link information with
// the local path, and the working folder, every text in code page 932. Pure bytes: no file
// is touched here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane::posix {

// One component of the target's path below the drive root.
struct LinkPathItem {
  std::string name;  // code page 932
  bool folder = false;
  uint32_t size = 0;
  uint32_t dosDateTime = 0;  // DOS date (high word) and time (low word), 0 when unknown
  uint16_t attributes = 0;
};

struct ShellLinkData {
  std::string targetPath;           // full Windows path, code page 932
  std::string workingFolder;        // code page 932; empty writes no working folder
  std::string relativePath;         // from the link's folder to the target; empty writes none
  std::vector<LinkPathItem> items;  // the components after "X:\" (empty: no item list)
  // Facts about the target for the header (all 0 when it does not exist).
  uint32_t attributes = 0;
  uint32_t size = 0;
  uint64_t creationTime = 0;  // FILETIME: 100 ns since 1601-01-01 UTC
  uint64_t accessTime = 0;
  uint64_t writeTime = 0;
  uint32_t volumeSerial = 0;
};

/// The whole .lnk file (never fails).
std::string BuildShellLink(const ShellLinkData& data);

}  // namespace korvane::posix
