// The start-up steps of the main window's first activation: the folders, the run mode, the
// working copy of the script, the general settings and the first state of both windows.
// Runs once; reports nothing to a caller, only through the windows and the program state.
#include <string>

#include "framework/message_box.h"
#include "script/folder_macros.h"
#include "script/profile_routines.h"
#include "script/setup_script.h"
#include "script/system_routines.h"
#include "script/text_routines.h"
#include "startup/program.h"

namespace korvane {
namespace {

constexpr const char* kFatalWindowsFolder = "【致命的エラー  →  Windowsフォルダ取得失敗】";
constexpr const char* kFatalSystemFolder = "【致命的エラー  →  WindowsSystemフォルダ取得失敗】";
constexpr const char* kFatalIniFile = "【致命的エラー  →  iniファイル読み込み失敗】";
constexpr const char* kCannotGoOn =
    "セットアップ・アンセットアップ（アンインストール）は続行できません．";
constexpr const char* kUnsetupMessage =
    "アンセットアップ（アンインストール）を行います．\r\r開始するには，"
    "「アンセットアップ開始（Ｓ）」を選択してください．\r";
constexpr const char* kSetupMessage = "セットアップを行います．\r";
constexpr const char* kEndAllPrograms =
    "※　処理を開始する前に，必ずすべてのプログラムを終了させてください．";
constexpr const char* kNotInteger = "' は整数ではありません";

// The temporary folder when the system cannot name one: never the program's own folder,
// whose script the close actions would otherwise delete. Empty when none can be had.
std::string FallbackTempFolder(const Platform& platform, const std::string& windowsFolder) {
  if (windowsFolder.empty()) return {};
  const std::string temp = RemoveBackslash(windowsFolder, kSideBack) + "\\TEMP\\";
  if (FolderExists(platform, temp)) return temp;
  const uint32_t created = platform.files->CreateDirectory(RemoveBackslash(temp, kSideBack));
  if (created != 0 && created != kErrorAlreadyExists) return {};
  return temp;
}

}  // namespace

void RunStartupSteps(Program& program) {
  const Platform& platform = program.platform();
  ProgramState& state = program.state;
  TfrmMain& frmMain = program.frmMain;
  TfrmBack& frmBack = program.frmBack;

  // Step 1.
  std::string fatal;
  const std::string argument = state.FirstArgument;

  // Step 2: from here on only the ways of the main window close it.
  frmMain.closeCommandEnabled = false;

  // Steps 3 to 7: the folders.
  state.ProgramFolder = AddBackslash(FolderPart(platform.system->GetModuleFileName()), kSideBack);
  const std::string systemTemp = platform.system->GetTempPath();
  const std::string windowsFolder = platform.system->GetWindowsDirectory();
  if (windowsFolder.empty()) {
    fatal += std::string(kFatalWindowsFolder) + "\r";
  } else {
    state.WindowsFolder = windowsFolder;
  }
  const std::string systemFolder = platform.system->GetSystemDirectory();
  if (systemFolder.empty()) {
    fatal += std::string(kFatalSystemFolder) + "\r";
  } else {
    state.SystemFolder = systemFolder;
  }
  state.TempFolder =
      systemTemp.empty() ? FallbackTempFolder(platform, state.WindowsFolder) : systemTemp;
  state.ProgramFilesFolder =
      RemoveBackslash(FolderPart(state.WindowsFolder), kSideBack) + "\\Program Files";

  // Step 8: the name comparison is case-sensitive on purpose.
  const bool uninstall = NamePart(argument) == "UNSETUP.INI";
  state.RunMode = uninstall ? kRunModeUnsetup : kRunModeSetup;

  // Steps 9 and 10: the working copy; only its existence afterwards counts.
  if (!state.TempFolder.empty()) {
    const std::string tempBase = RemoveBackslash(state.TempFolder, kSideBack);
    if (uninstall) {
      state.ScriptCopyPath = tempBase + "\\UNSETUP.INI";
      FileCopyTo(platform, argument, state.ScriptCopyPath);
    } else {
      const std::string source = RemoveBackslash(state.ProgramFolder, kSideBack) + "\\SETUP.INI";
      state.ScriptCopyPath = tempBase + "\\SETUP.INI";
      if (FileExists(platform, source)) FileCopyTo(platform, source, state.ScriptCopyPath);
    }
  }
  if (state.ScriptCopyPath.empty() || !FileExists(platform, state.ScriptCopyPath)) {
    fatal += std::string(kFatalIniFile) + "\r";
  }

  // Step 11: the failed start-up state.
  if (!fatal.empty()) {
    frmMain.ShowMessage(fatal + "\r" + kCannotGoOn);
    frmMain.btnEvent.SetCaption(kCaptionSetupStart);
    frmMain.btnEvent.SetEnabled(false);
    frmMain.btnEnd.SetCaption(kCaptionEnd);
    frmMain.btnEnd.SetEnabled(true);
    state.Outcome = RunOutcome::StartupFailed;
    return;
  }

  // Step 12.
  program.lists.FolderList.clear();
  program.lists.FileList.clear();
  program.lists.ShortcutList.clear();
  state.MessageText.clear();

  const std::string& script = state.ScriptCopyPath;
  auto read = [&](const std::string& section, const std::string& key,
                  const std::string& defaultValue) {
    return ReadProfile(platform, section, key, defaultValue, script);
  };

  // Step 13: a value that is not an integer ends start-up with the conversion error's box;
  // the end button stays usable so that the program can still be ended.
  const std::string speedText = read("Extend", "SetupSpeed", "400");
  int32_t speed = 0;
  if (!TryStrToInt(speedText, speed)) {
    program.application().MessageBox("'" + speedText + kNotInteger, program.application().Title(),
                                     kStyleError);
    frmMain.btnEnd.SetEnabled(true);
    state.Outcome = RunOutcome::StartupFailed;
    return;
  }
  state.SetupSpeed = speed < 1 ? 1 : speed;

  // Step 14.
  state.SetupTitle = read("Title", "Setup", "Korvane");
  state.UnSetupTitle = read("Title", "UnSetup", state.SetupTitle);

  // Steps 15 to 17: the proposed setup folder.
  std::string folder = "Nothing";
  state.ProgramId = read("ProgramID", "ID", "");
  if (!state.ProgramId.empty()) {
    const std::string installed = RemoveBackslash(state.WindowsFolder, kSideBack) + "\\KORVANE.INI";
    folder = ReadProfile(platform, state.ProgramId, "Folder", "Nothing", installed);
  }
  if (folder == "Nothing") folder = read("DefaultFolder", "Folder", "(Prg)\\");
  MacroFolders macros;
  macros.programFilesFolder = state.ProgramFilesFolder;
  macros.windowsFolder = state.WindowsFolder;
  macros.systemFolder = state.SystemFolder;
  folder = AddBackslash(ResolveProposedFolderMacros(folder, macros), kSideBack);
  frmMain.txtFolder.SetText(folder);

  // Step 18: only the exact text "False" turns the options off.
  const bool optionsEnabled = read("Extend", "Enabled", "") != "False";

  // Step 19: a shortcut box is offered only when some shortcut goes to its place.
  if (!uninstall) {
    const std::pair<const char*, Control*> places[] = {
        {"(Dsk)", &frmMain.chkSCutDesktop},
        {"(Sta)", &frmMain.chkSCutStartMenu},
        {"(Sup)", &frmMain.chkSCutStartUp},
        {"(Sen)", &frmMain.chkSCutSendTo},
    };
    for (int n = 1; n <= kShortCutLast; ++n) {
      const std::string name = read("ShortCut", NumberedKey("Name", n), "");
      for (const auto& [token, box] : places) {
        if (FindBytes(name, token) != std::string::npos) box->SetEnabled(optionsEnabled);
      }
    }
  }

  // Step 20: the opening message.
  if (uninstall) {
    state.MessageText = kUnsetupMessage;
  } else {
    for (int n = 1; n <= kTopMessageLast; ++n) {
      state.MessageText += read("TopMessage", NumberedKey("Message", n), "") + "\r";
    }
    if (state.MessageText == "\r\r\r\r\r") state.MessageText = kSetupMessage;
  }
  state.MessageText += std::string("\r") + kEndAllPrograms;
  frmMain.ShowMessage(state.MessageText);

  // Step 21.
  if (!uninstall) {
    frmMain.txtFolder.SetEnabled(optionsEnabled);
    frmMain.btnRefer.SetEnabled(optionsEnabled);
    frmMain.chkOverWrite.SetEnabled(optionsEnabled);
  }

  // Step 22: the title.
  const std::string& title = uninstall ? state.UnSetupTitle : state.SetupTitle;
  frmBack.lblBackTitle1.SetCaption(title);
  frmBack.lblBackTitle2.SetCaption(title);
  frmMain.SetCaption(title);

  // Step 23.
  if (uninstall) {
    frmMain.btnEvent.SetCaption(kCaptionUnsetupStart);
    frmMain.btnEvent.SetEnabled(true);
    frmMain.btnEnd.SetCaption(kCaptionUnsetupEnd);
    frmMain.btnEnd.SetEnabled(true);
    return;
  }

  // Step 24: the readme is always taken from the program's folder.
  std::string readme = read("Readme", "File", "");
  if (!readme.empty()) {
    readme = RemoveBackslash(state.ProgramFolder, kSideBack) + AddBackslash(readme, kSideFront);
  }
  if (!readme.empty() && FileExists(platform, readme)) {
    frmMain.btnEvent.SetCaption(kCaptionSetupContinue);
    frmMain.btnEvent.SetEnabled(true);
    frmMain.btnEnd.SetEnabled(true);
    std::string text;
    if (platform.files->ReadWholeFile(readme, text) != 0) text.clear();
    // Text and caption first, so that the details view is shown complete.
    frmMain.txtReadme.SetText(text);
    frmMain.fraReadme.SetCaption(read("Readme", "Title", ""));
    frmMain.fraReadme.SetVisible(true);
  } else {
    frmMain.btnEvent.SetCaption(kCaptionSetupStart);
    frmMain.btnEvent.SetEnabled(true);
    frmMain.btnEnd.SetEnabled(true);
  }
}

}  // namespace korvane
