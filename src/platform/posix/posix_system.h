// System over the machine folder: folders and version from machine.ini, free space from the
// drives' host folders (or [FreeBytes]), case mapping, error texts, the program's own file and
// version, and the single-instance mutex as a lock file of the machine folder.
#pragma once

#include <string>

#include "platform/posix/posix_drive_map.h"
#include "platform/posix/posix_fd.h"
#include "platform/posix/posix_services.h"
#include "platform/posix/posix_string_mapping.h"
#include "platform/system.h"

namespace korvane::posix {

class PosixSystem : public System {
 public:
  PosixSystem(PosixDriveMap& drives, const MachineSettings& settings, std::string machineDir,
              std::string programFile, std::string programVersion);

  std::string GetTempPath() override;
  std::string GetWindowsDirectory() override;
  std::string GetSystemDirectory() override;
  bool GetVersionEx(OsVersionInfo& info) override;
  DiskFreeExLookup LookupDiskFreeSpaceEx() override;
  bool GetDiskFreeSpaceEx(const std::string& root, uint64_t& freeToCaller, uint64_t& totalBytes,
                          uint64_t& totalFree) override;
  bool GetDiskFreeSpace(const std::string& root, uint32_t& sectorsPerCluster,
                        uint32_t& bytesPerSector, uint32_t& freeClusters,
                        uint32_t& totalClusters) override;
  std::optional<std::string> MapString(uint32_t flags, const std::string& text) override;
  std::string FormatMessage(uint32_t code) override;
  std::string GetModuleFileName() override;
  VersionInfo GetProgramVersion() override;
  MutexState AcquireMutex(const std::string& name) override;
  void ReleaseMutex() override;

 private:
  PosixDriveMap& drives_;
  const MachineSettings& settings_;
  std::string machineDir_;
  std::string programFile_;
  std::string programVersion_;
  StringMapper mapper_;
  UniqueFd mutexLock_;
  std::string mutexName_;
};

}  // namespace korvane::posix
