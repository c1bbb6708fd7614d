// ProfileStore over the machine's drives: reads served from parsed files cached by identity and
// change time, writes through ProfileDocument and an atomic replace. The cache belongs to
// this object; nothing is shared between machines.
#pragma once

#include <sys/stat.h>

#include <map>
#include <utility>

#include "platform/posix/posix_drive_map.h"
#include "platform/posix/posix_profile_document.h"
#include "platform/profile_store.h"

namespace korvane::posix {

class PosixProfileStore : public ProfileStore {
 public:
  PosixProfileStore(PosixDriveMap& drives, std::string windowsFolder)
      : drives_(drives), windowsFolder_(std::move(windowsFolder)) {}

  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& defaultValue, uint32_t size,
                        const std::string& file) override;
  bool WriteString(const std::optional<std::string>& section, const std::optional<std::string>& key,
                   const std::optional<std::string>& value, const std::string& file) override;
  uint32_t LastError() const override { return lastError_; }

  /// How many times a file was read and parsed (the cache's misses).
  size_t ParseCount() const { return parseCount_; }

 private:
  struct CacheEntry {
    struct timespec mtime {};
    struct timespec ctime {};
    off_t size = 0;
    ProfileDocument document;
  };
  using FileId = std::pair<dev_t, ino_t>;

  std::string FullPath(const std::string& file) const;
  // The parsed file, from the cache when unchanged on disk: nullptr when it cannot be read.
  const ProfileDocument* Load(const ResolvedPath& resolved);
  void Remember(const FileId& id, const struct stat& st, ProfileDocument document);

  PosixDriveMap& drives_;
  std::string windowsFolder_;
  std::map<FileId, CacheEntry> cache_;
  uint32_t lastError_ = 0;
  size_t parseCount_ = 0;
};

}  // namespace korvane::posix
