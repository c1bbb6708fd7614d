// The registry object that the runs use (one per entry): a root key, a current key, and
// reads and writes that raise the system's registry errors where the runs rely on them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace korvane {

class TRegistry {
 public:
  /// Root HKEY_CURRENT_USER, no current key.
  explicit TRegistry(Registry& registry);
  ~TRegistry() { CloseKey(); }

  RootKey GetRootKey() const { return root_; }
  void SetRootKey(RootKey root);

  /// Creates the key (and missing parents) below the root; raises RegistryError
  /// "ｷｰ %s の作成に失敗しました" when it cannot be created.
  void CreateKey(const std::string& key);
  /// Makes the key current (relative to the current key unless it starts with a backslash),
  /// creating it when canCreate: false when it cannot be opened or created.
  bool OpenKey(const std::string& key, bool canCreate);
  /// Whether the key exists (relative as OpenKey).
  bool KeyExists(const std::string& key);
  /// Whether the current key holds a value of that name ("" the default value).
  bool ValueExists(const std::string& name);
  /// Reads a string value of the current key ("" when missing); raises RegistryError
  /// "'%s' のﾃﾞｰﾀ型が不正です" when it is not a string.
  std::string ReadString(const std::string& name);
  /// Writes REG_SZ; raises RegistryError "'%s' の設定に失敗しました" when it cannot.
  void WriteString(const std::string& name, const std::string& value);
  /// Writes REG_EXPAND_SZ; raises as WriteString.
  void WriteExpandString(const std::string& name, const std::string& value);
  /// Writes REG_DWORD (four bytes, least significant first); raises as WriteString.
  void WriteInteger(const std::string& name, int32_t value);
  /// Deletes the key with everything below it: true when it was deleted.
  bool DeleteKey(const std::string& key);
  /// Releases the current key.
  void CloseKey();

 private:
  std::string Resolve(const std::string& key) const;
  void WriteData(const std::string& name, uint32_t type, const std::string& data);

  Registry& registry_;
  RootKey root_ = RootKey::CurrentUser;
  bool open_ = false;
  std::string currentPath_;
};

}  // namespace korvane
