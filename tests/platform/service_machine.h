// A real posix machine in a fresh temporary folder for the service tests (LZ, modules, shell,
// links), with helpers that put files at Windows paths and run host tools.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "platform/posix/posix_machine.h"

namespace korvane::testing {

class TempMachine {
 public:
  TempMachine() {
    char tmpl[] = "/tmp/korvane-services-XXXXXX";
    root_ = ::mkdtemp(tmpl);
    posix::MachineOptions options;
    options.machineDir = root_ + "/machine";
    options.recordingClock = true;
    std::string error;
    machine_ = posix::Machine::Open(options, error);
    EXPECT_NE(machine_, nullptr) << error;
  }
  ~TempMachine() {
    machine_.reset();
    std::filesystem::remove_all(root_);
  }

  posix::Machine& machine() { return *machine_; }
  Platform& platform() { return machine_->platform(); }
  const std::string& Root() const { return root_; }

  /// The host path of a Windows path (code page 932).
  std::string Host(const std::string& windowsPath) {
    std::string host;
    EXPECT_EQ(machine_->HostPath(windowsPath, host), 0u) << windowsPath;
    return host;
  }
  /// Writes bytes to a Windows path, creating its host folders.
  void Write(const std::string& windowsPath, const std::string& bytes) {
    std::string host = Host(windowsPath);
    std::filesystem::create_directories(std::filesystem::path(host).parent_path());
    std::ofstream(host, std::ios::binary) << bytes;
  }
  bool Exists(const std::string& windowsPath) {
    std::string host;
    return machine_->HostPath(windowsPath, host) == 0 && std::filesystem::exists(host);
  }
  std::string Read(const std::string& windowsPath) {
    std::ifstream in(Host(windowsPath), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

 private:
  std::string root_;
  std::unique_ptr<posix::Machine> machine_;
};

/// Runs a shell command: its exit status and its standard output and error.
inline int RunTool(const std::string& command, std::string& output) {
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return -1;
  output.clear();
  char buffer[4096];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  int status = ::pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

/// A host path quoted for the shell.
inline std::string ShellQuote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

/// The value of a "Name : value" line of lnkinfo's report ("<none>" when the line is missing).
inline std::string ReportField(const std::string& report, const std::string& name) {
  size_t at = report.find("\t" + name);
  if (at == std::string::npos) return "<none>";
  size_t colon = report.find(": ", at);
  size_t end = report.find('\n', colon);
  return report.substr(colon + 2, end - colon - 2);
}

}  // namespace korvane::testing
