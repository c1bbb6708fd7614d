// Temporary file + fsync + rename + fsync of the folder, so that a crash or a full disk never
// leaves half a file. The temporary name is random and created exclusively.
#include "platform/posix/posix_atomic_write.h"

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "platform/posix/posix_errors.h"
#include "platform/posix/posix_fd.h"
#include "platform/win_types.h"

namespace korvane::posix {
namespace {

uint32_t WriteAll(int fd, const std::string& bytes) {
  for (size_t done = 0; done < bytes.size();) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return WinErrorFromErrno(errno);
    }
    done += static_cast<size_t>(n);
  }
  return kErrorSuccess;
}

}  // namespace

uint32_t ReplaceFileAtomically(int dirFd, const std::string& name, const std::string& bytes,
                               const struct stat* old, const std::string& oldHostPath) {
  std::random_device random;
  std::string tempName;
  UniqueFd file;
  for (int attempt = 0; attempt < 100 && !file.valid(); ++attempt) {
    tempName = "." + name + ".kvtmp" + std::to_string(random() % 1000000000u);
    file.Reset(openat(dirFd, tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!file.valid() && errno != EEXIST) return WinErrorFromErrno(errno);
  }
  if (!file.valid()) return kErrorAccessDenied;

  uint32_t rc = WriteAll(file.get(), bytes);
  if (rc == kErrorSuccess && old != nullptr && fchmod(file.get(), old->st_mode & 07777) != 0) {
    rc = WinErrorFromErrno(errno);
  }
  if (rc == kErrorSuccess && old != nullptr) {
    char attributes[64];
    ssize_t length =
        lgetxattr(oldHostPath.c_str(), "user.DOSATTRIB", attributes, sizeof attributes);
    if (length > 0)
      fsetxattr(file.get(), "user.DOSATTRIB", attributes, static_cast<size_t>(length), 0);
  }
  if (rc == kErrorSuccess && fsync(file.get()) != 0) rc = WinErrorFromErrno(errno);
  if (rc == kErrorSuccess && close(file.Release()) != 0) rc = WinErrorFromErrno(errno);
  if (rc == kErrorSuccess && renameat(dirFd, tempName.c_str(), dirFd, name.c_str()) != 0) {
    rc = WinErrorFromErrno(errno);
  }
  if (rc != kErrorSuccess) {
    file.Reset();
    unlinkat(dirFd, tempName.c_str(), 0);
    return rc;
  }
  // The rename itself reaches the disk only with the folder.
  UniqueFd folder(openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.valid()) fsync(folder.get());
  return kErrorSuccess;
}

}  // namespace korvane::posix
