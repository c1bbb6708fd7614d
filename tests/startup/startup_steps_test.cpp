// The start-up steps on a real machine folder: the four first states of the main window, the
// failed start-up lines, the run mode, the working copy, SetupSpeed, the options flag, the
// shortcut boxes, the opening message, the proposed folder and the readme.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "startup/main_window.h"
#include "startup/program.h"
#include "startup/startup_fixture.h"

namespace korvane {
namespace {

using testing::MachineTest;

const std::string kEndAll = "※　処理を開始する前に，必ずすべてのプログラムを終了させてください．";
const std::string kSetupOpening = "セットアップを行います．\r\r" + kEndAll;
const std::string kUnsetupOpening =
    "アンセットアップ（アンインストール）を行います．\r\r開始するには，"
    "「アンセットアップ開始（Ｓ）」を選択してください．\r\r" +
    kEndAll;
const std::string kCannotGoOn =
    "セットアップ・アンセットアップ（アンインストール）は続行できません．";
const std::string kIniLine = "【致命的エラー  →  iniファイル読み込み失敗】";

struct Button {
  std::string caption;
  bool enabled;
  bool operator==(const Button&) const = default;
};
Button Of(const Control& button) { return {button.Caption(), button.Enabled()}; }
std::ostream& operator<<(std::ostream& out, const Button& b) {
  return out << b.caption << (b.enabled ? " enabled" : " disabled");
}

std::vector<bool> OptionsEnabled(const TfrmMain& m) {
  return {m.txtFolder.Enabled(),      m.btnRefer.Enabled(),         m.chkOverWrite.Enabled(),
          m.chkSCutDesktop.Enabled(), m.chkSCutStartMenu.Enabled(), m.chkSCutStartUp.Enabled(),
          m.chkSCutSendTo.Enabled()};
}
std::vector<bool> BoxesChecked(const TfrmMain& m) {
  return {m.chkOverWrite.Checked(), m.chkSCutDesktop.Checked(), m.chkSCutStartMenu.Checked(),
          m.chkSCutStartUp.Checked(), m.chkSCutSendTo.Checked()};
}
const std::vector<bool> kAllOff(7, false);

using StartupStepsTest = MachineTest;

TEST_F(StartupStepsTest, SetupStateWithoutReadme) {
  WriteScript(
      "[Title]\nSetup=テスト ソフト\n[ShortCut]\nName1=(Dsk)テスト\n[Extend]\nSetupSpeed=250\n");
  Program& p = StartUp();
  const TfrmMain& m = p.frmMain;

  EXPECT_EQ(p.state.ProgramFolder, "Q:\\");
  EXPECT_EQ(p.state.TempFolder, "C:\\WINDOWS\\TEMP\\");
  EXPECT_EQ(p.state.WindowsFolder, "C:\\WINDOWS");
  EXPECT_EQ(p.state.SystemFolder, "C:\\WINDOWS\\SYSTEM");
  EXPECT_EQ(p.state.ProgramFilesFolder, "C:\\Program Files");
  EXPECT_EQ(p.state.RunMode, "SETUP");
  EXPECT_EQ(p.state.ScriptCopyPath, "C:\\WINDOWS\\TEMP\\SETUP.INI");
  EXPECT_TRUE(ExistsWin("C:\\WINDOWS\\TEMP\\SETUP.INI"));
  EXPECT_EQ(p.state.SetupSpeed, 250);
  EXPECT_EQ(p.state.SetupTitle, "テスト ソフト");
  EXPECT_EQ(p.state.UnSetupTitle, "テスト ソフト");
  EXPECT_EQ(p.state.Outcome, RunOutcome::None);

  EXPECT_EQ(m.lblMessage.Caption(), kSetupOpening);
  EXPECT_EQ(p.state.MessageText, kSetupOpening);
  EXPECT_EQ(Of(m.btnEvent), (Button{"セットアップ開始(&S)", true}));
  EXPECT_EQ(Of(m.btnEnd), (Button{"セットアップ終了(&E)", true}));
  EXPECT_EQ(m.txtFolder.Text(), "C:\\Program Files\\");
  EXPECT_EQ(OptionsEnabled(m), (std::vector<bool>{true, true, true, true, false, false, false}));
  EXPECT_EQ(BoxesChecked(m), std::vector<bool>(5, true));
  EXPECT_FALSE(m.fraReadme.Visible());
  EXPECT_FALSE(m.closeCommandEnabled);
  EXPECT_EQ(m.Caption(), "テスト ソフト");
  EXPECT_EQ(p.frmBack.lblBackTitle1.Caption(), "テスト ソフト");
  EXPECT_EQ(p.frmBack.lblBackTitle2.Caption(), "テスト ソフト");
}

TEST_F(StartupStepsTest, SetupStateWithReadme) {
  WriteScript("[Readme]\nFile=README.TXT\nTitle=お読みください\n");
  WritePackageFile("README.TXT", "一行目\r\nline two\r\n");
  Program& p = StartUp();
  const TfrmMain& m = p.frmMain;
  EXPECT_EQ(Of(m.btnEvent), (Button{"セットアップ続行(&C)", true}));
  EXPECT_EQ(Of(m.btnEnd), (Button{"セットアップ終了(&E)", true}));
  EXPECT_TRUE(m.fraReadme.Visible());
  EXPECT_EQ(m.fraReadme.Caption(), "お読みください");
  EXPECT_EQ(m.txtReadme.Text(), "一行目\r\nline two\r\n");
  EXPECT_EQ(m.lblMessage.Caption(), kSetupOpening);
  EXPECT_EQ(transcript.Of("details"),
            std::vector<std::string>{"details|お読みください|一行目\r\nline two\r\n"});
}

TEST_F(StartupStepsTest, ReadmeIsAlwaysBesideTheProgram) {
  struct Case {
    const char* file;
    bool found;
  };
  const Case cases[] = {{"README.TXT", true},
                        {"\\README.TXT", true},
                        {"readme.txt", true},
                        {"NOTHERE.TXT", false},
                        {"", false}};
  WritePackageFile("README.TXT", "text");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    WriteScript(std::string("[Readme]\nFile=") + c.file + "\n");
    Program& p = StartUp();
    EXPECT_EQ(p.frmMain.fraReadme.Visible(), c.found);
    EXPECT_EQ(Of(p.frmMain.btnEvent),
              (Button{c.found ? "セットアップ続行(&C)" : "セットアップ開始(&S)", true}));
  }
}

TEST_F(StartupStepsTest, UninstallState) {
  WriteScript("[Title]\nSetup=Setup Title\n");
  Machine();
  platform().files->CreateDirectory("C:\\Program Files");  // may exist already
  ASSERT_EQ(platform().files->CreateDirectory("C:\\Program Files\\App"), 0u);
  WriteWin("C:\\Program Files\\App\\UNSETUP.INI",
           Crlf("[Title]\nSetup=App\nUnSetup=App を削除\n[Extend]\nEnabled=True\n"
                "[ShortCut]\nName1=(Dsk)App\n[DefaultFolder]\nFolder=(Win)\\App\n"));
  Program& p = StartUp("C:\\Program Files\\App\\UNSETUP.INI");
  const TfrmMain& m = p.frmMain;
  EXPECT_EQ(p.state.RunMode, "UNSETUP");
  EXPECT_EQ(p.state.ScriptCopyPath, "C:\\WINDOWS\\TEMP\\UNSETUP.INI");
  EXPECT_TRUE(ExistsWin("C:\\WINDOWS\\TEMP\\UNSETUP.INI"));
  EXPECT_EQ(m.lblMessage.Caption(), kUnsetupOpening);
  EXPECT_EQ(Of(m.btnEvent), (Button{"アンセットアップ開始(&S)", true}));
  EXPECT_EQ(Of(m.btnEnd), (Button{"アンセットアップ終了(&E)", true}));
  EXPECT_EQ(m.txtFolder.Text(), "C:\\WINDOWS\\App\\");
  EXPECT_EQ(OptionsEnabled(m), kAllOff);
  EXPECT_EQ(m.Caption(), "App を削除");
  EXPECT_EQ(p.frmBack.lblBackTitle1.Caption(), "App を削除");
}

TEST_F(StartupStepsTest, MissingUninstallRecordFailsStartUp) {
  WriteScript("[Title]\nSetup=Beside\n");
  Program& p = StartUp("C:\\Program Files\\Gone\\UNSETUP.INI");
  const TfrmMain& m = p.frmMain;
  EXPECT_EQ(m.lblMessage.Caption(), kIniLine + "\r\r" + kCannotGoOn);
  EXPECT_EQ(Of(m.btnEvent), (Button{"セットアップ開始(&S)", false}));
  EXPECT_EQ(Of(m.btnEnd), (Button{"終了(&E)", true}));
  EXPECT_EQ(OptionsEnabled(m), kAllOff);
  EXPECT_EQ(m.Caption(), "Korvane");
  EXPECT_EQ(p.frmBack.lblBackTitle1.Caption(), "");
  EXPECT_EQ(m.txtFolder.Text(), "");
  EXPECT_EQ(p.state.Outcome, RunOutcome::StartupFailed);
  EXPECT_EQ(p.ExitCode(), 4);
}

TEST_F(StartupStepsTest, RunModeNameIsCaseSensitive) {
  WriteScript("[Title]\nSetup=Beside\n");
  Machine();
  WriteWin("C:\\unsetup.ini", Crlf("[Title]\nSetup=Record\n"));
  Program& p = StartUp("C:\\unsetup.ini");
  EXPECT_EQ(p.state.RunMode, "SETUP");
  EXPECT_EQ(p.state.SetupTitle, "Beside");
  EXPECT_EQ(Of(p.frmMain.btnEvent), (Button{"セットアップ開始(&S)", true}));
}

TEST_F(StartupStepsTest, ExistenceIsTestedOnTheWorkingCopy) {
  Machine();  // no SETUP.INI beside the program
  Program& failed = StartUp();
  EXPECT_EQ(failed.frmMain.lblMessage.Caption(), kIniLine + "\r\r" + kCannotGoOn);

  // A working copy left behind by an earlier process lets start-up go on.
  WriteWin("C:\\WINDOWS\\TEMP\\SETUP.INI", Crlf("[Title]\nSetup=Left over\n"));
  Program& p = StartUp();
  EXPECT_EQ(p.state.SetupTitle, "Left over");
  EXPECT_EQ(Of(p.frmMain.btnEvent), (Button{"セットアップ開始(&S)", true}));
}

TEST_F(StartupStepsTest, FolderQueryFailuresAreListedInStepOrder) {
  WriteScript("[Title]\nSetup=X\n");
  Faults().windowsDirectory = "";
  Faults().systemDirectory = "";
  Faults().tempPath = "";
  Program& p = StartUp();
  EXPECT_EQ(p.frmMain.lblMessage.Caption(),
            "【致命的エラー  →  Windowsフォルダ取得失敗】\r"
            "【致命的エラー  →  WindowsSystemフォルダ取得失敗】\r" +
                kIniLine + "\r\r" + kCannotGoOn);
  EXPECT_EQ(Of(p.frmMain.btnEnd), (Button{"終了(&E)", true}));
  EXPECT_EQ(p.state.ScriptCopyPath, "");
}

TEST_F(StartupStepsTest, SystemFolderFailureAlone) {
  WriteScript("[Title]\nSetup=X\n");
  Faults().systemDirectory = "";
  Program& p = StartUp();
  EXPECT_EQ(p.frmMain.lblMessage.Caption(),
            "【致命的エラー  →  WindowsSystemフォルダ取得失敗】\r\r" + kCannotGoOn);
}

TEST_F(StartupStepsTest, WithoutATemporaryFolderTheWorkingCopyGoesBelowWindows) {
  WriteScript("[Title]\nSetup=X\n");
  Faults().tempPath = "";
  Faults().windowsDirectory = "C:\\WIN2";
  ASSERT_EQ(platform().files->CreateDirectory("C:\\WIN2"), 0u);
  Program& p = StartUp();
  EXPECT_EQ(p.state.TempFolder, "C:\\WIN2\\TEMP\\");
  EXPECT_EQ(p.state.ScriptCopyPath, "C:\\WIN2\\TEMP\\SETUP.INI");
  EXPECT_TRUE(ExistsWin("C:\\WIN2\\TEMP\\SETUP.INI"));
  EXPECT_EQ(Of(p.frmMain.btnEvent), (Button{"セットアップ開始(&S)", true}));
}

TEST_F(StartupStepsTest, WithoutAnyTemporaryFolderStartUpFailsAndTheScriptSurvives) {
  WriteScript("[Title]\nSetup=X\n");
  Faults().tempPath = "";
  Faults().windowsDirectory = "C:\\MISSING\\WINDOWS";  // its TEMP cannot be made
  frontEnd.Click("btnEnd");
  Program& p = MakeProgram();
  ASSERT_TRUE(p.Run());
  EXPECT_EQ(p.frmMain.lblMessage.Caption(), kIniLine + "\r\r" + kCannotGoOn);
  EXPECT_EQ(frontEnd.BoxCaptions(), std::vector<std::string>{"終了確認"});
  EXPECT_TRUE(PackageFileExists("SETUP.INI"));
}

TEST_F(StartupStepsTest, SetupSpeedValues) {
  struct Case {
    const char* line;  // the [Extend] line, or "" for none
    int32_t speed;
  };
  const Case cases[] = {{"", 400},
                        {"SetupSpeed=0", 1},
                        {"SetupSpeed=-5", 1},
                        {"SetupSpeed=$10", 16},
                        {"SetupSpeed= 25", 25},
                        {"SetupSpeed=+7", 7},
                        {"SetupSpeed=1", 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    WriteScript(std::string("[Extend]\n") + c.line + "\n");
    Program& p = StartUp();
    EXPECT_EQ(p.state.SetupSpeed, c.speed);
    EXPECT_EQ(Of(p.frmMain.btnEvent), (Button{"セットアップ開始(&S)", true}));
  }
}

TEST_F(StartupStepsTest, SetupSpeedThatIsNoIntegerStopsStartUpButLeavesTheEndButton) {
  const char* values[] = {"abc", "", "12x"};
  for (const char* value : values) {
    SCOPED_TRACE(value);
    WriteScript(std::string("[Title]\nSetup=T\n[Extend]\nSetupSpeed=") + value + "\n");
    frontEnd.boxes.clear();
    Program& p = StartUp();
    ASSERT_EQ(frontEnd.boxes.size(), 1u);
    EXPECT_EQ(frontEnd.boxes[0].text, std::string("'") + value + "' は整数ではありません");
    EXPECT_EQ(frontEnd.boxes[0].caption, "Korvane");
    EXPECT_EQ(frontEnd.boxes[0].style, 16);
    // The remaining steps did not run.
    EXPECT_EQ(p.frmMain.lblMessage.Caption(), "");
    EXPECT_EQ(p.frmMain.Caption(), "Korvane");
    EXPECT_EQ(Of(p.frmMain.btnEvent), (Button{"", false}));
    EXPECT_EQ(Of(p.frmMain.btnEnd), (Button{"セットアップ終了(&E)", true}));
    EXPECT_EQ(OptionsEnabled(p.frmMain), kAllOff);
    EXPECT_EQ(p.ExitCode(), 4);
  }
}

TEST_F(StartupStepsTest, OptionsFlagAndShortcutBoxes) {
  struct Case {
    const char* name;
    const char* script;
    std::vector<bool> enabled;  // txtFolder btnRefer chkOverWrite Dsk Sta Sup Sen
  };
  const Case cases[] = {
      {"no shortcuts", "", {true, true, true, false, false, false, false}},
      {"one name, two places",
       "[ShortCut]\nName1=(Dsk)(Sta)App\n",
       {true, true, true, true, true, false, false}},
      {"every place, last number",
       "[ShortCut]\nName3=(Sup)A\nName20=(Sen)B\nName21=(Dsk)C\n",
       {true, true, true, false, false, true, true}},
      {"Enabled False", "[Extend]\nEnabled=False\n[ShortCut]\nName1=(Dsk)(Sta)(Sup)(Sen)A\n",
       kAllOff},
      {"Enabled false",
       "[Extend]\nEnabled=false\n[ShortCut]\nName1=(Dsk)A\n",
       {true, true, true, true, false, false, false}},
      {"token case matters",
       "[ShortCut]\nName1=(dsk)A\n",
       {true, true, true, false, false, false, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteScript(c.script);
    Program& p = StartUp();
    EXPECT_EQ(OptionsEnabled(p.frmMain), c.enabled);
    EXPECT_EQ(BoxesChecked(p.frmMain), std::vector<bool>(5, true));
  }
}

TEST_F(StartupStepsTest, OpeningMessageFromTopMessage) {
  struct Case {
    const char* name;
    const char* script;
    std::string message;
  };
  const Case cases[] = {
      {"none", "", kSetupOpening},
      {"only Message2", "[TopMessage]\nMessage2=ようこそ\n", "\rようこそ\r\r\r\r\r" + kEndAll},
      {"all five",
       "[TopMessage]\nMessage1=1\nMessage2=2\nMessage3=3\nMessage4=4\nMessage5=5\n"
       "Message6=6\n",
       "1\r2\r3\r4\r5\r\r" + kEndAll},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteScript(c.script);
    Program& p = StartUp();
    EXPECT_EQ(p.frmMain.lblMessage.Caption(), c.message);
  }
}

TEST_F(StartupStepsTest, ProposedFolder) {
  struct Case {
    const char* name;
    const char* script;
    const char* installed;  // KORVANE.INI, or nullptr for none
    const char* folder;
  };
  const Case cases[] = {
      {"default", "", nullptr, "C:\\Program Files\\"},
      {"(Prg) with a name", "[DefaultFolder]\nFolder=(Prg)\\Tools\n", nullptr,
       "C:\\Program Files\\Tools\\"},
      {"(Boo)", "[DefaultFolder]\nFolder=(Boo)Apps\n", nullptr, "C:\\Apps\\"},
      {"other macros stay", "[DefaultFolder]\nFolder=(App)\\x\n", nullptr, "(App)\\x\\"},
      {"installed before", "[ProgramID]\nID=MyApp\n[DefaultFolder]\nFolder=(Prg)\\New\n",
       "[MyApp]\nFolder=D:\\Old\\Place\n", "D:\\Old\\Place\\"},
      {"no section", "[ProgramID]\nID=MyApp\n[DefaultFolder]\nFolder=(Sys)\\New\n",
       "[Other]\nFolder=D:\\Old\n", "C:\\WINDOWS\\SYSTEM\\New\\"},
      {"no Folder key", "[ProgramID]\nID=MyApp\n[DefaultFolder]\nFolder=(Prg)\\New\n",
       "[MyApp]\nPath=D:\\Old\n", "C:\\Program Files\\New\\"},
      {"recorded Nothing", "[ProgramID]\nID=MyApp\n[DefaultFolder]\nFolder=(Win)\\New\n",
       "[MyApp]\nFolder=Nothing\n", "C:\\WINDOWS\\New\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteScript(c.script);
    Machine();
    platform().files->DeleteFile("C:\\WINDOWS\\KORVANE.INI");
    if (c.installed != nullptr) WriteWin("C:\\WINDOWS\\KORVANE.INI", Crlf(c.installed));
    Program& p = StartUp();
    EXPECT_EQ(p.frmMain.txtFolder.Text(), c.folder);
  }
}

TEST_F(StartupStepsTest, TitlesAndProgramId) {
  WriteScript("[Title]\nUnSetup=Only uninstall\n[ProgramID]\nID=PID1\n");
  Program& p = StartUp();
  EXPECT_EQ(p.state.SetupTitle, "Korvane");
  EXPECT_EQ(p.state.UnSetupTitle, "Only uninstall");
  EXPECT_EQ(p.state.ProgramId, "PID1");
  EXPECT_EQ(p.frmMain.Caption(), "Korvane");
}

TEST_F(StartupStepsTest, ReportsMessageAndButtonsToTheTranscript) {
  WriteScript("");
  StartUp();
  EXPECT_EQ(transcript.lines, (std::vector<std::string>{"message|" + kSetupOpening,
                                                        "button|btnEvent|セットアップ開始(&S)|off",
                                                        "button|btnEvent|セットアップ開始(&S)|on",
                                                        "button|btnEnd|セットアップ終了(&E)|on"}));
}

}  // namespace
}  // namespace korvane
