// The setup run's driver: its start, the phases in their fixed order, pacing, the abort checks
// and StopRun. The phases themselves live in files of their own; nothing here touches a file.
// LeaveRun is caught here only; the registry object's errors and internal faults pass on to the
// window framework, which shows them.
#include "install/setup_run.h"

#include "framework/message_box.h"
#include "install/association_phase.h"
#include "install/completion.h"
#include "install/copy_phase.h"
#include "install/folder_phase.h"
#include "install/free_space_check.h"
#include "install/registry_phase.h"
#include "install/shortcut_phase.h"
#include "install/target_folder_check.h"
#include "startup/program.h"
#include "uninstall/uninstall_record.h"

namespace korvane {

namespace {

constexpr uint32_t kStartPauseMs = 1000;

void StartRun(Program& program) {
  TfrmMain& form = program.frmMain;
  RunState& run = program.run;
  run.FailureLog.clear();
  run.ByteCountValid = true;
  program.state.AbortRequested = false;
  run.FailureCount = 0;
  run.TotalBytes = 0;
  run.CopiedBytes = 0;
  run.DiskNumber = 1;

  for (Control* control :
       {&form.txtFolder, &form.btnEvent, &form.btnRefer, &form.btnEnd, &form.chkOverWrite,
        &form.chkSCutDesktop, &form.chkSCutStartMenu, &form.chkSCutStartUp, &form.chkSCutSendTo}) {
    control->SetEnabled(false);
  }

  form.ShowMessage("セットアップを開始します．．．");
  form.ProcessMessages();
  program.Pause(kStartPauseMs);

  form.btnEvent.SetCaption(kCaptionAbort);
  form.btnEvent.SetEnabled(true);

  run.OptOverwrite = form.chkOverWrite.Checked();
  run.OptDesktop = form.chkSCutDesktop.Checked();
  run.OptStartMenu = form.chkSCutStartMenu.Checked();
  run.OptStartUp = form.chkSCutStartUp.Checked();
  run.OptSendTo = form.chkSCutSendTo.Checked();

  form.ShowMessage("セットアップ情報を作成しています．．．");
  CheckAbort(program);
}

void RunPhases(Program& program) {
  TfrmMain& form = program.frmMain;
  StartRun(program);
  ReadScriptLists(program);

  if (program.run.ByteCountValid) FreeSpaceCheck(program);
  TargetFolderCheck(program);
  MergeEarlierRecord(program);
  FolderPhase(program);

  form.fraStatus.SetVisible(true);
  CopyPhase(program);
  form.fraStatus.SetVisible(false);

  if (!program.lists.ShortcutList.empty()) ShortcutPhase(program);
  if (!program.lists.RegistryList.empty()) RegistryPhase(program);
  if (!program.lists.RelateList.empty()) AssociationPhase(program);

  // From here on the run cannot be aborted.
  form.ShowMessage("アンセットアップ情報を作成しています．．．");
  form.ProcessMessages();
  form.btnEvent.SetEnabled(false);
  form.btnEvent.SetCaption(kCaptionSetupStart);
  WriteUninstallRecord(program);

  program.state.Outcome =
      program.run.FailureCount > 0 ? RunOutcome::CompletedWithFailures : RunOutcome::Completed;
  Completion(program);
  form.Finish();
}

}  // namespace

void SetupRun(Program& program) {
  try {
    RunPhases(program);
  } catch (const LeaveRun&) {
    // Abort or StopRun: the window's end has been requested already.
  }
}

void StopRun(Program& program, const std::string& text, const std::string& caption) {
  program.frmMain.Ask(text, caption, kStyleError);
  program.state.Outcome = RunOutcome::Refused;
  program.frmMain.Finish();
  throw LeaveRun{};
}

void CheckAbort(Program& program) {
  program.frmMain.ProcessMessages();
  if (program.state.AbortRequested) throw LeaveRun{};
}

void PauseStep(Program& program) {
  program.Pause(static_cast<uint32_t>(program.state.SetupSpeed < 1 ? 1 : program.state.SetupSpeed));
}

}  // namespace korvane
