// Module loading on Linux: a shared object of the machine's drives is opened with dlopen and
// its exports found with dlsym. A Windows PE file cannot run here and is refused before
// dlopen sees it; nothing is ever loaded from outside the drives.
#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "platform/posix/posix_services.h"

namespace korvane::posix {
namespace {

class PosixModuleLoader final : public ModuleLoader {
 public:
  explicit PosixModuleLoader(PosixDrives& drives) : drives_(drives) {}

  void* LoadLibrary(const std::string& path) override {
    int fd = -1;
    if (drives_.OpenRead(path, fd) != kErrorSuccess) return nullptr;
    std::array<char, 4> magic{};
    ssize_t n = ::pread(fd, magic.data(), magic.size(), 0);
    ::close(fd);
    // Only ELF objects are handed to the dynamic loader; an "MZ" file is a Windows module.
    if (n != 4 || magic[0] != 0x7F || magic[1] != 'E' || magic[2] != 'L' || magic[3] != 'F') {
      return nullptr;
    }
    std::string hostPath;
    if (drives_.HostPath(path, hostPath) != kErrorSuccess || hostPath.empty()) return nullptr;
    // A path without a slash would make dlopen search the host's library folders.
    if (hostPath.find('/') == std::string::npos) hostPath = "./" + hostPath;
    return ::dlopen(hostPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  }

  void* GetProcAddress(void* module, const std::string& name) override {
    if (module == nullptr) return nullptr;
    return ::dlsym(module, name.c_str());
  }

  void FreeLibrary(void* module) override {
    if (module != nullptr) ::dlclose(module);
  }

 private:
  PosixDrives& drives_;
};

}  // namespace

std::unique_ptr<ModuleLoader> CreatePosixModuleLoader(PosixDrives& drives) {
  return std::make_unique<PosixModuleLoader>(drives);
}

}  // namespace korvane::posix
