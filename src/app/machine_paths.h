// Host paths and Windows paths of a machine folder at the command line's edge: the machine
// folder to use, and a host path inside one of the machine's drives as a Windows path.
#pragma once

#include <string>

#include "app/commands.h"

namespace korvane {

/// The machine folder: --machine, else $KORVANE_MACHINE, else the data home's
/// korvane/machine; made absolute. "" when none can be found.
std::string ChooseMachineDir(const std::string& option, const CommandIo& io);

/// The Windows path (code page 932) of a host path inside one of the drives of the machine
/// folder: false when it lies outside every drive or has no code page 932 form.
bool HostToWindowsPath(const std::string& machineDir, const std::string& hostPath,
                       std::string& windowsPath);

/// Whether a command-line path is written as a Windows path ("C:\...", "c:/...").
bool LooksLikeWindowsPath(const std::string& path);

/// ASCII letters folded to upper case, leaving the second bytes of double-byte characters.
std::string UpperSjis(const std::string& text);

}  // namespace korvane
