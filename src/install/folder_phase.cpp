// The folder phase: one CreateDirectoryA per FolderList entry (a missing parent fails), an
// existing folder counting as made. Made folders are recorded for removal; failures are
// logged and the phase goes on.
#include "install/folder_phase.h"

#include "install/run_macros.h"
#include "install/setup_run.h"
#include "script/system_routines.h"
#include "script/text_routines.h"
#include "startup/program.h"

namespace korvane {

void FolderPhase(Program& program) {
  const Platform& platform = program.platform();
  const MacroFolders folders = RunMacroFolders(program);
  for (const std::string& entry : program.lists.FolderList) {
    const std::string folder = ResolveAllMacros(AddBackslash(entry, kSideBack), folders);
    program.frmMain.ShowMessage("フォルダを作成しています．．．\rCreating -> " + folder);
    CheckAbort(program);

    uint32_t error = platform.files->CreateDirectory(folder);
    if (error == kErrorSuccess || error == kErrorAlreadyExists) {
      AddUnlessPresent(platform, program.undo.DeleteFolderList, folder);
    } else {
      program.run.FailureLog += "<Folder> " + folder + "\r\n" + ErrorText(platform, error) + "\r\n";
      ++program.run.FailureCount;
    }
    PauseStep(program);
  }
}

}  // namespace korvane
