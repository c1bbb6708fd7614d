// The file and folder operations of the machine, each returning what the system's call gives.
// Read-only files are refused here (not left to the host) so that root sees them too; a
// read-only drive refuses every change with 19.
#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/encoding.h"
#include "platform/posix/posix_cp932.h"
#include "platform/posix/posix_errors.h"
#include "platform/posix/posix_file_attributes.h"
#include "platform/win_types.h"

namespace korvane::posix {
namespace {

bool IsReadOnlyFile(const struct stat& st) {
  return !S_ISDIR(st.st_mode) && !(st.st_mode & S_IWUSR);
}

FindData MakeFindData(const std::string& name, const std::string& hostPath, const struct stat& st) {
  FindData data;
  data.name = name;
  data.attributes = ReadDosAttributes(hostPath, st);
  data.size = S_ISDIR(st.st_mode) ? 0 : static_cast<uint64_t>(st.st_size);
  data.lastWriteDos = DosDateTime(st.st_mtime);
  return data;
}

// Streams src to dst: copy_file_range where the kernel can, read/write otherwise.
uint32_t StreamCopy(int src, int dst) {
  bool useRange = true;
  while (true) {
    if (useRange) {
      ssize_t n = copy_file_range(src, nullptr, dst, nullptr, size_t{1} << 30, 0);
      if (n > 0) continue;
      if (n == 0) return kErrorSuccess;
      if (errno == EINTR) continue;
      if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP) {
        return WinErrorFromErrno(errno);
      }
      useRange = false;  // offsets moved only by what was copied; go on from there
    }
    char buffer[1 << 16];
    ssize_t n = read(src, buffer, sizeof buffer);
    if (n == 0) return kErrorSuccess;
    if (n < 0) {
      if (errno == EINTR) continue;
      return WinErrorFromErrno(errno);
    }
    for (ssize_t done = 0; done < n;) {
      ssize_t w = write(dst, buffer + done, static_cast<size_t>(n - done));
      if (w < 0) {
        if (errno == EINTR) continue;
        return WinErrorFromErrno(errno);
      }
      done += w;
    }
  }
}

bool SameFolderOrInside(const WindowsPath& inner, const WindowsPath& outer) {
  if (inner.drive != outer.drive || inner.components.size() < outer.components.size()) {
    return false;
  }
  for (size_t i = 0; i < outer.components.size(); ++i) {
    if (Cp932Upper(inner.components[i]) != Cp932Upper(outer.components[i])) return false;
  }
  return true;
}

}  // namespace

uint32_t PosixFileSystem::CopyFile(const std::string& source, const std::string& target,
                                   bool failIfExists) {
  ResolvedPath from;
  if (uint32_t rc = drives_.Resolve(source, kResolveFollowLeaf, from)) return rc;
  if (!from.exists) return kErrorFileNotFound;
  if (from.IsDirectory()) return kErrorAccessDenied;
  ResolvedPath to;
  if (uint32_t rc = drives_.Resolve(target, kResolveFollowLeaf, to)) return rc;
  if (to.exists) {
    if (to.IsRoot() || to.IsDirectory()) return kErrorAccessDenied;
    if (failIfExists) return kErrorFileExists;
    if (to.st.st_dev == from.st.st_dev && to.st.st_ino == from.st.st_ino) {
      return kErrorSharingViolation;  // the source is open for reading while it would be written
    }
  }
  if (to.drive->readOnly) return kErrorWriteProtect;
  if (to.exists && IsReadOnlyFile(to.st)) return kErrorAccessDenied;

  UniqueFd in(openat(from.parent.get(), from.leaf.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
  if (!in.valid()) return WinErrorFromErrno(errno);
  struct stat sourceStat;
  if (fstat(in.get(), &sourceStat) != 0) return WinErrorFromErrno(errno);
  int flags = O_WRONLY | O_NOFOLLOW | O_CLOEXEC | (to.exists ? O_TRUNC : O_CREAT | O_EXCL);
  UniqueFd out(openat(to.parent.get(), to.leaf.c_str(), flags, 0600));
  if (!out.valid()) return WinErrorFromErrno(errno);

  uint32_t rc = StreamCopy(in.get(), out.get());
  if (rc == kErrorSuccess) {
    // CopyFileA keeps the last-write time and the attributes of the source.
    struct timespec times[2] = {{0, UTIME_NOW}, sourceStat.st_mtim};
    if (futimens(out.get(), times) != 0 || fchmod(out.get(), sourceStat.st_mode & 0777) != 0) {
      rc = WinErrorFromErrno(errno);
    }
  }
  if (rc == kErrorSuccess && close(out.Release()) != 0) rc = WinErrorFromErrno(errno);
  if (rc != kErrorSuccess) {
    out.Reset();
    unlinkat(to.parent.get(), to.leaf.c_str(), 0);  // no half-copied target stays behind
    return rc;
  }
  struct stat targetStat;
  if (fstatat(to.parent.get(), to.leaf.c_str(), &targetStat, AT_SYMLINK_NOFOLLOW) == 0) {
    uint32_t attributes = ReadDosAttributes(from.hostPath, sourceStat) | kAttrArchive;
    WriteDosAttributes(to.hostPath, targetStat, attributes);
  }
  return kErrorSuccess;
}

uint32_t PosixFileSystem::DeleteFile(const std::string& path) {
  ResolvedPath resolved;
  if (uint32_t rc = drives_.Resolve(path, 0, resolved)) return rc;
  if (!resolved.exists) return kErrorFileNotFound;
  if (resolved.IsRoot() || resolved.IsDirectory()) return kErrorAccessDenied;
  if (resolved.drive->readOnly) return kErrorWriteProtect;
  if (!S_ISLNK(resolved.st.st_mode) && IsReadOnlyFile(resolved.st)) return kErrorAccessDenied;
  if (unlinkat(resolved.parent.get(), resolved.leaf.c_str(), 0) != 0) {
    return WinErrorFromErrno(errno);
  }
  return kErrorSuccess;
}

uint32_t PosixFileSystem::GetAttributes(const std::string& path, uint32_t& attributes) {
  ResolvedPath resolved;
  if (uint32_t rc = drives_.Resolve(path, kResolveFollowLeaf, resolved)) return rc;
  if (!resolved.exists) return kErrorFileNotFound;
  attributes =
      resolved.IsRoot() ? kAttrDirectory : ReadDosAttributes(resolved.hostPath, resolved.st);
  return kErrorSuccess;
}

uint32_t PosixFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  ResolvedPath resolved;
  if (uint32_t rc = drives_.Resolve(path, kResolveFollowLeaf, resolved)) return rc;
  if (!resolved.exists) return kErrorFileNotFound;
  if (resolved.drive->readOnly) return kErrorWriteProtect;
  if (resolved.IsRoot()) return kErrorSuccess;
  return WriteDosAttributes(resolved.hostPath, resolved.st, attributes);
}

uint32_t PosixFileSystem::FindFiles(const std::string& pattern, std::vector<FindData>& entries) {
  entries.clear();
  WindowsPath parsed;
  if (uint32_t rc = ParseWindowsPath(pattern, drives_.current(), true, parsed)) return rc;
  if (parsed.components.empty()) return kErrorFileNotFound;  // a drive root is no entry
  std::string last = parsed.components.back();
  WindowsPath folderPath = parsed;
  folderPath.components.pop_back();

  ResolvedPath folder;
  if (uint32_t rc = drives_.ResolveParsed(folderPath, kResolveFollowLeaf, folder)) return rc;
  if (!folder.IsDirectory()) return kErrorPathNotFound;

  if (!HasWildcards(last)) {
    // One name: look it up (without regard to case) instead of listing the folder.
    ResolvedPath entry;
    if (uint32_t rc = drives_.ResolveParsed(parsed, 0, entry)) return rc;
    if (!entry.exists) return kErrorFileNotFound;
    struct stat st;
    if (!drives_.StatEntry(folder, entry.leaf, st)) return kErrorFileNotFound;
    std::optional<std::string> name = Utf8ToCp932(entry.leaf);
    if (!name) return kErrorFileNotFound;
    entries.push_back(MakeFindData(*name, entry.hostPath, st));
    return kErrorSuccess;
  }

  int listFd = OpenDirectoryForListing(folder);
  if (listFd < 0) return WinErrorFromErrno(errno);
  DIR* dir = fdopendir(listFd);
  if (dir == nullptr) {
    close(listFd);
    return WinErrorFromErrno(errno);
  }
  std::string key = Cp932Upper(last);
  bool isRoot = folder.IsRoot();
  std::vector<FindData> found;
  while (dirent* entry = readdir(dir)) {
    std::string hostName = entry->d_name;
    bool dots = hostName == "." || hostName == "..";
    if (dots && isRoot) continue;  // a drive root has no "." and ".."
    std::optional<std::string> name = Utf8ToCp932(hostName);
    if (!name || !WildcardMatch(key, Cp932Upper(*name))) continue;
    struct stat st;
    if (hostName == ".") {
      st = folder.st;
    } else if (hostName == "..") {
      if (fstat(folder.parent.get(), &st) != 0) continue;
    } else if (!drives_.StatEntry(folder, dirfd(dir), hostName, st)) {
      continue;  // a link that leaves the drive or leads nowhere
    }
    std::string hostPath = dots ? folder.hostPath : folder.hostPath + "/" + hostName;
    found.push_back(MakeFindData(*name, hostPath, st));
  }
  closedir(dir);
  if (found.empty()) return kErrorFileNotFound;
  std::sort(found.begin(), found.end(), [](const FindData& a, const FindData& b) {
    bool aDots = a.name == "." || a.name == "..";
    bool bDots = b.name == "." || b.name == "..";
    if (aDots != bDots) return aDots;
    std::string ua = Cp932Upper(a.name), ub = Cp932Upper(b.name);
    return ua != ub ? ua < ub : a.name < b.name;
  });
  entries = std::move(found);
  return kErrorSuccess;
}

uint32_t PosixFileSystem::CreateDirectory(const std::string& path) {
  ResolvedPath resolved;
  if (uint32_t rc = drives_.Resolve(path, 0, resolved)) return rc;
  if (resolved.exists) return kErrorAlreadyExists;
  if (resolved.drive->readOnly) return kErrorWriteProtect;
  if (mkdirat(resolved.parent.get(), resolved.leaf.c_str(), 0777) != 0) {
    return WinErrorFromErrno(errno);
  }
  return kErrorSuccess;
}

uint32_t PosixFileSystem::RemoveDirectory(const std::string& path) {
  ResolvedPath resolved;
  if (uint32_t rc = drives_.Resolve(path, 0, resolved)) return rc;
  if (!resolved.exists) return kErrorFileNotFound;
  if (resolved.IsRoot()) return kErrorAccessDenied;
  if (!resolved.IsDirectory()) return kErrorDirectory;
  if (resolved.drive->readOnly) return kErrorWriteProtect;
  if (ReadDosAttributes(resolved.hostPath, resolved.st) & kAttrReadOnly) return kErrorAccessDenied;
  if (SameFolderOrInside(drives_.current(), resolved.windowsPath)) return kErrorSharingViolation;
  if (unlinkat(resolved.parent.get(), resolved.leaf.c_str(), AT_REMOVEDIR) != 0) {
    return errno == EEXIST ? kErrorDirNotEmpty : WinErrorFromErrno(errno);
  }
  return kErrorSuccess;
}

uint32_t PosixFileSystem::SetCurrentDirectory(const std::string& path) {
  ResolvedPath resolved;
  if (uint32_t rc = drives_.Resolve(path, kResolveFollowLeaf, resolved)) return rc;
  if (!resolved.exists) return kErrorFileNotFound;
  if (!resolved.IsDirectory()) return kErrorDirectory;
  drives_.SetCurrent(resolved.windowsPath);
  return kErrorSuccess;
}

std::string PosixFileSystem::GetCurrentDirectory() { return drives_.current().ToString(); }

uint32_t PosixFileSystem::ReadWholeFile(const std::string& path, std::string& contents) {
  int fd = -1;
  if (uint32_t rc = drives_.OpenRead(path, fd)) return rc;
  UniqueFd file(fd);
  std::string bytes;
  char buffer[1 << 16];
  while (true) {
    ssize_t n = read(file.get(), buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      return WinErrorFromErrno(errno);
    }
    bytes.append(buffer, static_cast<size_t>(n));
  }
  contents = std::move(bytes);
  return kErrorSuccess;
}

uint32_t PosixFileSystem::WriteWholeFile(const std::string& path, const std::string& contents) {
  int fd = -1;
  if (uint32_t rc = drives_.OpenWrite(path, fd)) return rc;
  UniqueFd file(fd);
  for (size_t done = 0; done < contents.size();) {
    ssize_t n = write(file.get(), contents.data() + done, contents.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return WinErrorFromErrno(errno);
    }
    done += static_cast<size_t>(n);
  }
  if (close(file.Release()) != 0) return WinErrorFromErrno(errno);
  return kErrorSuccess;
}

std::vector<std::string> PosixFileSystem::LogicalDrives() {
  std::vector<std::string> roots;
  for (const auto& drive : drives_.drives()) roots.push_back(std::string{drive.letter, ':', '\\'});
  return roots;
}

}  // namespace korvane::posix
