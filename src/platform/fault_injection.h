// A pass-through Registry that refuses the changes a test chooses, so that the runs' handling
// of a registry that will not be written can be exercised on a real machine folder.
// Header-only and OS-free; it decides nothing itself beyond the chosen refusals.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace korvane {

class FaultInjectingRegistry : public Registry {
 public:
  // A refusal rule: the error code to return, or 0 to pass the call on.
  using KeyFault = std::function<uint32_t(RootKey root, const std::string& path)>;
  using ValueFault =
      std::function<uint32_t(RootKey root, const std::string& path, const std::string& name)>;

  explicit FaultInjectingRegistry(Registry& inner) : inner_(inner) {}

  KeyFault createKeyFault;
  ValueFault setValueFault;

  /// The refusal's code, or the inner registry's result.
  uint32_t CreateKey(RootKey root, const std::string& path) override {
    if (createKeyFault) {
      if (uint32_t code = createKeyFault(root, path)) return code;
    }
    return inner_.CreateKey(root, path);
  }
  /// The inner registry's result.
  uint32_t OpenKey(RootKey root, const std::string& path) override {
    return inner_.OpenKey(root, path);
  }
  /// The refusal's code, or the inner registry's result.
  uint32_t SetValue(RootKey root, const std::string& path, const std::string& name, uint32_t type,
                    const std::string& data) override {
    if (setValueFault) {
      if (uint32_t code = setValueFault(root, path, name)) return code;
    }
    return inner_.SetValue(root, path, name, type, data);
  }
  /// The inner registry's result.
  uint32_t QueryValue(RootKey root, const std::string& path, const std::string& name,
                      uint32_t& type, std::string& data) override {
    return inner_.QueryValue(root, path, name, type, data);
  }
  /// The inner registry's result.
  uint32_t DeleteValue(RootKey root, const std::string& path, const std::string& name) override {
    return inner_.DeleteValue(root, path, name);
  }
  /// The inner registry's result.
  uint32_t DeleteKeyTree(RootKey root, const std::string& path) override {
    return inner_.DeleteKeyTree(root, path);
  }
  /// The inner registry's result.
  uint32_t EnumKeys(RootKey root, const std::string& path,
                    std::vector<std::string>& names) override {
    return inner_.EnumKeys(root, path, names);
  }
  /// The inner registry's result.
  uint32_t EnumValues(RootKey root, const std::string& path,
                      std::vector<RegistryValue>& values) override {
    return inner_.EnumValues(root, path, values);
  }

 private:
  Registry& inner_;
};

}  // namespace korvane
