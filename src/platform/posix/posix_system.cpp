// The machine's answers to the system queries. The mutex is flock on DIR/<name>.lock through
// an open file description of this object, so the kernel releases it when the process dies
// and two machines in one process contend like two processes.
#include "platform/posix/posix_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>

#include "platform/encoding.h"
#include "platform/posix/posix_error_texts.h"
#include "platform/win_types.h"

namespace korvane::posix {
namespace {

constexpr char kDefaultProgramFile[] = "C:\\WINDOWS\\UNKORVANE.EXE";
constexpr uint32_t kBytesPerSector = 512;
constexpr uint32_t kSectorsPerCluster = 64;  // 32 KiB clusters
constexpr uint64_t kClusterBytes = uint64_t{kBytesPerSector} * kSectorsPerCluster;
constexpr uint64_t kOldCallLimit = uint64_t{1} << 31;  // GetDiskFreeSpaceA stops at 2 GiB

std::string WithoutTrailingBackslash(std::string folder) {
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

}  // namespace

PosixSystem::PosixSystem(PosixDriveMap& drives, const MachineSettings& settings,
                         std::string machineDir, std::string programFile,
                         std::string programVersion)
    : drives_(drives),
      settings_(settings),
      machineDir_(std::move(machineDir)),
      programFile_(programFile.empty() ? kDefaultProgramFile : std::move(programFile)),
      programVersion_(std::move(programVersion)) {}

std::string PosixSystem::GetTempPath() {
  std::string folder = settings_.tempFolder;
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

std::string PosixSystem::GetWindowsDirectory() {
  return WithoutTrailingBackslash(settings_.windowsFolder);
}

std::string PosixSystem::GetSystemDirectory() {
  return WithoutTrailingBackslash(settings_.systemFolder);
}

bool PosixSystem::GetVersionEx(OsVersionInfo& info) {
  info = settings_.version;
  if (info.platformId == 1) {
    // Windows 9x repeats major.minor in the high word of the build number.
    info.buildNumber =
        (info.major << 24) | ((info.minor & 0xFF) << 16) | (settings_.version.buildNumber & 0xFFFF);
  }
  return true;
}

DiskFreeExLookup PosixSystem::LookupDiskFreeSpaceEx() { return {true, true}; }

bool PosixSystem::GetDiskFreeSpaceEx(const std::string& root, uint64_t& freeToCaller,
                                     uint64_t& totalBytes, uint64_t& totalFree) {
  if (root.rfind("\\\\", 0) == 0) return false;  // a network path: no shares on this machine
  char letter = drives_.current().drive;
  if (root.size() >= 2 && root[1] == ':') letter = static_cast<char>(root[0] & ~0x20);
  const Drive* drive = drives_.FindDrive(letter);
  if (drive == nullptr) return false;
  struct statvfs fs;
  if (statvfs(drive->hostRoot.c_str(), &fs) != 0) return false;
  totalBytes = uint64_t{fs.f_blocks} * fs.f_frsize;
  freeToCaller = uint64_t{fs.f_bavail} * fs.f_frsize;
  totalFree = uint64_t{fs.f_bfree} * fs.f_frsize;
  if (auto it = settings_.freeBytes.find(letter); it != settings_.freeBytes.end()) {
    freeToCaller = totalFree = it->second;
    totalBytes = std::max(totalBytes, it->second);
  }
  return true;
}

bool PosixSystem::GetDiskFreeSpace(const std::string& root, uint32_t& sectorsPerCluster,
                                   uint32_t& bytesPerSector, uint32_t& freeClusters,
                                   uint32_t& totalClusters) {
  uint64_t freeToCaller = 0, totalBytes = 0, totalFree = 0;
  if (!GetDiskFreeSpaceEx(root, freeToCaller, totalBytes, totalFree)) return false;
  sectorsPerCluster = kSectorsPerCluster;
  bytesPerSector = kBytesPerSector;
  freeClusters = static_cast<uint32_t>(std::min(freeToCaller, kOldCallLimit) / kClusterBytes);
  totalClusters = static_cast<uint32_t>(std::min(totalBytes, kOldCallLimit) / kClusterBytes);
  return true;
}

std::optional<std::string> PosixSystem::MapString(uint32_t flags, const std::string& text) {
  return mapper_.Map(flags, text);
}

std::string PosixSystem::FormatMessage(uint32_t code) { return ErrorMessageText(code); }

std::string PosixSystem::GetModuleFileName() { return programFile_; }

VersionInfo PosixSystem::GetProgramVersion() {
  VersionInfo info;
  if (!programVersion_.empty()) {
    info.hasData = true;
    info.fileVersion = programVersion_;
  }
  return info;
}

MutexState PosixSystem::AcquireMutex(const std::string& name) {
  if (mutexLock_.valid()) return name == mutexName_ ? MutexState::Acquired : MutexState::Failed;
  std::string fileName = Cp932ToUtf8Lossy(name);
  std::replace(fileName.begin(), fileName.end(), '/', '_');
  std::replace(fileName.begin(), fileName.end(), '\\', '_');
  std::string path = machineDir_ + "/" + fileName + ".lock";
  // A new open file description per machine: flock contends between them even in one process.
  UniqueFd lock(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666));
  if (!lock.valid()) return MutexState::Failed;
  if (flock(lock.get(), LOCK_EX | LOCK_NB) != 0) {
    return errno == EWOULDBLOCK ? MutexState::HeldByOther : MutexState::Failed;
  }
  mutexLock_ = std::move(lock);
  mutexName_ = name;
  return MutexState::Acquired;
}

void PosixSystem::ReleaseMutex() {
  mutexLock_.Reset();
  mutexName_.clear();
}

}  // namespace korvane::posix
