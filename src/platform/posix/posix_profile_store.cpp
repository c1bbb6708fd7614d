// GetPrivateProfileStringA / WritePrivateProfileStringA over host files. A read never fails
// (the default answers every problem); a write replaces the whole file atomically or leaves
// it untouched.
#include "platform/posix/posix_profile_store.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/posix/posix_atomic_write.h"
#include "platform/posix/posix_cp932.h"
#include "platform/posix/posix_errors.h"
#include "platform/win_types.h"

namespace korvane::posix {
namespace {

constexpr size_t kMaxCachedFiles = 64;

bool SameTime(const struct timespec& a, const struct timespec& b) {
  return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool HasFolder(const std::string& file) {
  for (size_t i = 0; i < file.size(); i += Cp932CharLength(file, i)) {
    if (Cp932CharLength(file, i) == 1 && (file[i] == '\\' || file[i] == '/' || file[i] == ':')) {
      return true;
    }
  }
  return false;
}

// What the caller's buffer of `size` bytes receives: size-1 bytes at most, never half a
// double-byte character.
std::string Cut(std::string_view text, uint32_t size) {
  if (size == 0) return "";
  return std::string(Cp932Prefix(text, size - 1));
}

}  // namespace

std::string PosixProfileStore::FullPath(const std::string& file) const {
  return HasFolder(file) ? file : windowsFolder_ + "\\" + file;
}

void PosixProfileStore::Remember(const FileId& id, const struct stat& st,
                                 ProfileDocument document) {
  if (cache_.size() >= kMaxCachedFiles && !cache_.count(id)) cache_.clear();
  cache_[id] = CacheEntry{st.st_mtim, st.st_ctim, st.st_size, std::move(document)};
}

const ProfileDocument* PosixProfileStore::Load(const ResolvedPath& resolved) {
  UniqueFd file(
      openat(resolved.parent.get(), resolved.leaf.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  if (!file.valid()) return nullptr;
  struct stat st;
  if (fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode)) return nullptr;
  FileId id{st.st_dev, st.st_ino};
  auto it = cache_.find(id);
  if (it != cache_.end() && SameTime(it->second.mtime, st.st_mtim) &&
      SameTime(it->second.ctime, st.st_ctim) && it->second.size == st.st_size) {
    return &it->second.document;
  }
  std::string bytes;
  char buffer[1 << 16];
  while (true) {
    ssize_t n = read(file.get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return nullptr;
    }
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ++parseCount_;
  Remember(id, st, ProfileDocument::Parse(bytes));
  return &cache_[id].document;
}

std::string PosixProfileStore::GetString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue, uint32_t size,
                                         const std::string& file) {
  std::string_view fallback = defaultValue;
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  if (file.empty() || key.empty()) return Cut(fallback, size);
  ResolvedPath resolved;
  if (drives_.Resolve(FullPath(file), kResolveFollowLeaf, resolved) != kErrorSuccess ||
      !resolved.exists || resolved.IsDirectory()) {
    return Cut(fallback, size);
  }
  const ProfileDocument* document = Load(resolved);
  if (document == nullptr) return Cut(fallback, size);
  std::optional<std::string> value = document->Find(section, key);
  return value ? Cut(*value, size) : Cut(fallback, size);
}

bool PosixProfileStore::WriteString(const std::optional<std::string>& section,
                                    const std::optional<std::string>& key,
                                    const std::optional<std::string>& value,
                                    const std::string& file) {
  if (!section && !key && !value) {
    cache_.clear();  // the flush call; Windows reports it as FALSE
    return false;
  }
  auto fail = [this](uint32_t code) {
    lastError_ = code;
    return false;
  };
  if (file.empty()) return fail(kErrorPathNotFound);
  if (!section) return fail(kErrorInvalidParameter);
  ResolvedPath resolved;
  if (uint32_t rc = drives_.Resolve(FullPath(file), kResolveFollowLeaf, resolved)) return fail(rc);
  if (resolved.IsRoot() || resolved.IsDirectory()) return fail(kErrorAccessDenied);

  ProfileDocument document;
  if (resolved.exists) {
    const ProfileDocument* current = Load(resolved);
    if (current == nullptr) return fail(WinErrorFromErrno(errno));
    document = *current;
  }
  bool changed = !key     ? document.DeleteSection(*section)
                 : !value ? document.DeleteKey(*section, *key)
                          : document.Set(*section, *key, *value);
  if (!changed) return true;  // deleting what does not exist succeeds
  if (resolved.drive->readOnly) return fail(kErrorWriteProtect);
  if (resolved.exists && !(resolved.st.st_mode & S_IWUSR)) return fail(kErrorAccessDenied);

  std::string bytes = document.Serialize();
  uint32_t rc = ReplaceFileAtomically(resolved.parent.get(), resolved.leaf, bytes,
                                      resolved.exists ? &resolved.st : nullptr, resolved.hostPath);
  if (rc != kErrorSuccess) return fail(rc);
  struct stat st;
  if (fstatat(resolved.parent.get(), resolved.leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
    if (resolved.exists) cache_.erase(FileId{resolved.st.st_dev, resolved.st.st_ino});
    Remember(FileId{st.st_dev, st.st_ino}, st, std::move(document));
  }
  return true;
}

}  // namespace korvane::posix
