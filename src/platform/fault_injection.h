// A pass-through Registry that refuses the changes a test chooses, so that the runs' handling
// of a registry that will not be written can be exercised on a real machine folder.
// Header-only and OS-free; it decides nothing itself beyond the chosen refusals.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/system.h"

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

// Passes every call on to the real System; a test derives from it and overrides only the
// answers it changes (a folder query that fails, another version, a missing export).
class PassThroughSystem : public System {
 public:
  explicit PassThroughSystem(System& inner) : inner_(inner) {}

  std::string GetTempPath() override { return inner_.GetTempPath(); }
  std::string GetWindowsDirectory() override { return inner_.GetWindowsDirectory(); }
  std::string GetSystemDirectory() override { return inner_.GetSystemDirectory(); }
  bool GetVersionEx(OsVersionInfo& info) override { return inner_.GetVersionEx(info); }
  DiskFreeExLookup LookupDiskFreeSpaceEx() override { return inner_.LookupDiskFreeSpaceEx(); }
  bool GetDiskFreeSpaceEx(const std::string& root, uint64_t& freeToCaller, uint64_t& totalBytes,
                          uint64_t& totalFree) override {
    return inner_.GetDiskFreeSpaceEx(root, freeToCaller, totalBytes, totalFree);
  }
  bool GetDiskFreeSpace(const std::string& root, uint32_t& sectorsPerCluster,
                        uint32_t& bytesPerSector, uint32_t& freeClusters,
                        uint32_t& totalClusters) override {
    return inner_.GetDiskFreeSpace(root, sectorsPerCluster, bytesPerSector, freeClusters,
                                   totalClusters);
  }
  std::optional<std::string> MapString(uint32_t flags, const std::string& text) override {
    return inner_.MapString(flags, text);
  }
  std::string FormatMessage(uint32_t code) override { return inner_.FormatMessage(code); }
  std::string GetModuleFileName() override { return inner_.GetModuleFileName(); }
  VersionInfo GetProgramVersion() override { return inner_.GetProgramVersion(); }
  MutexState AcquireMutex(const std::string& name) override { return inner_.AcquireMutex(name); }
  void ReleaseMutex() override { inner_.ReleaseMutex(); }

 protected:
  System& inner_;
};

}  // namespace korvane
