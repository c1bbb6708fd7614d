// Attribute bits kept as Wine and Samba keep them: user.DOSATTRIB holds "0x<hex>" text. Without
// the extended attribute a file reports archive and a folder nothing else.
#include "platform/posix/posix_file_attributes.h"

#include <sys/xattr.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/posix/posix_errors.h"
#include "platform/win_types.h"

namespace korvane::posix {
namespace {

constexpr char kXattrName[] = "user.DOSATTRIB";
constexpr uint32_t kXattrBits = kAttrHidden | kAttrSystem | kAttrArchive;

bool ReadXattr(const std::string& hostPath, uint32_t& bits) {
  char buffer[64];
  ssize_t length = lgetxattr(hostPath.c_str(), kXattrName, buffer, sizeof buffer - 1);
  if (length < 3) return false;
  buffer[length] = '\0';
  if (buffer[0] != '0' || (buffer[1] != 'x' && buffer[1] != 'X')) return false;  // binary form
  bits = static_cast<uint32_t>(std::strtoul(buffer + 2, nullptr, 16));
  return true;
}

bool IsUnsupported(int err) { return err == ENOTSUP || err == EPERM; }

}  // namespace

uint32_t ReadDosAttributes(const std::string& hostPath, const struct stat& st) {
  bool folder = S_ISDIR(st.st_mode);
  uint32_t stored = 0;
  bool haveXattr = ReadXattr(hostPath, stored);
  uint32_t attributes = 0;
  if (folder) {
    attributes = kAttrDirectory;
    if (haveXattr) attributes |= stored & (kXattrBits | kAttrReadOnly);
  } else {
    attributes = haveXattr ? (stored & kXattrBits) : kAttrArchive;
    if (!(st.st_mode & S_IWUSR)) attributes |= kAttrReadOnly;
  }
  return attributes;
}

uint32_t WriteDosAttributes(const std::string& hostPath, const struct stat& st,
                            uint32_t attributes) {
  bool folder = S_ISDIR(st.st_mode);
  if (!folder) {
    mode_t mode = st.st_mode & 07777;
    mode_t wanted = (attributes & kAttrReadOnly) ? (mode & ~0222) : (mode | S_IWUSR);
    if (wanted != mode && chmod(hostPath.c_str(), wanted) != 0) return WinErrorFromErrno(errno);
  }
  uint32_t bits = attributes & (folder ? (kXattrBits | kAttrReadOnly) : kXattrBits);
  uint32_t plain = folder ? 0 : kAttrArchive;
  if (bits == plain) {
    if (lremovexattr(hostPath.c_str(), kXattrName) != 0 && errno != ENODATA &&
        !IsUnsupported(errno)) {
      return WinErrorFromErrno(errno);
    }
    return kErrorSuccess;
  }
  char text[16];
  int length = std::snprintf(text, sizeof text, "0x%x", bits);
  if (lsetxattr(hostPath.c_str(), kXattrName, text, static_cast<size_t>(length), 0) != 0 &&
      !IsUnsupported(errno)) {
    return WinErrorFromErrno(errno);
  }
  return kErrorSuccess;
}

int32_t DosDateTime(time_t t) {
  struct tm local;
  if (localtime_r(&t, &local) == nullptr) return -1;
  int year = local.tm_year + 1900;
  if (year < 1980 || year > 2107) return -1;
  uint32_t date =
      static_cast<uint32_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
  uint32_t time =
      static_cast<uint32_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
  return static_cast<int32_t>((date << 16) | time);
}

}  // namespace korvane::posix
