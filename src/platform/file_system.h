// Files and folders of the machine, addressed by Windows paths in code page 932.
// Every operation reports the Windows error code the system would give; none throws.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace korvane {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  /// CopyFileA: streams source over target (overwriting unless failIfExists); 0 or the error code.
  virtual uint32_t CopyFile(const std::string& source, const std::string& target,
                            bool failIfExists) = 0;
  /// DeleteFileA: 0, or 2/3 when missing, 5 when read-only or a folder.
  virtual uint32_t DeleteFile(const std::string& path) = 0;
  /// GetFileAttributesA: 0 and the kAttr* bits, or the error code (attributes untouched).
  virtual uint32_t GetAttributes(const std::string& path, uint32_t& attributes) = 0;
  /// SetFileAttributesA: 0 or the error code.
  virtual uint32_t SetAttributes(const std::string& path, uint32_t attributes) = 0;
  /// FindFirstFileA/FindNextFileA over a pattern whose last component may hold * and ?:
  /// 0 with every entry (a folder's "." and ".." included), 2 when none matches, 3 when the
  /// folder is missing.
  virtual uint32_t FindFiles(const std::string& pattern, std::vector<FindData>& entries) = 0;
  /// CreateDirectoryA (one level): 0, 183 when it exists, 3 when the parent is missing.
  virtual uint32_t CreateDirectory(const std::string& path) = 0;
  /// RemoveDirectoryA: 0, 145 when not empty, 2/3 when missing, 267 when a file.
  virtual uint32_t RemoveDirectory(const std::string& path) = 0;
  /// SetCurrentDirectoryA: 0 or the error code.
  virtual uint32_t SetCurrentDirectory(const std::string& path) = 0;
  /// GetCurrentDirectoryA: the current folder; relative paths resolve against it.
  virtual std::string GetCurrentDirectory() = 0;
  /// Reads a whole file (small texts such as a readme): 0 and the bytes, or the error code.
  virtual uint32_t ReadWholeFile(const std::string& path, std::string& contents) = 0;
  /// Creates or replaces a file with the bytes given: 0 or the error code.
  virtual uint32_t WriteWholeFile(const std::string& path, const std::string& contents) = 0;
  /// GetLogicalDriveStringsA: the drive roots ("C:\\", ...) in letter order; empty on failure.
  virtual std::vector<std::string> LogicalDrives() = 0;
};

}  // namespace korvane
