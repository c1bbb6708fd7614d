// The machine's registry, addressed by root key and key path (backslash-separated, code page
// 932). Names are case-insensitive and case-preserving; HKEY_CLASSES_ROOT is
// HKEY_LOCAL_MACHINE\SOFTWARE\Classes. Each change is one transaction.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win_types.h"

namespace korvane {

struct RegistryValue {
  std::string name;  // "" is the default value
  uint32_t type = kRegNone;
  std::string data;  // raw bytes as stored (strings end in one zero byte)
};

class Registry {
 public:
  virtual ~Registry() = default;

  /// RegCreateKeyExA: creates the key and every missing parent; 0 or the error code.
  virtual uint32_t CreateKey(RootKey root, const std::string& path) = 0;
  /// RegOpenKeyExA: 0 when the key exists, 2 when it does not.
  virtual uint32_t OpenKey(RootKey root, const std::string& path) = 0;
  /// RegSetValueExA on an existing key: 0, 2 when the key is missing, or the error code.
  virtual uint32_t SetValue(RootKey root, const std::string& path, const std::string& name,
                            uint32_t type, const std::string& data) = 0;
  /// RegQueryValueExA: 0 with type and bytes, 2 when the key or value is missing.
  virtual uint32_t QueryValue(RootKey root, const std::string& path, const std::string& name,
                              uint32_t& type, std::string& data) = 0;
  /// RegDeleteValueA: 0, 2 when missing.
  virtual uint32_t DeleteValue(RootKey root, const std::string& path,
                               const std::string& name) = 0;
  /// Deletes the key with every key below it: 0, 2 when missing; a root itself is refused (5).
  virtual uint32_t DeleteKeyTree(RootKey root, const std::string& path) = 0;
  /// RegEnumKeyExA: 0 and the subkey names in case-insensitive order, 2 when missing.
  virtual uint32_t EnumKeys(RootKey root, const std::string& path,
                            std::vector<std::string>& names) = 0;
  /// RegEnumValueA: 0 and the values in case-insensitive name order, 2 when missing.
  virtual uint32_t EnumValues(RootKey root, const std::string& path,
                              std::vector<RegistryValue>& values) = 0;
};

}  // namespace korvane
