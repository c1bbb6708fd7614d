// File attributes and DOS time stamps of host files: read-only is the owner's write bit (a
// folder's read-only flag lives with the others), hidden, system and archive live in the
// user.DOSATTRIB extended attribute where the file system has them. Never follows a link.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <ctime>
#include <string>

namespace korvane::posix {

/// The kAttr* bits of a host file or folder (st from lstat of hostPath or its link's target).
uint32_t ReadDosAttributes(const std::string& hostPath, const struct stat& st);

/// Sets the kAttr* bits (the directory bit ignored): 0 or the error code. Where the file
/// system has no extended attributes, hidden, system and archive are dropped silently.
uint32_t WriteDosAttributes(const std::string& hostPath, const struct stat& st,
                            uint32_t attributes);

/// Local time packed as DOS date (high word) and time (low word); -1 outside 1980-2107.
int32_t DosDateTime(time_t t);

}  // namespace korvane::posix
