// The machine's system services: its folders and version, free disk space, case mapping,
// error texts, the running program's own file and version, and the single-instance mutex.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/win_types.h"

namespace korvane {

// What looking up GetDiskFreeSpaceExA at run time found.
struct DiskFreeExLookup {
  bool libraryLoaded = false;  // LoadLibraryA("KERNEL32.DLL")
  bool procFound = false;      // GetProcAddress(..., "GetDiskFreeSpaceExA")
};

// The program file's version resource.
struct VersionInfo {
  bool hasData = false;                    // GetFileVersionInfoSizeA above 0
  std::optional<std::string> fileVersion;  // StringFileInfo\041103a4\FileVersion
};

enum class MutexState { Acquired, HeldByOther, Failed };

class System {
 public:
  virtual ~System() = default;

  /// GetTempPathA: the temporary folder with its trailing backslash, or "" on failure.
  virtual std::string GetTempPath() = 0;
  /// GetWindowsDirectoryA: the Windows folder without trailing backslash, or "" on failure.
  virtual std::string GetWindowsDirectory() = 0;
  /// GetSystemDirectoryA: the system folder without trailing backslash, or "" on failure.
  virtual std::string GetSystemDirectory() = 0;
  /// GetVersionExA: false when the version cannot be read.
  virtual bool GetVersionEx(OsVersionInfo& info) = 0;
  /// Looks up the extended free-space call; both flags false when unavailable.
  virtual DiskFreeExLookup LookupDiskFreeSpaceEx() = 0;
  /// GetDiskFreeSpaceExA on a drive root: false when the drive is unknown.
  virtual bool GetDiskFreeSpaceEx(const std::string& root, uint64_t& freeToCaller,
                                  uint64_t& totalBytes, uint64_t& totalFree) = 0;
  /// GetDiskFreeSpaceA on a drive root: false when the drive is unknown.
  virtual bool GetDiskFreeSpace(const std::string& root, uint32_t& sectorsPerCluster,
                                uint32_t& bytesPerSector, uint32_t& freeClusters,
                                uint32_t& totalClusters) = 0;
  /// LCMapStringA in the system default locale: nullopt when the text cannot be mapped.
  virtual std::optional<std::string> MapString(uint32_t flags, const std::string& text) = 0;
  /// FormatMessageA from the system in the user's language: "" when there is no text.
  virtual std::string FormatMessage(uint32_t code) = 0;
  /// GetModuleFileNameA of the running program: its full Windows path, never empty.
  virtual std::string GetModuleFileName() = 0;
  /// The running program's version resource; hasData false when it has none.
  virtual VersionInfo GetProgramVersion() = 0;
  /// Takes the named single-instance mutex for the life of this object's owner.
  virtual MutexState AcquireMutex(const std::string& name) = 0;
  /// Releases the mutex taken by AcquireMutex; nothing when none is held.
  virtual void ReleaseMutex() = 0;
};

}  // namespace korvane
