// FileSystem over the machine's drives: every operation resolves its Windows path through the
// drive map (confined, case-insensitive) and reports the Windows error code. Holds no state of
// its own beyond the drive map it is given.
#pragma once

#include "platform/file_system.h"
#include "platform/posix/posix_drive_map.h"

namespace korvane::posix {

class PosixFileSystem : public FileSystem {
 public:
  explicit PosixFileSystem(PosixDriveMap& drives) : drives_(drives) {}

  uint32_t CopyFile(const std::string& source, const std::string& target,
                    bool failIfExists) override;
  uint32_t DeleteFile(const std::string& path) override;
  uint32_t GetAttributes(const std::string& path, uint32_t& attributes) override;
  uint32_t SetAttributes(const std::string& path, uint32_t attributes) override;
  uint32_t FindFiles(const std::string& pattern, std::vector<FindData>& entries) override;
  uint32_t CreateDirectory(const std::string& path) override;
  uint32_t RemoveDirectory(const std::string& path) override;
  uint32_t SetCurrentDirectory(const std::string& path) override;
  std::string GetCurrentDirectory() override;
  uint32_t ReadWholeFile(const std::string& path, std::string& contents) override;
  uint32_t WriteWholeFile(const std::string& path, const std::string& contents) override;
  std::vector<std::string> LogicalDrives() override;

 private:
  PosixDriveMap& drives_;
};

}  // namespace korvane::posix
