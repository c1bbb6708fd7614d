// The uninstall run: removes what the record lists in a fixed order (installed-programs entry,
// files, shortcuts, folders, registry keys, associations, uninstall entry, setup folder),
// reports the failed steps and ends the program. It reads only the working copy of the record,
// never asks about anything but shared files and the report, and cannot be aborted.
#include "uninstall/uninstall_run.h"

#include <array>
#include <string>
#include <vector>

#include "script/profile_routines.h"
#include "script/system_routines.h"
#include "script/text_routines.h"
#include "startup/program.h"
#include "uninstall/uninstall_steps.h"

namespace korvane {
namespace {

constexpr const char* kMessageWorking = "アンセットアップ（アンインストール）を行っています．．．";
constexpr const char* kMessageSomeFailed = "一部の処理に失敗しました．";
constexpr const char* kReportQuestion =
    "アンセットアップ（アンインストール）の過程で，一部の処理が失敗しました．\r"
    "詳細を表示しますか？";
constexpr const char* kReportCaption = "警告";
constexpr const char* kDetailsCaption = "削除処理失敗　詳細表示";
constexpr const char* kMessageDone = "アンセットアップを完了しました．";
constexpr const char* kDoneCaption = "完了";
constexpr const char* kSharedFileCaption = "ファイル削除の確認";
constexpr const char* kStartUpFolderMark = "\\ｽﾀｰﾄｱｯﾌﾟ\\";
constexpr const char* kSendToFolderMark = "\\SENDTO\\";

constexpr int kStyleYesNoQuestion = 36;
constexpr int kStyleYesNoExclamation = 52;
constexpr int kStyleOkInformation = 64;
constexpr int kAnswerYes = 6;

constexpr std::array<int, 4> kShellFolders = {kCsidlDesktop, kCsidlPrograms, kCsidlStartup,
                                              kCsidlSendTo};

void LogFailure(Program& program, const char* tag, const std::string& path, uint32_t code) {
  RunState& run = program.run;
  run.FailureLog += tag + path + "\r\n" + ErrorText(program.platform(), code) + "\r\n";
  ++run.FailureCount;
}

std::string SharedFileQuestion(const std::string& path) {
  return path +
         "\r\rこのファイルを削除してもよろしいですか？\r\r<<　注意　>>\r"
         "DLL・OCXなどは他のプログラムでも使用される可能性があります．\r"
         "確実に使用されないことがわかっている場合のみ削除してください．";
}

void RemoveFiles(Program& program) {
  for (const std::string& slot : program.undo.DeleteFileList) {
    if (slot.empty()) continue;
    const UninstallFileEntry entry = SplitUninstallFileEntry(slot);
    if (FindBytes(entry.switchText, "/C") != std::string::npos) {
      program.state.LastAnswer = program.frmMain.Ask(SharedFileQuestion(entry.path),
                                                     kSharedFileCaption, kStyleYesNoQuestion);
      if (program.state.LastAnswer != kAnswerYes) continue;
    } else if (FindBytes(entry.switchText, "/L") != std::string::npos) {
      continue;
    }
    const uint32_t result = FileRemove(program.platform(), entry.path);
    if (result != kErrorSuccess) LogFailure(program, "<File> ", entry.path, result);
  }
}

// The shell's own folders, upper-cased without a trailing backslash: removing the folder of a
// shortcut must never take one of them, even when it happens to be empty.
std::vector<std::string> ShellFolders(const Platform& platform) {
  std::vector<std::string> folders;
  for (int csidl : kShellFolders) {
    std::string path;
    if (platform.shell->GetSpecialFolderPath(csidl, path) && !path.empty()) {
      folders.push_back(UpperCase(platform, RemoveBackslash(path, kSideBack)));
    }
  }
  return folders;
}

bool IsShellFolder(const Platform& platform, const std::vector<std::string>& shellFolders,
                   const std::string& folder) {
  const std::string wanted = UpperCase(platform, RemoveBackslash(folder, kSideBack));
  for (const std::string& shellFolder : shellFolders) {
    if (shellFolder == wanted) return true;
  }
  return false;
}

void RemoveShortcuts(Program& program) {
  const Platform& platform = program.platform();
  const std::vector<std::string> shellFolders = ShellFolders(platform);
  for (const std::string& path : program.undo.DeleteShortCutList) {
    if (path.empty()) continue;
    const uint32_t result = FileRemove(platform, path);
    const std::string folder = FolderPart(path);
    // A program group folder goes when it is empty; the shell's folders themselves stay.
    if (FindBytes(path, kStartUpFolderMark) == std::string::npos &&
        FindBytes(UpperCase(platform, path), kSendToFolderMark) == std::string::npos &&
        !folder.empty() && !IsShellFolder(platform, shellFolders, folder)) {
      platform.files->RemoveDirectory(folder);
    }
    if (result != kErrorSuccess) LogFailure(program, "<ShortCut> ", path, result);
  }
}

void RemoveFolders(Program& program) {
  for (const std::string& folder : program.undo.DeleteFolderList) {
    if (folder.empty()) continue;
    const uint32_t result = program.platform().files->RemoveDirectory(folder);
    if (result != kErrorSuccess) LogFailure(program, "<Folder> ", folder, result);
  }
}

void RemoveSetupFolder(Program& program, const std::string& setupFolder) {
  if (setupFolder.empty()) return;
  uint32_t result = program.platform().files->RemoveDirectory(setupFolder);
  // A folder that still holds something reads better as "not empty" than "access denied".
  if (result == kErrorAccessDenied) result = kErrorDirNotEmpty;
  if (result != kErrorSuccess) LogFailure(program, "<SetupFolder> ", setupFolder, result);
}

void ReportFailures(Program& program) {
  if (program.run.FailureCount == 0) return;
  TfrmMain& window = program.frmMain;
  window.ShowMessage(kMessageSomeFailed);
  window.ProcessMessages();
  program.state.MessageText = kReportQuestion;
  program.state.LastAnswer =
      window.Ask(program.state.MessageText, kReportCaption, kStyleYesNoExclamation);
  if (program.state.LastAnswer == kAnswerYes) {
    window.ShowDetailsAndWait(program.run.FailureLog, kDetailsCaption, kCaptionUnsetupStart);
  }
}

}  // namespace

void UninstallRun(Program& program) {
  const Platform& platform = program.platform();
  ProgramState& state = program.state;
  TfrmMain& window = program.frmMain;
  const std::string record = state.ScriptCopyPath;

  window.btnEvent.SetEnabled(false);
  window.btnEnd.SetEnabled(false);
  window.ShowMessage(kMessageWorking);
  window.ProcessMessages();

  state.ProgramId = ReadProfile(platform, "ProgramID", "ID", "", record);
  if (state.ProgramId.empty()) {
    state.ProgramId = ReadProfile(platform, "SetupFolder", "ProgramID", "", record);
  }
  if (!state.ProgramId.empty()) {
    DeleteProfileSection(platform, state.ProgramId,
                         RemoveBackslash(state.WindowsFolder, kSideBack) + "\\KORVANE.INI");
  }

  ReadUninstallLists(program, record);

  // The setup folder cannot be removed while it is the current folder.
  platform.files->SetCurrentDirectory(state.TempFolder);
  const std::string setupFolder = ReadProfile(platform, "SetupFolder", "Folder", "", record);
  program.run.FailureLog.clear();
  program.run.FailureCount = 0;

  RemoveFiles(program);
  RemoveShortcuts(program);
  RemoveFolders(program);
  DeleteRecordedRegistryKeys(program);
  RestoreAssociations(program);
  DeleteUninstallEntry(program, record);
  RemoveSetupFolder(program, setupFolder);

  ReportFailures(program);

  window.ShowMessage(kMessageDone);
  window.ProcessMessages();
  state.MessageText = kMessageDone;
  window.Ask(state.MessageText, kDoneCaption, kStyleOkInformation);
  state.Outcome =
      program.run.FailureCount == 0 ? RunOutcome::Completed : RunOutcome::CompletedWithFailures;
  window.Finish();
}

}  // namespace korvane
