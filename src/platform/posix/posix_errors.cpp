// errno -> Windows error code, in one table. Call-specific codes (80 for CopyFile's
// fail-if-exists, 267 for a file where a folder is wanted) are decided by the callers.
#include "platform/posix/posix_errors.h"

#include <cerrno>

#include "platform/win_types.h"

namespace korvane::posix {
namespace {

struct ErrnoMapping {
  int err;
  uint32_t code;
};

constexpr ErrnoMapping kErrnoTable[] = {
    {0, kErrorSuccess},
    {ENOENT, kErrorFileNotFound},
    {ENOTDIR, kErrorPathNotFound},
    {EACCES, kErrorAccessDenied},
    {EPERM, kErrorAccessDenied},
    {EISDIR, kErrorAccessDenied},
    {ELOOP, kErrorAccessDenied},  // a link that leads nowhere we may follow
    {EEXIST, kErrorAlreadyExists},
    {ENOTEMPTY, kErrorDirNotEmpty},
    {ENOSPC, kErrorDiskFull},
    {EDQUOT, kErrorDiskFull},
    {EFBIG, kErrorDiskFull},
    {EROFS, kErrorWriteProtect},
    {ENAMETOOLONG, kErrorFilenameExcedRange},
    {EILSEQ, kErrorInvalidName},
    {EINVAL, kErrorInvalidParameter},
    {EMFILE, kErrorTooManyOpenFiles},
    {ENFILE, kErrorTooManyOpenFiles},
    {ENOMEM, kErrorNotEnoughMemory},
    {EBUSY, kErrorSharingViolation},
    {ETXTBSY, kErrorSharingViolation},
    {EXDEV, kErrorNotSameDevice},
    {EIO, kErrorFileCorrupt},
    {EBADMSG, kErrorFileCorrupt},
    {EUCLEAN, kErrorFileCorrupt},
    {ENXIO, kErrorNotReady},
    {ENODEV, kErrorNotReady},
    {ENOMEDIUM, kErrorNotReady},
    {EBADF, kErrorInvalidHandle},
    {ENOTSUP, kErrorNotSupported},
};

}  // namespace

uint32_t WinErrorFromErrno(int err) {
  for (const auto& mapping : kErrnoTable) {
    if (mapping.err == err) return mapping.code;
  }
  return kErrorAccessDenied;
}

}  // namespace korvane::posix
