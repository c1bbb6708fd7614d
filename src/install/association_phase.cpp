// The association phase: for each RelateList entry, asks the user, notes the extension's
// former association in RestoreRelateList (once per extension), and writes the extension key
// and its own file class below HKEY_CLASSES_ROOT. It never pauses and never logs failures.
#include "install/association_phase.h"

#include <string>
#include <vector>

#include "framework/message_box.h"
#include "framework/registry_object.h"
#include "install/run_macros.h"
#include "install/setup_run.h"
#include "script/folder_macros.h"
#include "script/setup_script.h"
#include "script/system_routines.h"
#include "script/text_routines.h"
#include "startup/program.h"

namespace korvane {

namespace {

constexpr const char* kAssociationStepText = "関連付けを設定しています．．．";
constexpr const char* kQuestionCaption = "関連付けの確認";
constexpr const char* kClassSuffix = "_auto_file";

std::string ExtensionOfRestoreEntry(const std::string& entry) {
  const size_t comma = FindBytes(entry, ",");
  return comma == std::string::npos ? entry : entry.substr(0, comma);
}

// Adds "E,former default" unless the extension is recorded already (the earlier
// installation's entry wins, so that uninstalling restores the state before the first one).
void RecordFormerAssociation(Program& program, const std::string& extension) {
  const Platform& platform = program.platform();
  TRegistry registry(*platform.registry);
  registry.SetRootKey(RootKey::ClassesRoot);
  registry.OpenKey("." + extension, true);

  std::vector<std::string>& list = program.undo.RestoreRelateList;
  const std::string upperExtension = UpperCase(platform, extension);
  for (const std::string& slot : list) {
    if (!slot.empty() && UpperCase(platform, ExtensionOfRestoreEntry(slot)) == upperExtension) {
      return;
    }
  }
  for (std::string& slot : list) {
    if (!slot.empty()) continue;
    std::string former;
    if (registry.ValueExists("")) former = registry.ReadString("");
    slot = extension + "," + former;
    return;
  }
}

void WriteDefaultValue(TRegistry& registry, const std::string& key, const std::string& value) {
  registry.OpenKey(key, true);
  registry.WriteString("", value);
  registry.CloseKey();
}

}  // namespace

void AssociationPhase(Program& program) {
  const MacroFolders folders = RunMacroFolders(program);
  for (RelateEntry& entry : program.lists.RelateList) {
    program.frmMain.ShowMessage(kAssociationStepText);
    CheckAbort(program);

    const RelateNameFields name = SplitRelateName(entry.ExtensionSpec);
    entry.ProgramSpec = ResolveAllMacros(entry.ProgramSpec, folders);
    const std::string iconLocation = RelateIconLocation(entry.ProgramSpec);
    const std::string programPath = RelateProgramPath(iconLocation);

    program.state.MessageText = "拡張子 *." + name.extension + " を\r" + programPath +
                                "\rに関連付けします．よろしいですか？";
    program.state.LastAnswer =
        program.frmMain.Ask(program.state.MessageText, kQuestionCaption, kStyleQuestion);
    if (program.state.LastAnswer != kIdYes) continue;

    const std::string command =
        FindBytes(programPath, " ") == std::string::npos ? programPath : "\"" + programPath + "\"";

    RecordFormerAssociation(program, name.extension);

    const std::string className = name.extension + kClassSuffix;
    TRegistry registry(*program.platform().registry);
    registry.SetRootKey(RootKey::ClassesRoot);
    WriteDefaultValue(registry, "." + name.extension, className);
    WriteDefaultValue(registry, className, name.description);
    WriteDefaultValue(registry, className + "\\DefaultIcon", iconLocation);
    WriteDefaultValue(registry, className + "\\shell\\open\\command", command + " %1");
  }
}

}  // namespace korvane
