// The Windows shell on Linux: special folders from the machine's settings, real .lnk files
// written through the machine's drives, documents opened with xdg-open and programs started
// with wine (detached, never waited for), and the restart request recorded for the machine.
// It must not touch any host file outside the drives except to start the opener.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/posix/lnk_writer.h"
#include "platform/posix/posix_services.h"
#include "platform/registry_fold.h"

namespace korvane::posix {
namespace {

// ShellExecute's answers.
constexpr int32_t kExecuteStarted = 42;
constexpr int32_t kExecuteOutOfMemory = 8;
constexpr int32_t kExecuteNoAssociation = 31;

// Seconds from 1601-01-01 to 1970-01-01.
constexpr uint64_t kEpochDifference = 11644473600ULL;

uint64_t FileTime(const struct timespec& t) {
  return (static_cast<uint64_t>(t.tv_sec) + kEpochDifference) * 10000000ULL +
         static_cast<uint64_t>(t.tv_nsec) / 100;
}

// Splits a Windows path at its backslashes, keeping double-byte characters whole.
std::vector<std::string> Components(const std::string& path) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < path.size(); ++i) {
    auto b = static_cast<unsigned char>(path[i]);
    if (IsCp932LeadByte(b) && i + 1 < path.size()) {
      parts.back() += path[i];
      parts.back() += path[++i];
    } else if (b == '\\') {
      parts.emplace_back();
    } else {
      parts.back() += path[i];
    }
  }
  return parts;
}

std::string Join(const std::vector<std::string>& parts, size_t from, size_t to) {
  std::string out;
  for (size_t i = from; i < to; ++i) {
    if (i > from) out += '\\';
    out += parts[i];
  }
  return out;
}

bool IsDriveAbsolute(const std::string& path) {
  return path.size() >= 3 && path[1] == ':' && path[2] == '\\';
}

// The target as seen from the link's folder ("..\..\DIR\FILE.EXE"): empty when they lie on
// different drives or either is not a full path.
std::string RelativePath(const std::string& linkPath, const std::string& target) {
  if (!IsDriveAbsolute(linkPath) || !IsDriveAbsolute(target)) return "";
  auto from = Components(linkPath);
  auto to = Components(target);
  from.pop_back();  // the link's own name
  if (FoldRegistryName(from[0]) != FoldRegistryName(to[0])) return "";
  while (!from.empty() && from.back().empty()) from.pop_back();
  size_t common = 0;
  while (common < from.size() && common + 1 < to.size() &&
         FoldRegistryName(from[common]) == FoldRegistryName(to[common])) {
    ++common;
  }
  std::string out;
  for (size_t i = common; i < from.size(); ++i) out += "..\\";
  if (out.empty()) out = ".\\";
  return out + Join(to, common, to.size());
}

std::string UpperExtension(const std::string& path) {
  auto parts = Components(path);
  const std::string& name = parts.back();
  auto dot = name.rfind('.');
  if (dot == std::string::npos) return "";
  return FoldRegistryName(name.substr(dot + 1));
}

// "http://...", "mailto:...": an address the shell hands to its URL handler.
bool IsUrl(const std::string& file) {
  std::string folded = FoldRegistryName(file);
  return folded.find("://") != std::string::npos || folded.rfind("MAILTO:", 0) == 0;
}

// A program of the host's PATH, or "" when it is not installed.
std::string FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return "";
  std::string folders = path;
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string folder = folders.substr(start, end - start);
    if (folder.empty()) folder = ".";
    std::string candidate = folder + "/" + name;
    struct stat st {};
    if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
        ::access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
    start = end + 1;
  }
  return "";
}

// Splits a Windows command line into arguments (blanks separate, double quotes group).
std::vector<std::string> SplitParameters(const std::string& parameters) {
  std::vector<std::string> args;
  std::string current;
  bool quoted = false;
  bool any = false;
  for (char c : parameters) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (any) args.push_back(current);
      current.clear();
      any = false;
    } else {
      current += c;
      any = true;
    }
  }
  if (any) args.push_back(current);
  return args;
}

// Starts the program detached from us (its own session, no terminal, stdio on /dev/null):
// false when no process could be made.
bool StartDetached(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    // Only async-signal-safe calls from here on.
    ::setsid();
    pid_t grandchild = ::fork();
    if (grandchild != 0) ::_exit(grandchild < 0 ? 1 : 0);
    int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
      ::dup2(null, 0);
      ::dup2(null, 1);
      ::dup2(null, 2);
      if (null > 2) ::close(null);
    }
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class PosixShell final : public Shell {
 public:
  PosixShell(PosixDrives& drives, FileSystem& files, const MachineSettings& settings,
             std::function<void()> recordRestart)
      : drives_(drives),
        files_(files),
        windowsFolder_(settings.windowsFolder),
        systemFolder_(settings.systemFolder),
        shellFolders_(settings.shellFolders),
        recordRestart_(std::move(recordRestart)) {}

  bool GetSpecialFolderPath(int csidl, std::string& path) override {
    auto it = shellFolders_.find(csidl);
    if (it == shellFolders_.end() || it->second.empty()) return false;
    path = it->second;
    return true;
  }

  bool CreateShellLink(const std::string& linkPath, const std::string& target,
                       const std::string& workingFolder) override {
    ShellLinkData data;
    data.targetPath = FullPath(target);
    data.workingFolder = workingFolder;
    data.relativePath = RelativePath(linkPath, target);
    DescribeTarget(data);
    std::string bytes = BuildShellLink(data);

    // The save's failure is not the caller's concern: it finds the file missing.
    int fd = -1;
    if (drives_.OpenWrite(linkPath, fd) != kErrorSuccess) return true;
    size_t done = 0;
    bool ok = true;
    while (done < bytes.size()) {
      ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        ok = false;
        break;
      }
      done += static_cast<size_t>(n);
    }
    if (::close(fd) != 0) ok = false;
    std::string host;
    if (!ok && drives_.HostPath(linkPath, host) == kErrorSuccess) ::unlink(host.c_str());
    return true;
  }

  int32_t ShellExecute(const std::string& file, const std::string& parameters) override {
    if (IsUrl(file)) {
      // Web and mail addresses go to the desktop's opener as they are.
      std::string opener = FindProgram("xdg-open");
      if (opener.empty()) return kExecuteNoAssociation;
      return StartDetached({opener, file}) ? kExecuteStarted : kExecuteOutOfMemory;
    }
    std::string hostPath;
    if (!Locate(file, hostPath)) return static_cast<int32_t>(kErrorFileNotFound);
    std::string extension = UpperExtension(file);
    bool program = extension == "EXE" || extension == "COM" || extension == "BAT" ||
                   extension == "PIF" || extension == "CMD";
    std::vector<std::string> args;
    if (program) {
      std::string wine = FindProgram("wine");
      if (wine.empty()) return kExecuteNoAssociation;
      args = {wine, hostPath};
      for (auto& arg : SplitParameters(parameters)) args.push_back(std::move(arg));
    } else {
      std::string opener = FindProgram("xdg-open");
      if (opener.empty()) return kExecuteNoAssociation;
      args = {opener, hostPath};
    }
    return StartDetached(args) ? kExecuteStarted : kExecuteOutOfMemory;
  }

  void RequestRestart() override {
    if (recordRestart_) recordRestart_();
  }

  void ChangeNotify(uint32_t event) override {}

 private:
  // The target as SetPath keeps it: relative to the current folder made full, "." and ".."
  // taken out.
  std::string FullPath(const std::string& path) {
    if (path.empty() || path.rfind("\\\\", 0) == 0) return path;
    std::string full = path;
    if (!IsDriveAbsolute(path)) {
      std::string current = files_.GetCurrentDirectory();
      if (current.size() < 2 || current[1] != ':') return path;
      if (path[0] == '\\') {
        full = current.substr(0, 2) + path;
      } else if (path.size() >= 2 && path[1] == ':') {
        return path;  // "C:NAME": relative to a drive's own folder; kept as given
      } else {
        full = current + (current.back() == '\\' ? "" : "\\") + path;
      }
    }
    auto parts = Components(full);
    std::vector<std::string> kept{parts[0]};
    for (size_t i = 1; i < parts.size(); ++i) {
      if (parts[i] == ".") continue;
      if (parts[i] == "..") {
        if (kept.size() > 1) kept.pop_back();
        continue;
      }
      if (parts[i].empty() && i + 1 < parts.size()) continue;
      kept.push_back(parts[i]);
    }
    if (kept.size() == 1) kept.emplace_back();  // the drive root keeps its backslash
    return Join(kept, 0, kept.size());
  }

  // Finds the file as given, else a bare name in the Windows and system folders.
  bool Locate(const std::string& file, std::string& hostPath) {
    std::vector<std::string> candidates{file};
    if (file.find('\\') == std::string::npos && file.find(':') == std::string::npos) {
      candidates.push_back(windowsFolder_ + "\\" + file);
      candidates.push_back(systemFolder_ + "\\" + file);
    }
    for (const auto& candidate : candidates) {
      std::string host;
      struct stat st {};
      if (drives_.HostPath(candidate, host) == kErrorSuccess && ::stat(host.c_str(), &st) == 0) {
        hostPath = host;
        return true;
      }
    }
    return false;
  }

  // Fills in what the link records of its target and of each folder on the way.
  void DescribeTarget(ShellLinkData& data) {
    if (!IsDriveAbsolute(data.targetPath)) return;
    auto parts = Components(data.targetPath);
    while (parts.size() > 1 && parts.back().empty()) parts.pop_back();
    for (size_t i = 1; i < parts.size(); ++i) {
      if (parts[i].empty()) continue;
      LinkPathItem item;
      item.name = parts[i];
      item.folder = i + 1 < parts.size();
      std::vector<FindData> found;
      if (files_.FindFiles(Join(parts, 0, i + 1), found) == kErrorSuccess && !found.empty()) {
        item.folder = (found[0].attributes & kAttrDirectory) != 0;
        item.size = item.folder ? 0 : static_cast<uint32_t>(found[0].size);
        item.dosDateTime = static_cast<uint32_t>(found[0].lastWriteDos);
        item.attributes = static_cast<uint16_t>(found[0].attributes);
      }
      data.items.push_back(std::move(item));
    }
    std::string host;
    struct stat st {};
    if (drives_.HostPath(data.targetPath, host) != kErrorSuccess ||
        ::stat(host.c_str(), &st) != 0) {
      return;
    }
    uint32_t attributes = 0;
    if (files_.GetAttributes(data.targetPath, attributes) != kErrorSuccess) {
      attributes = S_ISDIR(st.st_mode) ? kAttrDirectory : kAttrArchive;
    }
    data.attributes = attributes;
    data.size = S_ISDIR(st.st_mode) ? 0 : static_cast<uint32_t>(st.st_size);
    data.creationTime = FileTime(st.st_ctim);
    data.accessTime = FileTime(st.st_atim);
    data.writeTime = FileTime(st.st_mtim);
  }

  PosixDrives& drives_;
  FileSystem& files_;
  std::string windowsFolder_;
  std::string systemFolder_;
  std::map<int, std::string> shellFolders_;
  std::function<void()> recordRestart_;
};

}  // namespace

std::unique_ptr<Shell> CreatePosixShell(PosixDrives& drives, FileSystem& files,
                                        const MachineSettings& settings,
                                        std::function<void()> recordRestart) {
  return std::make_unique<PosixShell>(drives, files, settings, std::move(recordRestart));
}

}  // namespace korvane::posix
