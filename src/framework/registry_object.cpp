// The registry object over the registry service: a root, a current key, and the reads and
// writes whose failures become RegistryError with the system's texts. It keeps no handle of
// its own: the current key is only a path, so releasing it can never fail.
#include "framework/registry_object.h"

#include "framework/errors.h"

namespace korvane {

TRegistry::TRegistry(Registry& registry) : registry_(registry) {}

void TRegistry::SetRootKey(RootKey root) {
  CloseKey();
  root_ = root;
}

std::string TRegistry::Resolve(const std::string& key) const {
  if (!key.empty() && key[0] == '\\') return key.substr(1);
  if (!open_ || currentPath_.empty()) return key;
  if (key.empty()) return currentPath_;
  return currentPath_ + "\\" + key;
}

void TRegistry::CreateKey(const std::string& key) {
  if (registry_.CreateKey(root_, Resolve(key)) != kErrorSuccess) {
    throw RegistryError("ｷｰ " + key + " の作成に失敗しました");
  }
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
  std::string path = Resolve(key);
  uint32_t result = canCreate ? registry_.CreateKey(root_, path) : registry_.OpenKey(root_, path);
  if (result != kErrorSuccess) return false;
  open_ = true;
  currentPath_ = path;
  return true;
}

bool TRegistry::KeyExists(const std::string& key) {
  return registry_.OpenKey(root_, Resolve(key)) == kErrorSuccess;
}

bool TRegistry::ValueExists(const std::string& name) {
  if (!open_) return false;
  uint32_t type = 0;
  std::string data;
  return registry_.QueryValue(root_, currentPath_, name, type, data) == kErrorSuccess;
}

std::string TRegistry::ReadString(const std::string& name) {
  if (!open_) return "";
  uint32_t type = 0;
  std::string data;
  if (registry_.QueryValue(root_, currentPath_, name, type, data) != kErrorSuccess ||
      data.empty()) {
    return "";
  }
  if (type != kRegSz && type != kRegExpandSz) {
    throw RegistryError("'" + name + "' のﾃﾞｰﾀ型が不正です");
  }
  // The text ends at its first zero byte, as a C string read back would.
  return data.substr(0, data.find('\0'));
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  WriteData(name, kRegSz, value + '\0');
}

void TRegistry::WriteExpandString(const std::string& name, const std::string& value) {
  WriteData(name, kRegExpandSz, value + '\0');
}

void TRegistry::WriteInteger(const std::string& name, int32_t value) {
  auto bits = static_cast<uint32_t>(value);
  std::string data;
  for (int i = 0; i < 4; ++i) data += static_cast<char>((bits >> (8 * i)) & 0xFF);
  WriteData(name, kRegDword, data);
}

bool TRegistry::DeleteKey(const std::string& key) {
  return registry_.DeleteKeyTree(root_, Resolve(key)) == kErrorSuccess;
}

void TRegistry::CloseKey() {
  open_ = false;
  currentPath_.clear();
}

void TRegistry::WriteData(const std::string& name, uint32_t type, const std::string& data) {
  if (!open_ || registry_.SetValue(root_, currentPath_, name, type, data) != kErrorSuccess) {
    throw RegistryError("'" + name + "' の設定に失敗しました");
  }
}

}  // namespace korvane
