// programs, reg, path, init and the lookup of remove. They open the machine without a
// package drive and never take the single-instance mutex: they do not run the program.
#include "app/info_commands.h"

#include <fstream>
#include <sstream>

#include "app/reg_file.h"
#include "app/uninstall_entries.h"
#include "platform/encoding.h"
#include "platform/posix/posix_machine.h"

namespace korvane {

namespace {

constexpr int kExitUsage = 64;

std::unique_ptr<posix::Machine> OpenMachine(const std::string& machineDir, CommandIo& io) {
  posix::MachineOptions options;
  options.machineDir = machineDir;
  std::string error;
  std::unique_ptr<posix::Machine> machine = posix::Machine::Open(options, error);
  if (!machine) io.err << "korvane: " << error << "\n";
  return machine;
}

}  // namespace

int ProgramsCommand(const std::string& machineDir, CommandIo& io) {
  auto machine = OpenMachine(machineDir, io);
  if (!machine) return kExitUsage;
  for (const UninstallEntry& entry : ListUninstallEntries(*machine->platform().registry)) {
    io.out << Cp932ToUtf8Lossy(entry.key) << '\t' << Cp932ToUtf8Lossy(entry.displayName) << '\t'
           << Cp932ToUtf8Lossy(entry.uninstallString) << '\n';
  }
  return 0;
}

int FindRemoveRecord(const std::string& machineDir, const std::string& name, std::string& record,
                     CommandIo& io) {
  auto machine = OpenMachine(machineDir, io);
  if (!machine) return kExitUsage;
  auto entry = FindUninstallEntry(*machine->platform().registry, name);
  if (!entry) {
    io.err << "korvane: remove: no uninstall entry is named " << Cp932ToUtf8Lossy(name)
           << " (see korvane programs)\n";
    return kExitUsage;
  }
  auto path = RecordOfUninstallString(entry->uninstallString);
  if (!path) {
    io.err << "korvane: remove: the entry " << Cp932ToUtf8Lossy(entry->key)
           << " was not made by korvane: its UninstallString is "
           << Cp932ToUtf8Lossy(entry->uninstallString) << "\n";
    return kExitUsage;
  }
  record = *path;
  return 0;
}

int PathCommand(const std::string& machineDir, const std::string& windowsPath, CommandIo& io) {
  auto machine = OpenMachine(machineDir, io);
  if (!machine) return kExitUsage;
  std::string host;
  uint32_t result = machine->HostPath(windowsPath, host);
  if (result != 0) {
    io.err << "korvane: path: " << Cp932ToUtf8Lossy(windowsPath)
           << (result == 3 ? " is outside every drive of the machine"
                           : " cannot be a host file name")
           << "\n";
    return 1;
  }
  io.out << host << '\n';
  return 0;
}

int InitCommand(const std::string& machineDir, CommandIo& io) {
  std::string error;
  if (!posix::InitMachineFolder(machineDir, error)) {
    io.err << "korvane: init: " << error << "\n";
    return 1;
  }
  return 0;
}

int RegExportCommand(const std::string& machineDir, const std::string& keyUtf8, CommandIo& io) {
  auto machine = OpenMachine(machineDir, io);
  if (!machine) return kExitUsage;
  std::string text;
  std::string error;
  if (!ExportRegistry(*machine->platform().registry, keyUtf8, text, error)) {
    io.err << "korvane: reg export: " << error << "\n";
    return 1;
  }
  io.out << text;
  return 0;
}

int RegImportCommand(const std::string& machineDir, const std::string& file, CommandIo& io) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    io.err << "korvane: reg import: cannot read " << file << "\n";
    return 1;
  }
  std::stringstream bytes;
  bytes << in.rdbuf();
  auto machine = OpenMachine(machineDir, io);
  if (!machine) return kExitUsage;
  std::string error;
  if (!ImportRegistry(*machine->platform().registry, bytes.str(), error)) {
    io.err << "korvane: reg import: " << file << ": " << error << "\n";
    return 1;
  }
  return 0;
}

}  // namespace korvane
