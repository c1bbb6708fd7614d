// Completion of a setup run: the failure report, the completion box, then the restart offer
// or the command of [ExecuteFile], and the finish that ends the main window. Once begun it
// runs to its end: no abort checks and no pauses here.
#include "install/completion.h"

#include <cstdint>

#include "framework/message_box.h"
#include "install/run_macros.h"
#include "script/folder_macros.h"
#include "script/profile_routines.h"
#include "script/setup_script.h"
#include "startup/program.h"

namespace korvane {

namespace {

constexpr const char* kFailureMessage = "一部の処理に失敗しました．";
constexpr const char* kFailureQuestion =
    "フォルダの作成・ファイルのコピーで，一部の処理が失敗しました．\r詳細を表示しますか？";
constexpr const char* kWarningCaption = "警告";
constexpr const char* kDetailsCaption = "作成・コピー処理失敗　詳細表示";
constexpr const char* kCompletedMessage = "セットアップが完了しました．";
constexpr const char* kCompletedBoxText =
    "セットアップが完了しました．\r\rプログラムのアンセットアップ（アンインストール）は，\r"
    "「アプリケーションの追加と削除」から行ってください．";
constexpr const char* kCompletedCaption = "完了";
constexpr const char* kRestartMessage = "Windowsを再起動する必要があります．";
constexpr const char* kRestartDeclinedText = "Windowsを再起動すると，セットアップが完了します．";
constexpr const char* kInformationCaption = "情報";
constexpr const char* kStartFailedText =
    "終了後プログラムの起動に失敗しました．\riniファイルの記述ミスの可能性があります．\r"
    "プログラム提供者へご報告ください．";
constexpr int32_t kFirstSuccessfulExecute = 32;

void ReportFailures(Program& program) {
  TfrmMain& window = program.frmMain;
  window.ShowMessage(kFailureMessage);
  window.ProcessMessages();
  program.state.MessageText = kFailureQuestion;
  program.state.LastAnswer =
      window.Ask(program.state.MessageText, kWarningCaption, kStyleWarningYesNo);
  if (program.state.LastAnswer == kIdYes) {
    window.ShowDetailsAndWait(program.run.FailureLog, kDetailsCaption, kCaptionSetupStart);
  }
}

void OfferRestart(Program& program) {
  program.state.LastAnswer = program.application().RestartQuestion();
  if (program.state.LastAnswer == kIdYes) {
    // The system carries out the restart; the program goes on to its finish.
    program.platform().shell->RequestRestart();
  } else if (program.state.LastAnswer == kIdNo) {
    program.state.LastAnswer =
        program.frmMain.Ask(kRestartDeclinedText, kInformationCaption, kStyleWarning);
  }
}

void ExecuteCommand(Program& program, const std::string& command) {
  const ExecuteFields fields =
      SplitExecuteFile(ResolveAllMacros(command, RunMacroFolders(program)));
  const int32_t result = program.platform().shell->ShellExecute(fields.file, fields.parameters);
  program.application().transcript().Execute(fields.file, fields.parameters, result);
  if (result < kFirstSuccessfulExecute) {
    program.frmMain.Ask(kStartFailedText, kWarningCaption, kStyleWarning);
  }
}

}  // namespace

void Completion(Program& program) {
  if (program.run.FailureCount > 0) ReportFailures(program);

  const std::string executeFile =
      ReadProfile(program.platform(), "ExecuteFile", "File", "", program.state.ScriptCopyPath);
  const bool reboot = executeFile == kRebootWord;

  TfrmMain& window = program.frmMain;
  if (!reboot) {
    window.ShowMessage(kCompletedMessage);
    window.ProcessMessages();
    window.Ask(kCompletedBoxText, kCompletedCaption, kStyleInformation);
  } else {
    window.ShowMessage(kRestartMessage);
    window.ProcessMessages();
  }

  if (reboot) {
    OfferRestart(program);
  } else if (!executeFile.empty()) {
    ExecuteCommand(program, executeFile);
  }

  if (reboot) {
    program.state.Outcome = RunOutcome::RestartNeeded;
  } else {
    program.state.Outcome =
        program.run.FailureCount > 0 ? RunOutcome::CompletedWithFailures : RunOutcome::Completed;
  }
  window.Finish();
}

}  // namespace korvane
