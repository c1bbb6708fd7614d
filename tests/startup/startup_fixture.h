// A real machine folder in a temporary directory with a package folder on drive Q: holding
// SETUP.INI, and a Program over it driven by the scripted front-end. Also a pass-through
// System that can give the failures of the folder queries that a healthy machine never gives.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "framework/application.h"
#include "platform/fault_injection.h"
#include "platform/posix/posix_machine.h"
#include "startup/program.h"
#include "framework/scripted_front_end.h"

namespace korvane::testing {

class FaultySystem : public PassThroughSystem {
 public:
  using PassThroughSystem::PassThroughSystem;

  std::optional<std::string> tempPath;  // replaces GetTempPath's answer when set
  std::optional<std::string> windowsDirectory;
  std::optional<std::string> systemDirectory;

  std::string GetTempPath() override { return tempPath.value_or(inner_.GetTempPath()); }
  std::string GetWindowsDirectory() override {
    return windowsDirectory.value_or(inner_.GetWindowsDirectory());
  }
  std::string GetSystemDirectory() override {
    return systemDirectory.value_or(inner_.GetSystemDirectory());
  }
};

class MachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvane-forms-XXXXXX");
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    std::filesystem::create_directories(root_ + "/pkg");
  }
  void TearDown() override {
    program_.reset();
    faultySystem_.reset();
    machine_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  /// The machine, opened on first use with the options set so far.
  posix::Machine& Machine() {
    if (!machine_) {
      options.machineDir = root_ + "/machine";
      options.packageDrive = 'Q';
      options.packageHostDir = root_ + "/pkg";
      options.programFile = "Q:\\SETUP.EXE";
      options.recordingClock = true;
      std::string error;
      machine_ = posix::Machine::Open(options, error);
      if (!machine_) ADD_FAILURE() << "machine: " << error;
      platform_ = machine_->platform();
    }
    return *machine_;
  }
  const Platform& platform() {
    Machine();
    return platform_;
  }
  /// Replaces the machine's System by a FaultySystem over it.
  FaultySystem& Faults() {
    Machine();
    if (!faultySystem_) {
      faultySystem_ = std::make_unique<FaultySystem>(*machine_->platform().system);
      platform_.system = faultySystem_.get();
    }
    return *faultySystem_;
  }

  /// SETUP.INI of the package: LF lines in, CR LF lines out (code page 932 bytes).
  void WriteScript(const std::string& text) { WritePackageFile("SETUP.INI", Crlf(text)); }
  void WritePackageFile(const std::string& name, const std::string& bytes) {
    std::ofstream(root_ + "/pkg/" + name, std::ios::binary) << bytes;
  }
  bool PackageFileExists(const std::string& name) {
    return std::filesystem::exists(root_ + "/pkg/" + name);
  }
  /// A machine file by Windows path (its folder must exist).
  void WriteWin(const std::string& path, const std::string& bytes) {
    ASSERT_EQ(platform().files->WriteWholeFile(path, bytes), 0u) << path;
  }
  bool ExistsWin(const std::string& path) {
    uint32_t attributes = 0;
    return platform().files->GetAttributes(path, attributes) == 0;
  }
  static std::string Crlf(const std::string& text) {
    std::string out;
    for (char c : text) {
      if (c == '\n') out += '\r';
      out += c;
    }
    return out;
  }

  /// A program over the machine with the first command-line argument given.
  Program& MakeProgram(const std::string& argument = {}) {
    program_ = std::make_unique<Program>(platform(), app, programOptions, argument);
    return *program_;
  }
  /// A program whose start-up steps have run (as the main window's first activation).
  Program& StartUp(const std::string& argument = {}) {
    Program& program = MakeProgram(argument);
    program.frmMain.FormActivate();
    return program;
  }

  posix::MachineOptions options;
  ProgramOptions programOptions;
  ScriptedFrontEnd frontEnd;
  LineTranscript transcript;
  Application app{frontEnd, transcript};

 private:
  std::string root_;
  std::unique_ptr<posix::Machine> machine_;
  std::unique_ptr<FaultySystem> faultySystem_;
  Platform platform_;
  std::unique_ptr<Program> program_;
};

}  // namespace korvane::testing
