// ReadProfile and WriteProfile: profile values of at most 254 bytes, defaults on any failure.
#pragma once

#include <string>

#include "platform/platform.h"

namespace korvane {

/// The value (at most 254 bytes), or the default (cut likewise) when missing or unreadable.
std::string ReadProfile(const Platform& platform, const std::string& section,
                        const std::string& key, const std::string& defaultValue,
                        const std::string& file);
/// Writes the key (creating file and section): true when written.
bool WriteProfile(const Platform& platform, const std::string& section, const std::string& key,
                  const std::string& value, const std::string& file);
/// Removes a whole section: true when the file was written.
bool DeleteProfileSection(const Platform& platform, const std::string& section,
                          const std::string& file);
/// Writes out the cached copy of a profile file (WritePrivateProfileStringA with no names).
void FlushProfile(const Platform& platform, const std::string& file);

}  // namespace korvane
