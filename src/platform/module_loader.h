// Loading a module and finding its exports (LoadLibraryA, GetProcAddress, FreeLibrary).
#pragma once

#include <cstdint>
#include <string>

namespace korvane {

// The self-registration entry of a COM server: no arguments, an HRESULT.
using DllRegisterServerProc = int32_t (*)();

class ModuleLoader {
 public:
  virtual ~ModuleLoader() = default;
  /// LoadLibraryA: a handle, or nullptr when the file cannot be loaded.
  virtual void* LoadLibrary(const std::string& path) = 0;
  /// GetProcAddress: the export's address, or nullptr when the module has no such export.
  virtual void* GetProcAddress(void* module, const std::string& name) = 0;
  /// FreeLibrary: releases a handle from LoadLibrary (never fails).
  virtual void FreeLibrary(void* module) = 0;
};

}  // namespace korvane
