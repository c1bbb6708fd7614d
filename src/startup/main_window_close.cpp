// Ending the main window: the close check (the closing question unless the work is marked
// finished) and the close actions (the working copy deleted, the shell told of changes).
// Failures of the close actions are ignored, as the user cannot act on them.
#include "framework/message_box.h"
#include "platform/win_types.h"
#include "script/system_routines.h"
#include "startup/main_window.h"
#include "startup/program.h"

namespace korvane {

bool TfrmMain::FormCloseQuery() {
  if (program_.frmBack.Enabled()) return true;
  ProgramState& state = program_.state;
  state.LastAnswer =
      Ask("セットアップ・アンセットアップは終了していません．\r終了してもよろしいですか？",
          "終了確認", kStyleQuestion);
  if (state.LastAnswer == kIdNo) {
    SetModalResult(0);
    return false;
  }
  program_.frmBack.SetEnabled(true);
  SetModalResult(1);
  return true;
}

void TfrmMain::FormClose() {
  const Platform& platform = program_.platform();
  // Empty when start-up could not place a working copy: nothing of the user's is deleted.
  if (!program_.state.ScriptCopyPath.empty()) {
    FileRemove(platform, program_.state.ScriptCopyPath);
  }
  for (uint32_t event : {kShcneAssocChanged, kShcneUpdateItem, kShcneUpdateDir}) {
    try {
      platform.shell->ChangeNotify(event);
    } catch (...) {
      // Each notification is on its own: one that fails does not keep the next from running.
    }
  }
}

}  // namespace korvane
