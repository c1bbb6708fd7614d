// The machine's drives: which host folder each letter stands for, the current folder, and the
// confined resolution of Windows paths to host files. Every file service goes through
// Resolve, which walks component by component from the drive's root with descriptors, matches
// names without regard to case and follows symbolic links only while they stay inside the
// drive. It never creates, changes or deletes anything.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/posix/posix_fd.h"
#include "platform/posix/posix_services.h"
#include "platform/posix/posix_windows_path.h"

namespace korvane::posix {

struct Drive {
  char letter = 0;       // upper case
  std::string hostRoot;  // absolute host path without symbolic links
  bool readOnly = false;
};

// Where a Windows path lands on the host.
struct ResolvedPath {
  const Drive* drive = nullptr;
  WindowsPath windowsPath;
  UniqueFd parent;       // directory (O_PATH) holding the leaf; invalid when parents are missing
  std::string leaf;      // host name of the leaf (UTF-8); empty for the drive root
  std::string hostPath;  // the full host path
  std::vector<std::string> parentNames;  // host names of the folders from the root to the leaf
  bool exists = false;
  struct stat st {};  // the leaf (the link's target when links were followed), when it exists

  bool IsRoot() const { return leaf.empty() && parent.valid(); }
  bool IsDirectory() const { return exists && S_ISDIR(st.st_mode); }
};

enum ResolveFlags : int {
  kResolveFollowLeaf = 1,      // a symbolic link as the last component is followed
  kResolveMissingParents = 2,  // missing folders are kept as given (host path only)
};

class PosixDriveMap : public PosixDrives {
 public:
  PosixDriveMap(std::vector<Drive> drives, WindowsPath current);

  /// Reads DIR/dosdevices (links named "c:" ... "z:") and adds the package drive: false and a
  /// UTF-8 message when the package folder is unusable.
  static bool LoadDrives(const std::string& machineDir, char packageDrive,
                         const std::string& packageHostDir, std::vector<Drive>& drives,
                         std::string& error);

  /// Resolves a Windows path (relative ones against the current folder): 0, or 3 when a
  /// folder on the way is missing or the path is on no drive, 123/206 for bad names, 5 when a
  /// link leads out of the drive. A missing last component is not an error (exists false).
  uint32_t Resolve(const std::string& windowsPath, int flags, ResolvedPath& out);
  /// The same for a path parsed already.
  uint32_t ResolveParsed(const WindowsPath& path, int flags, ResolvedPath& out);
  /// Looks at one directory entry found by listing a resolved folder, following a link only
  /// while it stays in the drive: false when the entry is to be skipped.
  bool StatEntry(const ResolvedPath& folder, const std::string& hostName, struct stat& st);
  /// The same with the folder open already (listFd from OpenDirectoryForListing).
  bool StatEntry(const ResolvedPath& folder, int listFd, const std::string& hostName,
                 struct stat& st);

  const Drive* FindDrive(char letter) const;
  const std::vector<Drive>& drives() const { return drives_; }
  const WindowsPath& current() const { return current_; }
  void SetCurrent(WindowsPath current) { current_ = std::move(current); }

  uint32_t HostPath(const std::string& windowsPath, std::string& hostPath) override;
  uint32_t OpenRead(const std::string& windowsPath, int& fd) override;
  uint32_t OpenWrite(const std::string& windowsPath, int& fd) override;
  uint32_t LastErrorFromErrno(int err) override;

 private:
  std::vector<Drive> drives_;
  WindowsPath current_;
};

/// Opens a directory of a resolved path for listing (the folder itself): a descriptor or -1.
int OpenDirectoryForListing(const ResolvedPath& folder);

}  // namespace korvane::posix
