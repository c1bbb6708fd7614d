// The commands that look at or prepare a machine without running the program: programs,
// reg export, reg import, path, init, and the entry lookup of remove. Each returns its
// exit code and writes UTF-8.
#pragma once

#include <string>

#include "app/commands.h"

namespace korvane {

int ProgramsCommand(const std::string& machineDir, CommandIo& io);
int RegExportCommand(const std::string& machineDir, const std::string& keyUtf8, CommandIo& io);
int RegImportCommand(const std::string& machineDir, const std::string& file, CommandIo& io);
int PathCommand(const std::string& machineDir, const std::string& windowsPath, CommandIo& io);
int InitCommand(const std::string& machineDir, CommandIo& io);
/// The record of the uninstall entry named name (code page 932): 0 and its Windows path,
/// or 64 with a line on standard error (unknown entry, not ours).
int FindRemoveRecord(const std::string& machineDir, const std::string& name, std::string& record,
                     CommandIo& io);

}  // namespace korvane
