// Private to the posix platform: what the machine hands to each service it makes, and the
// factories of the services. Nothing outside src/platform/posix includes this.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace korvane::posix {

// machine.ini, parsed (texts converted to code page 932).
struct MachineSettings {
  std::string windowsFolder = "C:\\WINDOWS";
  std::string systemFolder = "C:\\WINDOWS\\SYSTEM";
  std::string tempFolder = "C:\\WINDOWS\\TEMP\\";
  OsVersionInfo version{1, 4, 10, 1998};          // build number as machine.ini gives it
  std::map<int, std::string> shellFolders;         // CSIDL -> Windows path
  std::map<char, uint64_t> freeBytes;              // drive letter (upper case) -> bytes
};

// The machine's drives as the services need them. Paths are Windows paths, code page 932;
// every method resolves inside the drive's host folder only (confinement holds here too).
class PosixDrives {
 public:
  virtual ~PosixDrives() = default;
  /// Host path of a Windows path (existing components matched without regard to case):
  /// 0, or 123 for an unconvertible name, 3 for a path outside every drive.
  virtual uint32_t HostPath(const std::string& windowsPath, std::string& hostPath) = 0;
  /// Opens an existing file for reading: 0 and a descriptor the caller closes, or the error.
  virtual uint32_t OpenRead(const std::string& windowsPath, int& fd) = 0;
  /// Creates or truncates a file for writing: 0 and a descriptor, or the error (19 on a
  /// read-only drive).
  virtual uint32_t OpenWrite(const std::string& windowsPath, int& fd) = 0;
  /// Maps the current errno to the Windows error code (the one table of the platform).
  virtual uint32_t LastErrorFromErrno(int err) = 0;
};

/// The registry store in registry.db (host path): nullptr and a message on failure.
std::unique_ptr<Registry> CreatePosixRegistry(const std::string& databasePath,
                                              std::string& error);
/// The LZ service over the machine's drives.
std::unique_ptr<LzExpander> CreatePosixLz(PosixDrives& drives);
/// The module loader (dlopen of the host file).
std::unique_ptr<ModuleLoader> CreatePosixModuleLoader(PosixDrives& drives);
/// The shell: special folders from the settings, .lnk files, xdg-open/wine, restart record.
std::unique_ptr<Shell> CreatePosixShell(PosixDrives& drives, FileSystem& files,
                                        const MachineSettings& settings,
                                        std::function<void()> recordRestart);

}  // namespace korvane::posix
