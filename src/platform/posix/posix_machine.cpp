// Machine::Open: reads the machine folder (creating its layout where missing) and wires the
// services together. The only place that knows every posix service; it holds no logic of them.
#include "platform/posix/posix_machine.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "platform/posix/posix_atomic_write.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_drive_map.h"
#include "platform/posix/posix_fd.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_machine_folder.h"
#include "platform/posix/posix_machine_settings.h"
#include "platform/posix/posix_profile_document.h"
#include "platform/posix/posix_profile_store.h"
#include "platform/posix/posix_services.h"
#include "platform/posix/posix_system.h"
#include "platform/win_types.h"

namespace korvane::posix {
namespace {

constexpr char kDefaultProgramFile[] = "C:\\WINDOWS\\UNKORVANE.EXE";

std::string ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The folder the program starts in: the one given, else the program file's folder.
WindowsPath StartFolder(const MachineOptions& options) {
  WindowsPath folder;
  if (!options.currentDirectory.empty() &&
      ParseWindowsPath(options.currentDirectory, WindowsPath{}, false, folder) == kErrorSuccess) {
    return folder;
  }
  std::string program = options.programFile.empty() ? kDefaultProgramFile : options.programFile;
  if (ParseWindowsPath(program, WindowsPath{}, false, folder) == kErrorSuccess) {
    if (!folder.components.empty()) folder.components.pop_back();
    return folder;
  }
  return WindowsPath{'C', {}};
}

class PosixMachine : public Machine {
 public:
  PosixMachine(const MachineOptions& options, MachineSettings settings, std::vector<Drive> drives)
      : dir_(options.machineDir),
        settings_(std::move(settings)),
        drives_(std::move(drives), StartFolder(options)),
        files_(drives_),
        profiles_(drives_, settings_.windowsFolder),
        system_(drives_, settings_, options.machineDir, options.programFile,
                options.programVersion) {
    if (options.recordingClock) {
      clock_ = std::make_unique<RecordingClock>();
    } else {
      clock_ = std::make_unique<PosixClock>();
    }
  }

  bool Connect(std::string& error) {
    registry_ = CreatePosixRegistry(dir_ + "/registry.db", error);
    if (registry_ == nullptr) return false;
    lz_ = CreatePosixLz(drives_);
    modules_ = CreatePosixModuleLoader(drives_);
    shell_ = CreatePosixShell(drives_, files_, settings_, [this] { RecordRestart(); });
    platform_.files = &files_;
    platform_.profiles = &profiles_;
    platform_.system = &system_;
    platform_.clock = clock_.get();
    platform_.registry = registry_.get();
    platform_.lz = lz_.get();
    platform_.modules = modules_.get();
    platform_.shell = shell_.get();
    return true;
  }

  Platform& platform() override { return platform_; }

  uint32_t HostPath(const std::string& windowsPath, std::string& hostPath) override {
    return drives_.HostPath(windowsPath, hostPath);
  }

  const std::string& Dir() const override { return dir_; }

  const std::vector<uint32_t>& RecordedPauses() const override {
    auto* recording = dynamic_cast<const RecordingClock*>(clock_.get());
    return recording != nullptr ? recording->Pauses() : noPauses_;
  }

  bool RestartRequested() override {
    ProfileDocument ini = ProfileDocument::Parse(ReadHostFile(dir_ + "/machine.ini"));
    return ini.Find("Machine", "RestartPending").value_or("") == "1";
  }

 private:
  // machine.ini is UTF-8; the line rules are byte rules, so the ASCII key goes in as it is.
  void RecordRestart() {
    ProfileDocument ini = ProfileDocument::Parse(ReadHostFile(dir_ + "/machine.ini"));
    if (!ini.Set("Machine", "RestartPending", "1")) return;
    UniqueFd folder(open(dir_.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid()) return;
    struct stat st;
    std::string path = dir_ + "/machine.ini";
    bool exists = stat(path.c_str(), &st) == 0;
    ReplaceFileAtomically(folder.get(), "machine.ini", ini.Serialize(), exists ? &st : nullptr,
                          path);
  }

  std::string dir_;
  MachineSettings settings_;
  PosixDriveMap drives_;
  PosixFileSystem files_;
  PosixProfileStore profiles_;
  PosixSystem system_;
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<Registry> registry_;
  std::unique_ptr<LzExpander> lz_;
  std::unique_ptr<ModuleLoader> modules_;
  std::unique_ptr<Shell> shell_;
  Platform platform_;
  std::vector<uint32_t> noPauses_;
};

}  // namespace

std::unique_ptr<Machine> Machine::Open(const MachineOptions& options, std::string& error) {
  // The registry is made (or opened) once, by Connect.
  if (!CreateMachineLayout(options.machineDir, error)) return nullptr;
  MachineSettings settings;
  if (!ReadMachineSettings(options.machineDir, settings, error)) return nullptr;
  std::vector<Drive> drives;
  if (!PosixDriveMap::LoadDrives(options.machineDir, options.packageDrive, options.packageHostDir,
                                 drives, error)) {
    return nullptr;
  }
  auto machine = std::make_unique<PosixMachine>(options, std::move(settings), std::move(drives));
  if (!machine->Connect(error)) return nullptr;
  return machine;
}

}  // namespace korvane::posix
