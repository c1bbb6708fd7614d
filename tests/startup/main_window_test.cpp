// The main window over a real machine folder: the end button with the closing question, the
// readme's continue button, the abort confirmation, the folder selection, the details view,
// the window's controls, and the program's entry and end around it.
#include "startup/main_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/errors.h"
#include "platform/fault_injection.h"
#include "startup/program.h"
#include "startup/startup_fixture.h"

namespace korvane {
namespace {

using testing::MachineTest;

const std::string kCloseQuestion =
    "セットアップ・アンセットアップは終了していません．\r終了してもよろしいですか？";
const std::string kAbortQuestion =
    "ここでセットアップを中断すると，すでにコピー済みのファイルは削除されません．\r"
    "一度，セットアップを完了してから，アンセットアップ（アンインストール）することを"
    "おすすめします．\r\r本当にセットアップを中断しますか？";

using MainWindowTest = MachineTest;

TEST_F(MainWindowTest, ControlsOfTheWindow) {
  WriteScript("");
  const TfrmMain& m = MakeProgram().frmMain;
  EXPECT_EQ(m.GetPlace(), (Place{0, 0, 489, 313}));
  EXPECT_TRUE(m.fixedBorder && m.systemMenu && m.centered && !m.maximized);
  EXPECT_FALSE(m.Visible());
  struct Expected {
    const Control* control;
    ControlKind kind;
    const char* caption;
    const Control* parent;
    Place place;
    bool visible;
    bool enabled;
  };
  const Expected table[] = {
      {&m.grpMessage, ControlKind::GroupBox, "メッセージ", nullptr, {8, 8, 473, 113}, true, true},
      {&m.lblMessage, ControlKind::Label, "", &m.grpMessage, {8, 16, 457, 89}, true, true},
      {&m.fraStatus,
       ControlKind::GroupBox,
       "進行状況",
       &m.grpMessage,
       {8, 64, 457, 41},
       false,
       true},
      {&m.prgStatus, ControlKind::ProgressBar, "", &m.fraStatus, {8, 16, 353, 17}, true, true},
      {&m.lblStatus, ControlKind::Label, "0%(0/0)", &m.fraStatus, {368, 16, 80, 17}, true, true},
      {&m.grpSetupFolder,
       ControlKind::GroupBox,
       "セットアップフォルダ",
       nullptr,
       {8, 128, 473, 49},
       true,
       true},
      {&m.txtFolder, ControlKind::Edit, "", &m.grpSetupFolder, {8, 16, 401, 24}, true, false},
      {&m.btnRefer,
       ControlKind::Button,
       "参照(&R)",
       &m.grpSetupFolder,
       {416, 16, 49, 25},
       true,
       false},
      {&m.grpOption,
       ControlKind::GroupBox,
       "セットアップオプション",
       nullptr,
       {8, 184, 473, 89},
       true,
       true},
      {&m.chkOverWrite,
       ControlKind::CheckBox,
       "自動的に上書きする（同名ファイルが存在した場合は，最新ファイルをコピーします）．",
       &m.grpOption,
       {8, 16, 457, 17},
       true,
       false},
      {&m.fraShortCut,
       ControlKind::GroupBox,
       "ショートカットの作成",
       &m.grpOption,
       {8, 40, 457, 41},
       true,
       true},
      {&m.chkSCutDesktop,
       ControlKind::CheckBox,
       "デスクトップ",
       &m.fraShortCut,
       {8, 16, 105, 17},
       true,
       false},
      {&m.chkSCutStartMenu,
       ControlKind::CheckBox,
       "スタートメニュー",
       &m.fraShortCut,
       {120, 16, 105, 17},
       true,
       false},
      {&m.chkSCutStartUp,
       ControlKind::CheckBox,
       "スタートアップ",
       &m.fraShortCut,
       {232, 16, 105, 17},
       true,
       false},
      {&m.chkSCutSendTo,
       ControlKind::CheckBox,
       "送る",
       &m.fraShortCut,
       {344, 16, 105, 17},
       true,
       false},
      {&m.fraReadme, ControlKind::GroupBox, "", nullptr, {8, 8, 473, 265}, false, true},
      {&m.txtReadme, ControlKind::Memo, "", &m.fraReadme, {8, 16, 457, 241}, true, true},
      {&m.btnEvent, ControlKind::Button, "", nullptr, {64, 280, 161, 25}, true, false},
      {&m.btnEnd,
       ControlKind::Button,
       "セットアップ終了(&E)",
       nullptr,
       {272, 280, 153, 25},
       true,
       false},
  };
  for (const Expected& e : table) {
    SCOPED_TRACE(e.control->Name());
    EXPECT_EQ(e.control->Kind(), e.kind);
    EXPECT_EQ(e.control->Caption(), e.caption);
    EXPECT_EQ(e.control->Parent(), e.parent);
    EXPECT_EQ(e.control->GetPlace(), e.place);
    EXPECT_EQ(e.control->Visible(), e.visible);
    EXPECT_EQ(e.control->Enabled(), e.enabled);
    EXPECT_EQ(e.control->Checked(), e.kind == ControlKind::CheckBox);
    if (e.control == &m.lblStatus) {
      EXPECT_EQ(e.control->font.pixels, 13);
      EXPECT_TRUE(e.control->centered);
    } else if (e.control == &m.txtFolder) {
      EXPECT_EQ(e.control->font.pixels, 16);
    } else if (e.control == &m.txtReadme) {
      EXPECT_EQ(e.control->font.name, "ＭＳ ゴシック");
      EXPECT_TRUE(e.control->font.fixedPitch && e.control->readOnly && e.control->verticalScroll);
    } else {
      EXPECT_EQ(e.control->font.name, "ＭＳ Ｐゴシック");
      EXPECT_EQ(e.control->font.pixels, 12);
    }
  }
  EXPECT_EQ(m.prgStatus.maximum, 100);
  EXPECT_EQ(m.prgStatus.step, 5);
  EXPECT_EQ(m.dlgFolder.Title, "セットアップフォルダを選択してください．");
}

TEST_F(MainWindowTest, EndButtonAsksNoKeepsEverythingYesEndsAndDeletesTheWorkingCopy) {
  WriteScript("[Title]\nSetup=App\n");
  Program& p = MakeProgram();
  frontEnd.Answer("終了確認", 7);
  frontEnd.Answer("終了確認", 6);
  frontEnd.Click("btnEnd");
  std::vector<std::string> afterNo;
  frontEnd.beforePoll = nullptr;
  frontEnd.onBox = [&](const testing::ShownBox& box) {
    if (box.caption == "終了確認" && frontEnd.boxes.size() == 1) {
      // The second question: everything as after the first No.
      afterNo = {p.frmMain.btnEvent.Caption(), p.frmMain.btnEnd.Caption(),
                 p.frmMain.txtFolder.Text(), std::to_string(p.frmMain.ModalResult())};
    }
  };
  frontEnd.Click("btnEnd");
  ASSERT_TRUE(p.Run());

  ASSERT_EQ(frontEnd.boxes.size(), 2u);
  EXPECT_EQ(frontEnd.boxes[0].text, kCloseQuestion);
  EXPECT_EQ(frontEnd.boxes[0].style, 36);
  EXPECT_EQ(afterNo, (std::vector<std::string>{"セットアップ開始(&S)", "セットアップ終了(&E)",
                                               "C:\\Program Files\\", "1"}));
  EXPECT_EQ(p.state.LastAnswer, 6);
  EXPECT_TRUE(p.frmBack.Enabled());
  EXPECT_FALSE(ExistsWin("C:\\WINDOWS\\TEMP\\SETUP.INI"));
  EXPECT_TRUE(PackageFileExists("SETUP.INI"));
  EXPECT_EQ(p.ExitCode(), 0);
  EXPECT_TRUE(app.Terminated());
}

TEST_F(MainWindowTest, AfterAFailedStartUpTheEndButtonStillAsks) {
  Program& p = MakeProgram("C:\\GONE\\UNSETUP.INI");
  frontEnd.Answer("終了確認", 6);
  frontEnd.Click("btnEvent");  // disabled: nothing
  frontEnd.Click("btnEnd");
  ASSERT_TRUE(p.Run());
  EXPECT_EQ(frontEnd.BoxCaptions(), std::vector<std::string>{"終了確認"});
  EXPECT_EQ(p.frmMain.btnEnd.Caption(), "終了(&E)");
  EXPECT_EQ(p.ExitCode(), 4);
}

TEST_F(MainWindowTest, ReadmeContinueOnlyHidesTheReadme) {
  WriteScript("[Readme]\nFile=README.TXT\n");
  WritePackageFile("README.TXT", "read me");
  Program& p = StartUp();
  p.frmMain.btnEventClick();
  EXPECT_FALSE(p.frmMain.fraReadme.Visible());
  EXPECT_EQ(p.frmMain.btnEvent.Caption(), "セットアップ開始(&S)");
  EXPECT_TRUE(p.frmMain.btnEvent.Enabled());
  EXPECT_EQ(p.frmMain.lblMessage.Caption(), p.state.MessageText);
}

TEST_F(MainWindowTest, ReadmeThenStartRunsTheSetup) {
  WriteScript("[Readme]\nFile=README.TXT\n");
  WritePackageFile("README.TXT", "read me");
  Program& p = MakeProgram();
  frontEnd.Click("btnEvent");
  frontEnd.Click("btnEvent");
  ASSERT_TRUE(p.Run());
  EXPECT_TRUE(transcript.Of("message").size() >= 2);
  EXPECT_EQ(transcript.Of("message")[1], "message|セットアップを開始します．．．");
  // A completed run ends the window by itself: no closing question, the working copy gone.
  const std::vector<std::string> captions = frontEnd.BoxCaptions();
  EXPECT_EQ(std::count(captions.begin(), captions.end(), "終了確認"), 0);
  EXPECT_EQ(p.ExitCode(), 0);
  EXPECT_FALSE(ExistsWin("C:\\WINDOWS\\TEMP\\SETUP.INI"));
}

TEST_F(MainWindowTest, AbortConfirmationNoChangesNothingYesEndsTheWindow) {
  WriteScript("");
  Program& p = StartUp();
  frontEnd.Answer("中断の確認", 7);
  p.frmMain.AbortConfirmation();
  ASSERT_EQ(frontEnd.boxes.size(), 1u);
  EXPECT_EQ(frontEnd.boxes[0].text, kAbortQuestion);
  EXPECT_EQ(frontEnd.boxes[0].style, 36);
  EXPECT_EQ(p.state.MessageText, kAbortQuestion);
  EXPECT_EQ(p.state.LastAnswer, 7);
  EXPECT_FALSE(p.state.AbortRequested);
  EXPECT_FALSE(p.frmBack.Enabled());
  EXPECT_EQ(p.frmMain.ModalResult(), 0);

  frontEnd.Answer("中断の確認", 6);
  p.frmMain.AbortConfirmation();
  EXPECT_TRUE(p.state.AbortRequested);
  EXPECT_TRUE(p.frmBack.Enabled());
  EXPECT_EQ(p.frmMain.ModalResult(), 1);
  EXPECT_EQ(p.ExitCode(), 3);
}

TEST_F(MainWindowTest, AbortDuringTheRunNoGoesOnYesEndsWithoutTheClosingQuestion) {
  for (int answer : {7, 6}) {
    SCOPED_TRACE(answer);
    const std::string folder = answer == 6 ? "C:\\ABORTED" : "C:\\GOESON";
    WriteScript("[DefaultFolder]\nFolder=" + folder + "\n[CopyFile]\nFile1=(App)\\A.TXT\n");
    WritePackageFile("A.TXT", "payload");
    testing::ScriptedFrontEnd fe;
    testing::LineTranscript tr;
    Application application(fe, tr);
    Program p(platform(), application, programOptions, "");
    fe.Answer("中断の確認", answer);
    fe.Click("btnEvent");
    bool clicked = false;
    fe.beforePoll = [&] {
      if (!clicked && p.frmMain.btnEvent.Caption() == kCaptionAbort &&
          p.frmMain.btnEvent.Enabled()) {
        clicked = true;
        fe.Click("btnEvent");
      }
    };
    ASSERT_TRUE(p.Run());
    ASSERT_TRUE(clicked);
    std::vector<std::string> captions = fe.BoxCaptions();
    EXPECT_EQ(std::count(captions.begin(), captions.end(), "中断の確認"), 1);
    EXPECT_EQ(std::count(captions.begin(), captions.end(), "終了確認"), 0);
    EXPECT_FALSE(ExistsWin("C:\\WINDOWS\\TEMP\\SETUP.INI"));
    if (answer == 6) {
      EXPECT_TRUE(p.state.AbortRequested);
      EXPECT_EQ(p.ExitCode(), 3);
      EXPECT_FALSE(ExistsWin(folder + "\\UNSETUP.INI"));
    } else {
      EXPECT_FALSE(p.state.AbortRequested);
      EXPECT_TRUE(ExistsWin(folder + "\\UNSETUP.INI"));
      EXPECT_TRUE(ExistsWin(folder + "\\A.TXT"));
    }
  }
}

TEST_F(MainWindowTest, FolderSelection) {
  struct Case {
    const char* name;
    std::optional<std::string> chosen;
    const char* folder;
  };
  const Case cases[] = {
      {"a folder", "C:\\APPS", "C:\\APPS\\"},
      {"a drive root", "C:\\", "C:\\"},
      {"a folder ending in a double-byte 0x5C", "C:\\表", "C:\\表\\"},
      {"cancel", std::nullopt, "C:\\Program Files\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteScript("");
    Program& p = StartUp();
    frontEnd.folders.push_back(c.chosen);
    p.frmMain.btnReferClick();
    EXPECT_EQ(p.frmMain.txtFolder.Text(), c.folder);
  }
  EXPECT_EQ(frontEnd.browserFlags, std::vector<uint32_t>(4, 0x1));
  EXPECT_EQ(frontEnd.browserTitles[0], "セットアップフォルダを選択してください．");
}

TEST_F(MainWindowTest, FolderDialogFlagsAndPath) {
  WriteScript("");
  Program& p = MakeProgram();
  TFolderDialog& dialog = p.frmMain.dlgFolder;
  EXPECT_EQ(dialog.Flags(), 0x1u);
  dialog.Option = {TFolderDlgOption::bifReturnOnlyFSDirs, TFolderDlgOption::bifStatusText};
  EXPECT_EQ(dialog.Flags(), 0x5u);
  dialog.Option = {TFolderDlgOption::bifBrowseForComputer, TFolderDlgOption::bifBrowseForPrinter,
                   TFolderDlgOption::bifDontGoBelowDomain, TFolderDlgOption::bifReturnFSAncestors};
  EXPECT_EQ(dialog.Flags(), 0x300Au);

  frontEnd.folders = {"D:\\WORK", std::nullopt, "D:"};
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Path(), "D:\\WORK");
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.Path(), "D:\\WORK");
  EXPECT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Path(), "D:\\");
  EXPECT_EQ(frontEnd.browserFlags.back(), 0x300Au);
}

// Runs the details view from inside the main window's modal display, as a run does.
void ShowDetailsInsideTheWindow(Program& p, testing::ScriptedFrontEnd& frontEnd,
                                const std::string& startCaption) {
  bool shown = false;
  frontEnd.onIdle = [&] {
    if (shown) return;
    shown = true;
    p.frmMain.ShowDetailsAndWait("<File> C:\\A\r\n", "失敗したファイル", startCaption);
  };
  p.application().ShowModal(p.frmMain);
  frontEnd.onIdle = nullptr;
  ASSERT_TRUE(shown);
}

TEST_F(MainWindowTest, DetailsViewWaitsForContinue) {
  WriteScript("");
  Program& p = StartUp();
  TfrmMain& m = p.frmMain;
  m.btnEvent.SetCaption(kCaptionSetupStart);
  m.btnEvent.SetEnabled(false);
  int polls = 0;
  frontEnd.beforePoll = [&] {
    if (++polls == 3) frontEnd.Click("btnEvent");
  };
  transcript.lines.clear();
  ShowDetailsInsideTheWindow(p, frontEnd, kCaptionSetupStart);
  // Three waits of 200 ms; the third round handles the click and finds nothing more.
  EXPECT_EQ(polls, 4);
  EXPECT_EQ(Machine().RecordedPauses(), std::vector<uint32_t>(3, 200));
  EXPECT_TRUE(transcript.Of("pause").empty());
  const std::vector<std::string> expected = {
      "button|btnEvent|続行(&C)|off", "button|btnEvent|続行(&C)|on",
      "details|失敗したファイル|<File> C:\\A\r\n", "button|btnEvent|続行(&C)|off",
      "button|btnEvent|セットアップ開始(&S)|off"};
  EXPECT_EQ(std::vector<std::string>(transcript.lines.begin(), transcript.lines.begin() + 5),
            expected);
  EXPECT_FALSE(m.fraReadme.Visible());
  EXPECT_EQ(m.txtReadme.Text(), "<File> C:\\A\r\n");
}

TEST_F(MainWindowTest, DetailsViewGivesUpWhenTheInputHasEnded) {
  WriteScript("");
  Program& p = StartUp();
  frontEnd.beforePoll = [&] { frontEnd.Quit(); };
  ShowDetailsInsideTheWindow(p, frontEnd, kCaptionUnsetupStart);
  EXPECT_EQ(p.frmMain.btnEvent.Caption(), kCaptionUnsetupStart);
  EXPECT_FALSE(p.frmMain.btnEvent.Enabled());
  EXPECT_FALSE(p.frmMain.fraReadme.Visible());
}

TEST_F(MainWindowTest, DetailsViewOfAWindowNotShownDoesNotWait) {
  WriteScript("");
  Program& p = StartUp();
  p.frmMain.ShowDetailsAndWait("x", "y", kCaptionSetupStart);
  EXPECT_FALSE(p.frmMain.fraReadme.Visible());
  EXPECT_EQ(p.frmMain.btnEvent.Caption(), kCaptionSetupStart);
}

TEST_F(MainWindowTest, ProgressReportsPositionWithStatus) {
  WriteScript("");
  Program& p = StartUp();
  transcript.lines.clear();
  p.frmMain.fraStatus.SetVisible(true);
  p.frmMain.prgStatus.SetPosition(40);
  p.frmMain.lblStatus.SetCaption("40%(2/5)");
  p.frmMain.prgStatus.SetPosition(40);
  EXPECT_EQ(transcript.lines,
            (std::vector<std::string>{"progress|40|0%(0/0)", "progress|40|40%(2/5)"}));
}

TEST_F(MainWindowTest, PausesAreReportedAndSkippedOnlyWhenAsked) {
  WriteScript("");
  Program& waiting = MakeProgram();
  waiting.Pause(400);
  programOptions.skipPauses = true;
  Program& skipping = MakeProgram();
  skipping.Pause(1000);
  EXPECT_EQ(transcript.Of("pause"), (std::vector<std::string>{"pause|400", "pause|1000"}));
  EXPECT_EQ(Machine().RecordedPauses(), std::vector<uint32_t>{400});
}

TEST_F(MainWindowTest, ExitCodesOfTheOutcomes) {
  WriteScript("");
  Program& p = MakeProgram();
  const std::pair<RunOutcome, int> table[] = {{RunOutcome::None, 0},
                                              {RunOutcome::Completed, 0},
                                              {RunOutcome::CompletedWithFailures, 1},
                                              {RunOutcome::Refused, 2},
                                              {RunOutcome::Aborted, 3},
                                              {RunOutcome::StartupFailed, 4},
                                              {RunOutcome::Error, 5},
                                              {RunOutcome::RestartNeeded, 6}};
  for (const auto& [outcome, code] : table) {
    p.state.Outcome = outcome;
    EXPECT_EQ(p.ExitCode(), code);
  }
}

TEST_F(MainWindowTest, ProgramEntryShowsBothWindowsAndEndsTheApplication) {
  WriteScript("[Title]\nSetup=App\n");
  Program& p = MakeProgram();
  frontEnd.Click("btnEnd");
  ASSERT_TRUE(p.Run());
  EXPECT_EQ(app.Title(), "Korvane");
  EXPECT_EQ(frontEnd.shownForms, (std::vector<std::string>{"frmBack", "frmMain"}));
  EXPECT_EQ(frontEnd.hiddenForms, (std::vector<std::string>{"frmMain", "frmBack"}));
  EXPECT_EQ(p.frmBack.GetPlace(), (Place{0, 0, 1024, 768}));
  EXPECT_EQ(p.frmBack.Caption(), "Korvane Version1.70(Build:1695)");
  EXPECT_TRUE(app.Terminated());
}

TEST_F(MainWindowTest, SecondInstanceEndsAtOnceWithoutAWindow) {
  WriteScript("");
  ASSERT_EQ(Machine().platform().system->AcquireMutex(kMutexName), MutexState::Acquired);
  posix::MachineOptions second = options;
  std::string error;
  std::unique_ptr<posix::Machine> other = posix::Machine::Open(second, error);
  ASSERT_NE(other, nullptr) << error;
  Program p(other->platform(), app, programOptions, "");
  EXPECT_FALSE(p.Run());
  EXPECT_TRUE(frontEnd.shownForms.empty());
  EXPECT_TRUE(frontEnd.boxes.empty());
  Machine().platform().system->ReleaseMutex();
}

TEST_F(MainWindowTest, ErrorEndingARunIsShownAndLeavesTheProgramClosable) {
  WriteScript(
      "[DefaultFolder]\nFolder=C:\\APP\n[Registry]\nKey1=(Cuser)Software\\Sample\n"
      "Name1=Path\nValue1=(Str)(App)\n");
  FaultInjectingRegistry refusing(*Machine().platform().registry);
  refusing.setValueFault = [](RootKey, const std::string&, const std::string&) {
    return kErrorAccessDenied;
  };
  Platform faulty = platform();
  faulty.registry = &refusing;
  Program p(faulty, app, programOptions, "");
  frontEnd.Click("btnEvent");
  ASSERT_TRUE(p.Run());
  // The error's box and event, and the window closed without the closing question.
  const std::vector<std::string> errors = transcript.Of("error");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "error|'Path' の設定に失敗しました");
  EXPECT_EQ(frontEnd.boxes.back().caption, "Korvane");
  EXPECT_EQ(frontEnd.boxes.back().style, 16);
  const std::vector<std::string> captions = frontEnd.BoxCaptions();
  EXPECT_EQ(std::count(captions.begin(), captions.end(), "終了確認"), 0);
  EXPECT_EQ(p.ExitCode(), 5);
  EXPECT_FALSE(ExistsWin("C:\\WINDOWS\\TEMP\\SETUP.INI"));
}

}  // namespace
}  // namespace korvane
