// Test support for the unit tests on a real machine: a temporary folder per test (removed afterwards,
// read-only parts included) and a machine opened in it.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "platform/posix/posix_machine.h"

namespace korvane::posix::testing {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "korvane-posix-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      if (it->is_directory(ec) && !it->is_symlink(ec)) chmod(it->path().c_str(), 0755);
    }
    chmod(path_.c_str(), 0755);
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// UTF-8 text whatever the narrow execution character set is.
inline std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

inline void WriteHostFile(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

inline bool HostExists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// A machine in a fresh temporary folder: DIR = temp/machine, drive C: = DIR/drive_c.
class MachineTest : public ::testing::Test {
 protected:
  void SetUp() override { Open(); }

  void Open(MachineOptions options = {}) {
    if (options.machineDir.empty()) options.machineDir = MachineDir();
    options.recordingClock = true;
    machine_.reset();
    std::string error;
    machine_ = Machine::Open(options, error);
    ASSERT_NE(machine_, nullptr) << error;
  }

  std::string MachineDir() const { return temp_.path() + "/machine"; }
  std::string DriveC() const { return MachineDir() + "/drive_c"; }
  Platform& platform() { return machine_->platform(); }

  TempFolder temp_;
  std::unique_ptr<Machine> machine_;
};

}  // namespace korvane::posix::testing
