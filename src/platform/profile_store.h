// Profile (INI) files with the Windows semantics: GetPrivateProfileStringA and
// WritePrivateProfileStringA. Reading never fails; every write replaces the file atomically.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace korvane {

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;

  /// GetPrivateProfileStringA with a buffer of `size` bytes: at most size-1 bytes, the default
  /// (trailing blanks removed) on any failure; a file name without a folder is looked up in
  /// the Windows folder.
  virtual std::string GetString(const std::string& section, const std::string& key,
                                const std::string& defaultValue, uint32_t size,
                                const std::string& file) = 0;
  /// WritePrivateProfileStringA: no value deletes the key, no key deletes the section, none of
  /// the three flushes the cache; false (error in lastError) when the file cannot be written.
  virtual bool WriteString(const std::optional<std::string>& section,
                           const std::optional<std::string>& key,
                           const std::optional<std::string>& value, const std::string& file) = 0;
  /// The error code of the last failed write (3 when the folder is missing, ...).
  virtual uint32_t LastError() const = 0;
};

}  // namespace korvane
