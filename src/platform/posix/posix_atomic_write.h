// Replacing a file's contents atomically: a temporary file in the same folder, written,
// flushed to disk and renamed over the old one. A failure leaves the old file as it was and
// no temporary file behind.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>

namespace korvane::posix {

/// Replaces (or creates) dirFd/name with bytes, keeping an old file's permission bits and
/// attributes (old may be null): 0 or the Windows error code.
uint32_t ReplaceFileAtomically(int dirFd, const std::string& name, const std::string& bytes,
                               const struct stat* old, const std::string& oldHostPath);

}  // namespace korvane::posix
