// Completion through whole setup runs: the failure report and its details, the completion
// box, the restart offer of WINDOWS_REBOOT, the command of [ExecuteFile] with its macros and
// parameters, a command that cannot start, and the exit codes of each ending.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/scenario.h"

namespace korvane::testing {
namespace {

constexpr const char* kDone = "完了";
constexpr const char* kWarning = "警告";
constexpr const char* kStartFailed =
    "終了後プログラムの起動に失敗しました．\riniファイルの記述ミスの可能性があります．\r"
    "プログラム提供者へご報告ください．";

std::string Script(const std::string& executeFile, bool withFailure = false) {
  std::string script = "[Title]\nSetup=Viewer\n";
  // A target folder that nobody makes: the copy fails and is reported.
  if (withFailure) script += "[CopyFile]\nFile1=(App)\\NOSUB\\VIEW.EXE\n";
  if (!executeFile.empty()) script += "[ExecuteFile]\nFile=" + executeFile + "\n";
  return script;
}

int CountAsks(const RunResult& result, const std::string& caption) {
  int count = 0;
  for (const std::string& c : result.AskCaptions()) count += c == caption;
  return count;
}

TEST(Completion, WithoutFailuresGoesStraightToTheCompletionBox) {
  Scenario scenario;
  scenario.WriteScript(Script(""));
  RunResult result = scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(CountAsks(result, kWarning), 0);
  EXPECT_TRUE(result.Has("message", "text", "セットアップが完了しました．"));
  const auto asks = result.Of("ask");
  ASSERT_FALSE(asks.empty());
  const auto& last = asks.back();
  EXPECT_EQ(RunResult::Text(last, "caption"), kDone);
  EXPECT_EQ(last["style"], 64);
  EXPECT_EQ(RunResult::Text(last, "text"),
            "セットアップが完了しました．\r\rプログラムのアンセットアップ（アンインストール）は，\r"
            "「アプリケーションの追加と削除」から行ってください．");
  EXPECT_TRUE(result.Of("execute").empty());
  EXPECT_TRUE(result.Of("restart").empty());
}

TEST(Completion, FailureReportAnsweredYesShowsDetailsAndWaits) {
  Scenario scenario;
  scenario.WriteScript(Script("", true));
  scenario.WritePackageFile("VIEW.EXE", "MZ");
  // Answers go through a file: it is UTF-8 whatever the harness does with arguments.
  scenario.WritePackageFile("answers.ini", Utf8("[Answers]\n警告=Yes\n"));
  RunResult result = scenario.Setup(
      {"--dir", "C:\\TOOLS\\VIEWER\\", "--answers", scenario.PackageDir() + "/answers.ini"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_TRUE(result.Has("message", "text", "一部の処理に失敗しました．"));

  // Order: the question, the details, the continue click, then the completion box.
  int question = -1, details = -1, restored = -1, done = -1;
  for (int i = 0; i < static_cast<int>(result.events.size()); ++i) {
    const auto& e = result.events[i];
    if (e["event"] == "ask" && RunResult::Text(e, "caption") == kWarning) {
      question = i;
      EXPECT_EQ(e["style"], 52);
      EXPECT_EQ(
          RunResult::Text(e, "text"),
          "フォルダの作成・ファイルのコピーで，一部の処理が失敗しました．\r詳細を表示しますか？");
    } else if (e["event"] == "details" && question >= 0 && details < 0) {
      details = i;
      EXPECT_EQ(RunResult::Text(e, "caption"), "作成・コピー処理失敗　詳細表示");
      const std::string text = RunResult::Text(e, "text");
      EXPECT_EQ(text.rfind("<File> C:\\TOOLS\\VIEWER\\NOSUB\\VIEW.EXE\r\n", 0), 0u) << Utf8(text);
    } else if (e["event"] == "button" && details >= 0 && restored < 0 && e["name"] == "btnEvent" &&
               RunResult::Text(e, "caption") == "セットアップ開始(&S)") {
      restored = i;
    } else if (e["event"] == "ask" && RunResult::Text(e, "caption") == kDone) {
      done = i;
    }
  }
  EXPECT_GE(question, 0);
  EXPECT_GT(details, question);
  EXPECT_GT(restored, details);
  EXPECT_GT(done, restored);
  EXPECT_TRUE(result.Has("button", "caption", "続行(&C)"));
}

TEST(Completion, FailureReportAnsweredNoShowsNoDetails) {
  Scenario scenario;
  scenario.WriteScript(Script("", true));
  scenario.WritePackageFile("VIEW.EXE", "MZ");
  RunResult result = scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(CountAsks(result, kWarning), 1);
  EXPECT_FALSE(result.Has("details", "caption", "作成・コピー処理失敗　詳細表示"));
  EXPECT_FALSE(result.Has("button", "caption", "続行(&C)"));
  EXPECT_EQ(CountAsks(result, kDone), 1);
}

TEST(Completion, WindowsRebootOffersTheRestart) {
  struct Case {
    const char* answer;
    int restartAnswer;
    int informationBoxes;
    bool restartRecorded;  // the machine notes that the user agreed
  };
  const Case cases[] = {{"restart=No", 7, 1, false}, {"restart=Yes", 6, 0, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    Scenario scenario;
    scenario.WriteScript(Script("WINDOWS_REBOOT"));
    RunResult result = scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\", "--answer", c.answer});
    EXPECT_EQ(result.exitCode, 6);
    EXPECT_TRUE(result.Has("message", "text", "Windowsを再起動する必要があります．"));
    EXPECT_FALSE(result.Has("message", "text", "セットアップが完了しました．"));
    EXPECT_EQ(CountAsks(result, kDone), 0);
    ASSERT_EQ(result.Of("restart").size(), 1u);
    EXPECT_EQ(result.Of("restart")[0]["answer"], c.restartAnswer);
    EXPECT_EQ(CountAsks(result, "情報"), c.informationBoxes);
    if (c.informationBoxes) {
      EXPECT_TRUE(result.Has("ask", "text", "Windowsを再起動すると，セットアップが完了します．"));
      EXPECT_TRUE(result.Has("ask", "style", 48));
    }
    EXPECT_TRUE(result.Of("execute").empty());
    std::ifstream machineIni(scenario.MachineDir() + "/machine.ini");
    const std::string settings((std::istreambuf_iterator<char>(machineIni)),
                               std::istreambuf_iterator<char>());
    EXPECT_EQ(settings.find("RestartPending=1") != std::string::npos, c.restartRecorded);
  }
}

// The reserved word is case-sensitive: in lower case it is a command like any other.
TEST(Completion, CommandsGiveFileAndParameters) {
  struct Case {
    const char* value;
    const char* file;
    const char* params;
  };
  const Case cases[] = {
      {"NOTEPAD.EXE,(App)README.TXT", "NOTEPAD.EXE", "C:\\TOOLS\\VIEWER\\README.TXT"},
      {"A.EXE,x,y", "A.EXE", "x,y"},
      {"(App)NOSUCH.TXT", "C:\\TOOLS\\VIEWER\\NOSUCH.TXT", ""},
      {"(Win)NOSUCH.EXE,(Tmp)LOG (Boo)", "C:\\WINDOWS\\NOSUCH.EXE", "C:\\WINDOWS\\TEMP\\LOG C:\\"},
      {"windows_reboot", "windows_reboot", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    Scenario scenario;
    scenario.WriteScript(Script(c.value));
    RunResult result = scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\"});
    const auto executes = result.Of("execute");
    ASSERT_EQ(executes.size(), 1u);
    EXPECT_EQ(RunResult::Text(executes[0], "file"), c.file);
    EXPECT_EQ(RunResult::Text(executes[0], "params"), c.params);
    EXPECT_TRUE(result.Of("restart").empty());
    // The completion box comes before the command.
    EXPECT_EQ(CountAsks(result, kDone), 1);
  }
}

// None of these files exists on the machine, so none can start: the warning box, and the run
// still ends as completed.
TEST(Completion, CommandThatCannotStartGivesTheWarning) {
  Scenario scenario;
  scenario.WriteScript(Script("(App)NOSUCH.EXE"));
  RunResult result = scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\"});
  EXPECT_EQ(result.exitCode, 0);
  const auto executes = result.Of("execute");
  ASSERT_EQ(executes.size(), 1u);
  EXPECT_LT(executes[0]["result"].get<int>(), 32);
  const auto asks = result.Of("ask");
  ASSERT_FALSE(asks.empty());
  EXPECT_EQ(RunResult::Text(asks.back(), "caption"), kWarning);
  EXPECT_EQ(RunResult::Text(asks.back(), "text"), kStartFailed);
  EXPECT_EQ(asks.back()["style"], 48);
}

// An abort confirmed in a later phase leaves the run at that phase's first step: what earlier
// phases made stays, no uninstall record is written, and nothing of the completion happens.
TEST(Completion, AbortInAPhaseEndsWithoutCompletion) {
  struct Case {
    const char* stepText;
    bool shortcutMade;
    bool registryWritten;
  };
  const Case cases[] = {
      {"ショートカットを作成しています", false, false},
      {"レジストリを設定しています", true, false},
      {"関連付けを設定しています", true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stepText);
    Scenario scenario;
    scenario.WriteScript(
        "[Title]\nSetup=Viewer\n[ShortCut]\nMake1=(App)\\VIEW.EXE\nName1=(Sta)Viewer\n"
        "[Registry]\nKey1=Software\\Maker\\Viewer\nName1=Path\nValue1=(App)\n"
        "[Relate]\nName1=vwr\nFile1=(App)\\VIEW.EXE\n"
        "[ExecuteFile]\nFile=WINDOWS_REBOOT\n");
    RunHooks hooks = Scenario::DefaultHooks();
    ScriptedAction abort;
    abort.whenMessageContains = c.stepText;
    abort.click = "btnEvent";
    hooks.actions.push_back(abort);
    RunResult result = scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\"}, hooks);

    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(scenario.Exists("C:\\WINDOWS\\ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ\\Viewer.lnk"), c.shortcutMade);
    const std::string exported = scenario.RegExport();
    EXPECT_EQ(exported.find("[HKEY_CURRENT_USER\\Software\\Maker\\Viewer]") != std::string::npos,
              c.registryWritten);
    EXPECT_EQ(exported.find("vwr_auto_file"), std::string::npos);
    EXPECT_FALSE(scenario.Exists("C:\\TOOLS\\VIEWER\\UNSETUP.INI"));
    EXPECT_EQ(CountAsks(result, "関連付けの確認"), 0);
    EXPECT_EQ(CountAsks(result, kDone), 0);
    EXPECT_TRUE(result.Of("restart").empty());
  }
}

}  // namespace
}  // namespace korvane::testing
