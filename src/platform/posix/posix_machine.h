// The Windows machine kept in a host folder: drives under dosdevices/, settings in
// machine.ini, the registry in registry.db. This is the one entry point of the Linux platform;
// the services themselves stay private to this folder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace korvane::posix {

struct MachineOptions {
  std::string machineDir;      // host folder of the machine (created on first use)
  char packageDrive = 0;       // drive letter of the package folder, 0 for none
  std::string packageHostDir;  // host folder mapped read-only to packageDrive
  std::string programFile;     // Windows path of the running program (GetModuleFileName);
                               // empty: C:\WINDOWS\UNKORVANE.EXE
  std::string programVersion = "1.7.0.1695";  // FileVersion of the version resource; "" none
  bool recordingClock = false;                // pauses are recorded, not waited for
  std::string currentDirectory;  // Windows current folder at start; empty: program's folder
};

// A pause recorded by the recording clock.
struct RecordedPause {
  uint32_t ms = 0;
};

class Machine {
 public:
  /// Opens the machine folder, creating its default layout where missing: nullptr and a
  /// UTF-8 message in error on failure.
  static std::unique_ptr<Machine> Open(const MachineOptions& options, std::string& error);
  virtual ~Machine() = default;

  /// The services of this machine, valid for the Machine's life.
  virtual Platform& platform() = 0;
  /// Host path of a Windows path (existing components matched without regard to case, the
  /// rest as given): 0, or 123 for an unconvertible name, 3 for a path outside every drive.
  virtual uint32_t HostPath(const std::string& windowsPath, std::string& hostPath) = 0;
  /// The machine folder (host path).
  virtual const std::string& Dir() const = 0;
  /// Pauses taken so far (recording clock only).
  virtual const std::vector<uint32_t>& RecordedPauses() const = 0;
  /// Whether a restart of Windows was requested and recorded in machine.ini.
  virtual bool RestartRequested() = 0;
};

/// Creates the default layout of a machine folder where missing, changing nothing that
/// exists: false and a UTF-8 message on failure.
bool InitMachineFolder(const std::string& machineDir, std::string& error);

}  // namespace korvane::posix
