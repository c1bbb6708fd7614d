// The default layout of a machine folder: drive_c, the dosdevices link of C:, machine.ini,
// the registry and the folders of a Windows 98 install. Creates only what is missing and
// changes nothing that exists.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/posix/posix_drive_map.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_machine.h"
#include "platform/posix/posix_machine_folder.h"
#include "platform/posix/posix_machine_settings.h"
#include "platform/posix/posix_services.h"
#include "platform/win_types.h"

namespace korvane::posix {
namespace {

bool MakeFolder(const std::string& path, std::string& error) {
  if (mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) return true;
  error = "cannot create " + path + ": " + std::strerror(errno);
  return false;
}

bool WriteNewFile(const std::string& path, const std::string& bytes, std::string& error) {
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    if (errno == EEXIST) return true;
    error = "cannot create " + path + ": " + std::strerror(errno);
    return false;
  }
  bool ok = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  ok = close(fd) == 0 && ok;
  if (!ok) error = "cannot write " + path;
  return ok;
}

// Creates every missing folder of a Windows path; folders on drives that do not exist are
// left alone (a machine.ini may name them).
void CreateWindowsFolder(PosixFileSystem& files, const std::string& windowsPath) {
  WindowsPath parsed;
  if (ParseWindowsPath(windowsPath, WindowsPath{}, false, parsed) != kErrorSuccess) return;
  WindowsPath prefix{parsed.drive, {}};
  for (const auto& component : parsed.components) {
    prefix.components.push_back(component);
    files.CreateDirectory(prefix.ToString());
  }
}

}  // namespace

bool CreateMachineLayout(const std::string& machineDir, std::string& error) {
  if (machineDir.empty()) {
    error = "no machine folder given";
    return false;
  }
  std::error_code ec;
  std::filesystem::create_directories(machineDir, ec);
  if (ec) {
    error = "cannot create " + machineDir + ": " + ec.message();
    return false;
  }
  if (!MakeFolder(machineDir + "/drive_c", error) ||
      !MakeFolder(machineDir + "/dosdevices", error)) {
    return false;
  }
  std::string link = machineDir + "/dosdevices/c:";
  struct stat st;
  if (lstat(link.c_str(), &st) != 0 && symlink("../drive_c", link.c_str()) != 0) {
    error = "cannot create " + link + ": " + std::strerror(errno);
    return false;
  }
  if (!WriteNewFile(machineDir + "/machine.ini", DefaultMachineIni(), error)) return false;

  MachineSettings settings;
  if (!ReadMachineSettings(machineDir, settings, error)) return false;
  std::vector<Drive> drives;
  if (!PosixDriveMap::LoadDrives(machineDir, 0, "", drives, error)) return false;
  PosixDriveMap driveMap(std::move(drives), WindowsPath{});
  PosixFileSystem files(driveMap);
  CreateWindowsFolder(files, settings.windowsFolder);
  CreateWindowsFolder(files, settings.systemFolder);
  CreateWindowsFolder(files, settings.tempFolder);
  CreateWindowsFolder(files, "C:\\Program Files");
  for (const auto& [csidl, folder] : settings.shellFolders) CreateWindowsFolder(files, folder);
  return true;
}

bool InitMachineFolder(const std::string& machineDir, std::string& error) {
  if (!CreateMachineLayout(machineDir, error)) return false;
  struct stat st;
  if (stat((machineDir + "/registry.db").c_str(), &st) == 0) return true;
  return CreatePosixRegistry(machineDir + "/registry.db", error) != nullptr;
}

}  // namespace korvane::posix
