// The system's file, case-mapping and error-text routines over the platform services:
// FileCopyTo, FileRemove, FolderExists, CreateFolderChain, the file tests, MapString, ErrorText.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace korvane {

/// Clears the target's attributes, copies over it, clears them again: 0 or the error code.
uint32_t FileCopyTo(const Platform& platform, const std::string& source, const std::string& target);
/// Clears the attributes and deletes the file: 0 or the error code.
uint32_t FileRemove(const Platform& platform, const std::string& path);
/// A directory search of "path\*.*" finds a plain file or folder entry.
bool FolderExists(const Platform& platform, const std::string& path);
/// Creates every missing folder that ends at a backslash of path: the last creation's result.
bool CreateFolderChain(const Platform& platform, const std::string& path);
/// The first entry of a directory search for the exact path that passes the attribute mask
/// (entries with hidden, system, volume or folder bits outside mask are skipped).
std::optional<FindData> FindFirstEntry(const Platform& platform, const std::string& path,
                                       uint32_t mask);
/// A directory search for the path finds an entry that is not a folder.
bool FileExists(const Platform& platform, const std::string& path);
/// The local last-write time of the file as DOS date and time, -1 when no file exists.
int32_t FileDate(const Platform& platform, const std::string& path);
/// LCMapStringA with the flags; the text unchanged when it cannot be mapped.
std::string MapString(const Platform& platform, const std::string& text, uint32_t flags);
/// MapString with LCMAP_UPPERCASE.
std::string UpperCase(const Platform& platform, const std::string& text);
/// Equal after upper-case mapping of both.
bool SameText(const Platform& platform, const std::string& a, const std::string& b);
/// The system text of the code in full width ("" for 0 or an unknown code).
std::string ErrorText(const Platform& platform, uint32_t code);

}  // namespace korvane
