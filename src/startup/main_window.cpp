// TfrmMain: the main window's controls with their first states and look, and its click
// handlers: the event button's dispatch on its caption, the end button and the folder
// selection. The runs themselves live in install/ and uninstall/; the close check, the abort
// confirmation and the window operations have files of their own.
#include "startup/main_window.h"

#include "install/setup_run.h"
#include "script/text_routines.h"
#include "startup/program.h"
#include "uninstall/uninstall_run.h"

namespace korvane {
namespace {

constexpr const char* kFolderDialogTitle = "セットアップフォルダを選択してください．";

}  // namespace

TfrmMain::TfrmMain(Program& program)
    : Form("frmMain", "Korvane"),
      grpMessage(
          AddControl("grpMessage", ControlKind::GroupBox, nullptr, {8, 8, 473, 113}, "メッセージ")),
      lblMessage(AddControl("lblMessage", ControlKind::Label, &grpMessage, {8, 16, 457, 89})),
      fraStatus(AddControl("fraStatus", ControlKind::GroupBox, &grpMessage, {8, 64, 457, 41},
                           "進行状況")),
      prgStatus(AddControl("prgStatus", ControlKind::ProgressBar, &fraStatus, {8, 16, 353, 17})),
      lblStatus(
          AddControl("lblStatus", ControlKind::Label, &fraStatus, {368, 16, 80, 17}, "0%(0/0)")),
      grpSetupFolder(AddControl("grpSetupFolder", ControlKind::GroupBox, nullptr, {8, 128, 473, 49},
                                "セットアップフォルダ")),
      txtFolder(AddControl("txtFolder", ControlKind::Edit, &grpSetupFolder, {8, 16, 401, 24})),
      btnRefer(AddControl("btnRefer", ControlKind::Button, &grpSetupFolder, {416, 16, 49, 25},
                          "参照(&R)")),
      grpOption(AddControl("grpOption", ControlKind::GroupBox, nullptr, {8, 184, 473, 89},
                           "セットアップオプション")),
      chkOverWrite(AddControl(
          "chkOverWrite", ControlKind::CheckBox, &grpOption, {8, 16, 457, 17},
          "自動的に上書きする（同名ファイルが存在した場合は，最新ファイルをコピーします）．")),
      fraShortCut(AddControl("fraShortCut", ControlKind::GroupBox, &grpOption, {8, 40, 457, 41},
                             "ショートカットの作成")),
      chkSCutDesktop(AddControl("chkSCutDesktop", ControlKind::CheckBox, &fraShortCut,
                                {8, 16, 105, 17}, "デスクトップ")),
      chkSCutStartMenu(AddControl("chkSCutStartMenu", ControlKind::CheckBox, &fraShortCut,
                                  {120, 16, 105, 17}, "スタートメニュー")),
      chkSCutStartUp(AddControl("chkSCutStartUp", ControlKind::CheckBox, &fraShortCut,
                                {232, 16, 105, 17}, "スタートアップ")),
      chkSCutSendTo(AddControl("chkSCutSendTo", ControlKind::CheckBox, &fraShortCut,
                               {344, 16, 105, 17}, "送る")),
      fraReadme(AddControl("fraReadme", ControlKind::GroupBox, nullptr, {8, 8, 473, 265})),
      txtReadme(AddControl("txtReadme", ControlKind::Memo, &fraReadme, {8, 16, 457, 241})),
      btnEvent(AddControl("btnEvent", ControlKind::Button, nullptr, {64, 280, 161, 25})),
      btnEnd(AddControl("btnEnd", ControlKind::Button, nullptr, {272, 280, 153, 25},
                        kCaptionSetupEnd)),
      dlgFolder(program.application(), *program.platform().files),
      program_(program) {
  // Window: fixed client area, centred, the system menu as the only border icon.
  SetPlace({0, 0, 489, 313});
  fixedBorder = true;
  systemMenu = true;
  centered = true;

  lblMessage.wordWrap = true;
  fraStatus.SetVisible(false);
  prgStatus.minimum = 0;
  prgStatus.maximum = 100;
  prgStatus.step = 5;
  lblStatus.centered = true;
  lblStatus.font.pixels = 13;
  txtFolder.font.pixels = 16;
  txtFolder.SetEnabled(false);
  btnRefer.SetEnabled(false);
  for (Control* box :
       {&chkOverWrite, &chkSCutDesktop, &chkSCutStartMenu, &chkSCutStartUp, &chkSCutSendTo}) {
    box->SetChecked(true);
    box->SetEnabled(false);
  }
  fraReadme.SetVisible(false);
  txtReadme.font.name = "ＭＳ ゴシック";
  txtReadme.font.fixedPitch = true;
  txtReadme.readOnly = true;
  txtReadme.verticalScroll = true;
  btnEvent.SetEnabled(false);
  btnEnd.SetEnabled(false);

  dlgFolder.Title = kFolderDialogTitle;
}

void TfrmMain::FormActivate() {
  if (activated_) return;
  activated_ = true;
  RunStartupSteps(program_);
}

void TfrmMain::Click(Control& control) {
  if (&control == &btnEvent) {
    btnEventClick();
  } else if (&control == &btnEnd) {
    btnEndClick();
  } else if (&control == &btnRefer) {
    btnReferClick();
  }
}

void TfrmMain::btnEventClick() {
  // The caption is the state; the comparison is byte for byte, in this order.
  const std::string caption = btnEvent.Caption();
  if (caption == kCaptionUnsetupStart) {
    UninstallRun(program_);
  } else if (caption == kCaptionSetupStart) {
    SetupRun(program_);
  } else if (caption == kCaptionAbort) {
    AbortConfirmation();
  } else if (caption == kCaptionContinue) {
    btnEvent.SetEnabled(false);
  } else if (caption == kCaptionSetupContinue) {
    fraReadme.SetVisible(false);
    btnEvent.SetCaption(kCaptionSetupStart);
  }
}

void TfrmMain::btnEndClick() { SetModalResult(1); }

void TfrmMain::btnReferClick() {
  if (!dlgFolder.Execute()) return;
  txtFolder.SetText(AddBackslash(dlgFolder.Path(), kSideBack));
}

}  // namespace korvane
