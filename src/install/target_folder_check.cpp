// The target-folder check: the setup folder is the text of txtFolder; a missing folder is
// created after a question. A refusal or a failed creation stops the run; no pause here.
#include "install/target_folder_check.h"

#include "framework/message_box.h"
#include "install/setup_run.h"
#include "script/system_routines.h"
#include "startup/program.h"
#include "uninstall/uninstall_record.h"

namespace korvane {

void TargetFolderCheck(Program& program) {
  TfrmMain& form = program.frmMain;
  ProgramState& state = program.state;
  form.ShowMessage("フォルダをチェックしています．．．");
  CheckAbort(program);

  program.run.SetupFolder = form.txtFolder.Text();
  program.run.EarlierRecordPath = RecordPath(program.run.SetupFolder);
  if (FolderExists(program.platform(), program.run.SetupFolder)) return;

  state.MessageText =
      program.run.SetupFolder + "\r\r" + "このフォルダは存在しません．作成してもよろしいですか？";
  state.LastAnswer = form.Ask(state.MessageText, "フォルダ作成", kStyleQuestion);
  if (state.LastAnswer == kIdYes &&
      !CreateFolderChain(program.platform(), program.run.SetupFolder)) {
    form.Ask("セットアップフォルダの作成に失敗しました．\r\rプログラム作者へご報告ください．",
             "致命的エラー", kStyleError);
    state.LastAnswer = kIdNo;
  }
  if (state.LastAnswer == kIdNo) {
    StopRun(program, "セットアップを続行できませんでした．", "セットアップ中止");
  }
}

}  // namespace korvane
