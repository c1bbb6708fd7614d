// The folders that the folder macros of a setup run stand for. (App) and (Set) follow the
// setup folder as the target-folder check took it; the others come from start-up.
#include "install/run_macros.h"

#include "startup/program.h"

namespace korvane {

MacroFolders RunMacroFolders(const Program& program) {
  MacroFolders folders;
  folders.setupFolder = program.run.SetupFolder;
  folders.programFilesFolder = program.state.ProgramFilesFolder;
  folders.windowsFolder = program.state.WindowsFolder;
  folders.systemFolder = program.state.SystemFolder;
  folders.tempFolder = program.state.TempFolder;
  return folders;
}

}  // namespace korvane
