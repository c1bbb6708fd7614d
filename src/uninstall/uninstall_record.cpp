// The uninstall record: the merge of an earlier record of the same setup folder into the undo
// lists, and the record phase that writes UNSETUP.INI, refreshes UNKORVANE.EXE, notes the
// folder in KORVANE.INI and makes the uninstall entry. The record phase neither pauses nor
// looks for an abort; an empty uninstall key name never names the Uninstall key itself.
#include "uninstall/uninstall_record.h"

#include "framework/registry_object.h"
#include "script/profile_routines.h"
#include "script/setup_script.h"
#include "script/system_routines.h"
#include "script/text_routines.h"
#include "startup/program.h"

namespace korvane {

namespace {

constexpr const char* kRecordName = "UNSETUP.INI";
constexpr const char* kUninstallerName = "UNKORVANE.EXE";
constexpr const char* kInstalledProgramsName = "KORVANE.INI";

struct RecordSection {
  const char* section;
  const char* key;
  std::vector<std::string> UndoLists::*list;
};

// Sections of the undo lists, in the order they are merged and written.
constexpr RecordSection kListSections[] = {
    {"DeleteFolder", "Folder", &UndoLists::DeleteFolderList},
    {"DeleteFile", "File", &UndoLists::DeleteFileList},
    {"DeleteShortCut", "File", &UndoLists::DeleteShortCutList},
    {"DeleteRegistry", "Key", &UndoLists::DeleteRegistryList},
    {"RestoreRelate", "Key", &UndoLists::RestoreRelateList},
};

void WriteListSection(Program& program, const RecordSection& section, const std::string& file) {
  const std::vector<std::string>& list = program.undo.*section.list;
  for (size_t n = 1; n <= list.size(); ++n) {
    if (!list[n - 1].empty()) {
      WriteProfile(program.platform(), section.section,
                   NumberedKey(section.key, static_cast<int>(n)), list[n - 1], file);
    }
  }
}

void AddRecordFile(Program& program, const std::string& recordPath) {
  const Platform& platform = program.platform();
  for (std::string& slot : program.undo.DeleteFileList) {
    if (slot.empty()) {
      slot = recordPath;
      return;
    }
    if (UpperCase(platform, NamePart(slot)) == kRecordName) return;
  }
}

// Refreshes the uninstaller copy when SETUP.EXE is newer; a failed copy is a failure line.
void RefreshUninstaller(Program& program, const std::string& uninstaller) {
  const Platform& platform = program.platform();
  const std::string setupProgram =
      RemoveBackslash(program.state.ProgramFolder, kSideBack) + "\\SETUP.EXE";
  uint32_t result = kErrorSuccess;
  if (FileDate(platform, setupProgram) > FileDate(platform, uninstaller)) {
    result = FileCopyTo(platform, setupProgram, uninstaller);
  }
  if (result != kErrorSuccess) {
    program.run.FailureLog +=
        "<SetupFile> " + uninstaller + "\r\n" + ErrorText(platform, result) + "\r\n";
    ++program.run.FailureCount;
  }
}

}  // namespace

std::string RecordPath(const std::string& setupFolder) {
  return RemoveBackslash(setupFolder, kSideBack) + "\\" + kRecordName;
}

void MergeEarlierRecord(Program& program) {
  const Platform& platform = program.platform();
  const std::string record = RecordPath(program.run.SetupFolder);
  if (!FileExists(platform, record)) return;
  for (const RecordSection& section : kListSections) {
    std::vector<std::string>& list = program.undo.*section.list;
    for (size_t n = 1; n <= list.size(); ++n) {
      std::string value = ReadProfile(platform, section.section,
                                      NumberedKey(section.key, static_cast<int>(n)), "", record);
      if (!value.empty()) AddUnlessPresent(platform, list, value);
    }
  }
}

void WriteUninstallRecord(Program& program) {
  const Platform& platform = program.platform();
  const ProgramState& state = program.state;
  const std::string& setupFolder = program.run.SetupFolder;
  const std::string windows = RemoveBackslash(state.WindowsFolder, kSideBack);
  const std::string record = RecordPath(setupFolder);

  const std::string uninstaller = windows + "\\" + kUninstallerName;
  RefreshUninstaller(program, uninstaller);

  const std::string installedPrograms = windows + "\\" + kInstalledProgramsName;
  FlushProfile(platform, installedPrograms);
  if (!state.ProgramId.empty()) {
    WriteProfile(platform, state.ProgramId, "Folder", setupFolder, installedPrograms);
  }

  if (FileExists(platform, record)) FileRemove(platform, record);
  FlushProfile(platform, record);

  WriteProfile(platform, "Information", "Message1", "Korvane UnSetup(UnInstall) Initialize File",
               record);
  WriteProfile(platform, "Information", "Message2", "！！！　警告　！！！", record);
  WriteProfile(platform, "Information", "Message3",
               "このファイルをエディタなどで書き換えたり，削除しないでください．", record);
  WriteProfile(platform, "Information", "Message4",
               "書き換えた場合，アンセットアップ動作の保証はできません．", record);
  WriteProfile(platform, "Title", "UnSetup", state.UnSetupTitle, record);
  WriteProfile(platform, "SetupFolder", "Folder", setupFolder, record);
  WriteProfile(platform, "ProgramID", "ID", state.ProgramId, record);

  WriteListSection(program, kListSections[0], record);
  AddRecordFile(program, record);
  WriteListSection(program, kListSections[1], record);
  WriteListSection(program, kListSections[2], record);
  for (const std::string& key : program.lists.ScriptDeleteRegistryList) {
    if (!key.empty()) AddUnlessPresent(platform, program.undo.DeleteRegistryList, key);
  }
  WriteListSection(program, kListSections[3], record);
  WriteListSection(program, kListSections[4], record);

  const std::string commandLine = uninstaller + " \"" + record + "\"";
  const std::string keyName =
      ReadProfile(platform, "Title", "UnSetupKey", state.UnSetupTitle, state.ScriptCopyPath);
  // An empty name (or one of backslashes only) would make the entry, and the uninstall run's
  // removal of it, the Uninstall key itself.
  if (keyName.find_first_not_of('\\') == std::string::npos) return;
  const std::string keyPath = std::string(kUninstallKeyPrefix) + keyName;
  WriteProfile(platform, "UnSetupRegistryKey", "Key", keyPath, record);

  TRegistry registry(*platform.registry);
  registry.SetRootKey(RootKey::LocalMachine);
  registry.CreateKey(keyPath);
  registry.OpenKey(keyPath, true);
  registry.WriteString("DisplayName", keyName);
  registry.WriteString("UninstallString", commandLine);
  registry.CloseKey();
}

}  // namespace korvane
