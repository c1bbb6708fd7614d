// Confined resolution of Windows paths: a walk from the drive root with O_PATH descriptors,
// one component at a time, each looked up without regard to case (the exact name first) and
// never followed through a symbolic link that leaves the drive. Creates nothing.
#include "platform/posix/posix_drive_map.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <deque>

#include "platform/encoding.h"
#include "platform/posix/posix_cp932.h"
#include "platform/posix/posix_errors.h"
#include "platform/win_types.h"

namespace korvane::posix {
namespace {

constexpr int kMaxLinkDepth = 40;

struct WalkItem {
  std::string name;  // code page 932 for Windows components, host bytes for link targets
  bool windows;
};

struct Step {
  UniqueFd fd;
  std::string name;
};

uint32_t LookupWindowsName(int dirFd, const std::string& name, std::string& hostName) {
  std::optional<std::string> utf8 = Cp932ToUtf8(name);
  if (!utf8) return kErrorInvalidName;
  struct stat st;
  if (fstatat(dirFd, utf8->c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
    hostName = *utf8;
    return kErrorSuccess;
  }
  if (errno != ENOENT) return WinErrorFromErrno(errno);

  int listFd = openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listFd < 0) return WinErrorFromErrno(errno);
  DIR* dir = fdopendir(listFd);
  if (dir == nullptr) {
    close(listFd);
    return WinErrorFromErrno(errno);
  }
  std::string key = Cp932Upper(name);
  std::string best;
  bool found = false;
  while (dirent* entry = readdir(dir)) {
    std::string_view entryName = entry->d_name;
    if (entryName == "." || entryName == "..") continue;
    std::optional<std::string> cp932 = Utf8ToCp932(entryName);
    if (!cp932 || Cp932Upper(*cp932) != key) continue;
    // Several names differing in case only: take the first in byte order, for repeatability.
    if (!found || entryName < best) best = entryName;
    found = true;
  }
  closedir(dir);
  if (!found) return kErrorFileNotFound;
  hostName = best;
  return kErrorSuccess;
}

std::vector<std::string> SplitHostPath(std::string_view text) {
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == '/') {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

std::string JoinHost(const std::vector<Step>& stack) {
  std::string path = stack.front().name;
  for (size_t i = 1; i < stack.size(); ++i) {
    if (path.empty() || path.back() != '/') path += '/';
    path += stack[i].name;
  }
  return path;
}

// Walks items from the drive root (stack[0]); on success fills out's leaf, parent and stat.
uint32_t Walk(const Drive& drive, std::vector<Step>& stack, std::deque<WalkItem> items, int flags,
              ResolvedPath& out) {
  int linkDepth = 0;
  while (!items.empty()) {
    WalkItem item = std::move(items.front());
    items.pop_front();
    bool last = items.empty();
    if (item.name.empty() || item.name == ".") continue;
    if (item.name == "..") {
      // Windows paths come normalized, so only a link's target climbs; above the root it
      // would leave the drive.
      if (stack.size() == 1) return kErrorAccessDenied;
      stack.pop_back();
      continue;
    }
    int dirFd = stack.back().fd.get();
    std::string hostName;
    uint32_t rc = kErrorSuccess;
    if (item.windows) {
      rc = LookupWindowsName(dirFd, item.name, hostName);
    } else {
      hostName = item.name;
      struct stat probe;
      if (fstatat(dirFd, hostName.c_str(), &probe, AT_SYMLINK_NOFOLLOW) != 0) {
        rc = WinErrorFromErrno(errno);
      }
    }
    if (rc == kErrorFileNotFound) {
      if (last) {
        // A Windows name converted already in the lookup; a link's target name as it is.
        out.leaf = item.windows ? *Cp932ToUtf8(item.name) : item.name;
        out.exists = false;
        break;
      }
      if (!(flags & kResolveMissingParents)) return kErrorPathNotFound;
      // Display only: the rest of the path as given.
      std::string rest = JoinHost(stack);
      items.push_front(std::move(item));
      for (const auto& missing : items) {
        std::optional<std::string> name =
            missing.windows ? Cp932ToUtf8(missing.name) : std::optional(missing.name);
        if (!name) return kErrorInvalidName;
        if (name->empty() || *name == ".") continue;
        rest += "/" + *name;
      }
      out.hostPath = rest;
      out.exists = false;
      return kErrorSuccess;
    }
    if (rc != kErrorSuccess) return rc;

    struct stat st;
    if (fstatat(dirFd, hostName.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
      return WinErrorFromErrno(errno);
    }
    if (S_ISLNK(st.st_mode) && (!last || (flags & kResolveFollowLeaf))) {
      if (++linkDepth > kMaxLinkDepth) return kErrorAccessDenied;
      std::string target(PATH_MAX, '\0');
      ssize_t length = readlinkat(dirFd, hostName.c_str(), target.data(), target.size());
      if (length < 0) return WinErrorFromErrno(errno);
      target.resize(static_cast<size_t>(length));
      if (!target.empty() && target[0] == '/') {
        const std::string& root = drive.hostRoot;
        std::string rootSlash = root.back() == '/' ? root : root + "/";
        if (target != root && target.compare(0, rootSlash.size(), rootSlash) != 0) {
          return kErrorAccessDenied;  // the link leaves the drive
        }
        target = target.size() > root.size() ? target.substr(rootSlash.size()) : "";
        stack.resize(1);
      }
      std::vector<std::string> parts = SplitHostPath(target);
      for (auto it = parts.rbegin(); it != parts.rend(); ++it) {
        items.push_front(WalkItem{*it, false});
      }
      continue;
    }
    if (last) {
      out.leaf = hostName;
      out.exists = true;
      out.st = st;
      break;
    }
    if (!S_ISDIR(st.st_mode)) {
      if (flags & kResolveMissingParents) {
        items.push_front(WalkItem{hostName, false});
        std::string rest = JoinHost(stack);
        for (const auto& missing : items) {
          std::optional<std::string> name =
              missing.windows ? Cp932ToUtf8(missing.name) : std::optional(missing.name);
          if (!name) return kErrorInvalidName;
          rest += "/" + *name;
        }
        out.hostPath = rest;
        out.exists = false;
        return kErrorSuccess;
      }
      return kErrorPathNotFound;
    }
    int fd = openat(dirFd, hostName.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return errno == ENOTDIR ? kErrorPathNotFound : WinErrorFromErrno(errno);
    stack.push_back(Step{UniqueFd(fd), hostName});
  }

  if (out.leaf.empty()) {
    // The path names a folder on the stack (the root, or a link's target ending in "..").
    if (stack.size() > 1) {
      out.leaf = stack.back().name;
      stack.pop_back();
      if (fstatat(stack.back().fd.get(), out.leaf.c_str(), &out.st, AT_SYMLINK_NOFOLLOW) != 0) {
        return WinErrorFromErrno(errno);
      }
    } else if (fstat(stack.front().fd.get(), &out.st) != 0) {
      return WinErrorFromErrno(errno);
    }
    out.exists = true;
  }
  out.hostPath = JoinHost(stack);
  if (!out.leaf.empty()) {
    if (out.hostPath.back() != '/') out.hostPath += '/';
    out.hostPath += out.leaf;
  }
  for (size_t i = 1; i < stack.size(); ++i) out.parentNames.push_back(stack[i].name);
  out.parent = std::move(stack.back().fd);
  return kErrorSuccess;
}

}  // namespace

PosixDriveMap::PosixDriveMap(std::vector<Drive> drives, WindowsPath current)
    : drives_(std::move(drives)), current_(std::move(current)) {
  std::sort(drives_.begin(), drives_.end(),
            [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
}

bool PosixDriveMap::LoadDrives(const std::string& machineDir, char packageDrive,
                               const std::string& packageHostDir, std::vector<Drive>& drives,
                               std::string& error) {
  drives.clear();
  std::string devices = machineDir + "/dosdevices";
  if (DIR* dir = opendir(devices.c_str())) {
    while (dirent* entry = readdir(dir)) {
      std::string_view name = entry->d_name;
      if (name.size() != 2 || name[1] != ':') continue;
      char letter = static_cast<char>(name[0] & ~0x20);
      if (letter < 'A' || letter > 'Z') continue;
      char real[PATH_MAX];
      std::string link = devices + "/" + std::string(name);
      if (realpath(link.c_str(), real) == nullptr) continue;  // a dangling letter is no drive
      struct stat st;
      if (stat(real, &st) != 0 || !S_ISDIR(st.st_mode)) continue;
      drives.push_back(Drive{letter, real, false});
    }
    closedir(dir);
  }
  if (packageDrive != 0) {
    char letter = static_cast<char>(packageDrive & ~0x20);
    char real[PATH_MAX];
    struct stat st;
    if (letter < 'A' || letter > 'Z') {
      error = "invalid package drive letter";
      return false;
    }
    if (realpath(packageHostDir.c_str(), real) == nullptr || stat(real, &st) != 0 ||
        !S_ISDIR(st.st_mode)) {
      error = "package folder not found: " + packageHostDir;
      return false;
    }
    std::erase_if(drives, [letter](const Drive& d) { return d.letter == letter; });
    drives.push_back(Drive{letter, real, true});
  }
  return true;
}

const Drive* PosixDriveMap::FindDrive(char letter) const {
  for (const auto& drive : drives_) {
    if (drive.letter == letter) return &drive;
  }
  return nullptr;
}

uint32_t PosixDriveMap::Resolve(const std::string& windowsPath, int flags, ResolvedPath& out) {
  WindowsPath parsed;
  if (uint32_t rc = ParseWindowsPath(windowsPath, current_, false, parsed)) return rc;
  return ResolveParsed(parsed, flags, out);
}

uint32_t PosixDriveMap::ResolveParsed(const WindowsPath& path, int flags, ResolvedPath& out) {
  out = ResolvedPath{};
  out.windowsPath = path;
  out.drive = FindDrive(path.drive);
  if (out.drive == nullptr) return kErrorPathNotFound;
  int rootFd = open(out.drive->hostRoot.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (rootFd < 0) return errno == ENOENT ? kErrorPathNotFound : WinErrorFromErrno(errno);
  std::vector<Step> stack;
  stack.push_back(Step{UniqueFd(rootFd), out.drive->hostRoot});
  std::deque<WalkItem> items;
  for (const auto& component : path.components) items.push_back(WalkItem{component, true});
  return Walk(*out.drive, stack, std::move(items), flags, out);
}

bool PosixDriveMap::StatEntry(const ResolvedPath& folder, const std::string& hostName,
                              struct stat& st) {
  UniqueFd dir(OpenDirectoryForListing(folder));
  if (!dir.valid()) return false;
  return StatEntry(folder, dir.get(), hostName, st);
}

bool PosixDriveMap::StatEntry(const ResolvedPath& folder, int listFd, const std::string& hostName,
                              struct stat& st) {
  if (fstatat(listFd, hostName.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
  if (!S_ISLNK(st.st_mode)) return true;
  // A link: walk to it again from the root so that its target is confined like any path.
  int rootFd = open(folder.drive->hostRoot.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (rootFd < 0) return false;
  std::vector<Step> stack;
  stack.push_back(Step{UniqueFd(rootFd), folder.drive->hostRoot});
  std::deque<WalkItem> items;
  for (const auto& name : folder.parentNames) items.push_back(WalkItem{name, false});
  if (!folder.leaf.empty()) items.push_back(WalkItem{folder.leaf, false});
  items.push_back(WalkItem{hostName, false});
  ResolvedPath target;
  target.drive = folder.drive;
  if (Walk(*folder.drive, stack, std::move(items), kResolveFollowLeaf, target) != 0 ||
      !target.exists) {
    return false;
  }
  st = target.st;
  return true;
}

int OpenDirectoryForListing(const ResolvedPath& folder) {
  if (!folder.parent.valid()) return -1;
  const char* name = folder.leaf.empty() ? "." : folder.leaf.c_str();
  return openat(folder.parent.get(), name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

uint32_t PosixDriveMap::HostPath(const std::string& windowsPath, std::string& hostPath) {
  ResolvedPath resolved;
  uint32_t rc = Resolve(windowsPath, kResolveFollowLeaf | kResolveMissingParents, resolved);
  if (rc == kErrorSuccess) hostPath = resolved.hostPath;
  return rc;
}

uint32_t PosixDriveMap::OpenRead(const std::string& windowsPath, int& fd) {
  ResolvedPath resolved;
  if (uint32_t rc = Resolve(windowsPath, kResolveFollowLeaf, resolved)) return rc;
  if (!resolved.exists) return kErrorFileNotFound;
  if (resolved.IsDirectory()) return kErrorAccessDenied;
  fd = openat(resolved.parent.get(), resolved.leaf.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  return fd < 0 ? WinErrorFromErrno(errno) : kErrorSuccess;
}

uint32_t PosixDriveMap::OpenWrite(const std::string& windowsPath, int& fd) {
  ResolvedPath resolved;
  if (uint32_t rc = Resolve(windowsPath, kResolveFollowLeaf, resolved)) return rc;
  if (resolved.drive->readOnly) return kErrorWriteProtect;
  if (resolved.IsRoot() || resolved.IsDirectory()) return kErrorAccessDenied;
  // The read-only attribute is the owner's write bit; checked here because root ignores it.
  if (resolved.exists && !(resolved.st.st_mode & S_IWUSR)) return kErrorAccessDenied;
  fd = openat(resolved.parent.get(), resolved.leaf.c_str(),
              O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
  return fd < 0 ? WinErrorFromErrno(errno) : kErrorSuccess;
}

uint32_t PosixDriveMap::LastErrorFromErrno(int err) { return WinErrorFromErrno(err); }

}  // namespace korvane::posix
