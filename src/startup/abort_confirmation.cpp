// The abort confirmation of a running setup: asks, and on Yes marks the abort for the run to
// see and ends the main window without the closing question. Undoes nothing.
#include "framework/message_box.h"
#include "startup/main_window.h"
#include "startup/program.h"

namespace korvane {

void TfrmMain::AbortConfirmation() {
  ProgramState& state = program_.state;
  state.MessageText =
      "ここでセットアップを中断すると，すでにコピー済みのファイルは削除されません．\r"
      "一度，セットアップを完了してから，アンセットアップ（アンインストール）することを"
      "おすすめします．\r\r本当にセットアップを中断しますか？";
  state.LastAnswer = Ask(state.MessageText, "中断の確認", kStyleQuestion);
  if (state.LastAnswer != kIdYes) return;
  state.AbortRequested = true;
  state.Outcome = RunOutcome::Aborted;
  Finish();
}

}  // namespace korvane
