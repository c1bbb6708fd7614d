// The shortcut phase: one shell link per ShortcutList entry, in the special folder that the
// entry's place token selects, each made file recorded for the uninstallation. A shortcut
// that cannot be made is skipped silently; the phase never writes to the failure log.
#include "install/shortcut_phase.h"

#include <cstdint>

#include "install/run_macros.h"
#include "install/setup_run.h"
#include "platform/win_types.h"
#include "script/folder_macros.h"
#include "script/setup_script.h"
#include "script/system_routines.h"
#include "script/text_routines.h"
#include "startup/program.h"
#include "uninstall/undo_lists.h"

namespace korvane {

namespace {

constexpr const char* kDefaultName = "Default";
constexpr const char* kShortcutStepText = "ショートカットを作成しています．．．\rCreateTarget -> ";
constexpr const char* kCreatingText = "Creating -> ";

int CsidlOfPlace(const std::string& placeToken) {
  if (placeToken == "(Dsk)") return kCsidlDesktop;
  if (placeToken == "(Sup)") return kCsidlStartup;
  if (placeToken == "(Sen)") return kCsidlSendTo;
  // "(Sta)" and every unknown token: the programs folder of the Start menu.
  return kCsidlPrograms;
}

}  // namespace

std::string CreateShortCut(Program& program, const std::string& target, const std::string& linkName,
                           int csidl, const std::string& workingFolder) {
  const Platform& platform = program.platform();
  std::string specialFolder;
  if (!platform.shell->GetSpecialFolderPath(csidl, specialFolder)) return {};

  std::string workFolder = workingFolder;
  if (workFolder.empty() || !FolderExists(platform, workFolder)) workFolder = FolderPart(target);
  workFolder = AddBackslash(workFolder, kSideBack);

  const std::string linkPath =
      RemoveBackslash(specialFolder, kSideBack) + AddBackslash(linkName, kSideFront) + ".lnk";
  const std::string linkFolder = FolderPart(linkPath);
  if (!FolderExists(platform, linkFolder)) CreateFolderChain(platform, linkFolder);

  // A failed save is not noticed (the path is still returned); only a shell link object
  // that cannot be made at all means that no shortcut exists.
  if (!platform.shell->CreateShellLink(linkPath, target, workFolder)) return {};
  return linkPath;
}

void ShortcutPhase(Program& program) {
  const MacroFolders folders = RunMacroFolders(program);
  for (const ShortcutEntry& entry : program.lists.ShortcutList) {
    const std::string target = ResolveAllMacros(entry.ShortcutTarget, folders);
    const std::string name =
        entry.ShortcutName == kDefaultName ? NamePart(target) : entry.ShortcutName;
    const ShortcutNameFields fields = SplitShortcutName(name);
    const std::string workingFolder = fields.workingFolder.empty()
                                          ? std::string()
                                          : ResolveAllMacros(fields.workingFolder, folders);

    program.frmMain.ShowMessage(kShortcutStepText + target + "\r" + kCreatingText +
                                RemoveBackslash(fields.linkName, kSideFront));
    CheckAbort(program);

    const std::string path = CreateShortCut(program, target, fields.linkName,
                                            CsidlOfPlace(fields.placeToken), workingFolder);
    program.Pause(static_cast<uint32_t>(program.state.SetupSpeed));
    if (!path.empty()) AddUnlessPresent(program.platform(), program.undo.DeleteShortCutList, path);
  }
}

}  // namespace korvane
