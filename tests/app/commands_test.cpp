// The korvane commands end to end on a real machine folder: help and version, wrong command
// lines, init and path, the choice of front-end, the single-instance guard, unattended runs
// with their options and answers, and programs/remove on uninstall entries.
#include "app/commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/posix/posix_machine.h"
#include "startup/program.h"
#include "support/scenario.h"

namespace korvane {
namespace {

using testing::RunResult;
using testing::Scenario;
using testing::Sjis;
using testing::Utf8;

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// A small package: one file into (Prg)\Viewer, two shortcuts.
void WriteViewer(Scenario& scenario, const std::string& extend = "") {
  scenario.WriteScript(
      "[Title]\nSetup=Viewer\n[ProgramID]\nID=VIEWER\n[DefaultFolder]\nFolder=(Prg)\\Viewer\n"
      "[CopyFile]\nFile1=(App)\\VIEW.EXE\n"
      "[ShortCut]\nMake1=(App)\\VIEW.EXE\nName1=(Dsk)Viewer\nMake2=(App)\\VIEW.EXE\n"
      "Name2=(Sta)Viewer\n" +
      extend);
  scenario.WritePackageFile("VIEW.EXE", "MZ viewer");
}

TEST(CommandsTest, HelpVersionAndWrongCommandLines) {
  Scenario scenario;
  RunResult help = scenario.Run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  for (const char* word : {"setup",      "unsetup",         "programs",    "remove",
                           "reg export", "reg import",      "path",        "init",
                           "--machine",  "--gui",           "--console",   "--unattended",
                           "--dir",      "--overwrite",     "--shortcuts", "--answer ",
                           "--answers",  "--log",           "--pace",      "--package-drive",
                           "--version",  "KORVANE_MACHINE", "フォルダ作成"}) {
    EXPECT_TRUE(Contains(help.out, word)) << word;
  }
  RunResult version = scenario.Run({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, "korvane 1.7.0.1695\n");

  for (const std::vector<std::string>& args : {std::vector<std::string>{"frobnicate"},
                                               {"setup", "--overwrite", "perhaps"},
                                               {"unsetup"},
                                               {"path"},
                                               {"setup", "/nonexistent/pkg", "--unattended"}}) {
    RunResult wrong = scenario.Run(args);
    EXPECT_EQ(wrong.exitCode, 64) << args[0];
    EXPECT_FALSE(wrong.err.empty());
    EXPECT_TRUE(wrong.out.empty());
  }
}

TEST(CommandsTest, InitAndPath) {
  Scenario scenario;
  RunResult init = scenario.Run({"init"});
  EXPECT_EQ(init.exitCode, 0) << init.err;
  EXPECT_TRUE(std::filesystem::exists(scenario.MachineDir() + "/machine.ini"));
  // init again changes nothing and succeeds.
  EXPECT_EQ(scenario.Run({"init"}).exitCode, 0);

  RunResult system = scenario.Run({"path", "c:\\windows\\system"});
  EXPECT_EQ(system.exitCode, 0) << system.err;
  EXPECT_EQ(system.out, scenario.MachineDir() + "/drive_c/WINDOWS/SYSTEM\n");

  // Missing components are kept as given.
  RunResult missing = scenario.Run({"path", "C:\\Windows\\NoSuch\\File.txt"});
  EXPECT_EQ(missing.exitCode, 0) << missing.err;
  EXPECT_EQ(missing.out, scenario.MachineDir() + "/drive_c/WINDOWS/NoSuch/File.txt\n");

  RunResult outside = scenario.Run({"path", "M:\\x"});
  EXPECT_EQ(outside.exitCode, 1);
  EXPECT_TRUE(outside.out.empty());
  EXPECT_TRUE(Contains(outside.err, "outside")) << outside.err;
}

TEST(CommandsTest, RegImportAndExport) {
  Scenario scenario;
  const std::string file = scenario.Root() + "/in.reg";
  std::ofstream(file) << "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Kv]\n\"Name\"=\"" << Utf8("値")
                      << "\"\n\n";
  RunResult imported = scenario.Run({"reg", "import", file});
  EXPECT_EQ(imported.exitCode, 0) << imported.err;
  EXPECT_EQ(scenario.RegExport("HKEY_CURRENT_USER\\Software\\Kv"),
            "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Kv]\n\"Name\"=\"値\"\n\n");

  RunResult missingKey = scenario.Run({"reg", "export", "HKEY_CURRENT_USER\\Software\\None"});
  EXPECT_EQ(missingKey.exitCode, 1);
  EXPECT_TRUE(missingKey.out.empty());
  EXPECT_FALSE(missingKey.err.empty());
  RunResult missingFile = scenario.Run({"reg", "import", scenario.Root() + "/none.reg"});
  EXPECT_EQ(missingFile.exitCode, 1);
  EXPECT_FALSE(missingFile.err.empty());
}

TEST(CommandsTest, ARunWithoutDisplayTerminalOrUnattendedIsRefused) {
  Scenario scenario;
  WriteViewer(scenario);
  RunResult result = scenario.Run({"setup", scenario.PackageDir()});
  EXPECT_EQ(result.exitCode, 64);
  EXPECT_TRUE(Contains(result.err, "--unattended")) << result.err;
  EXPECT_TRUE(result.events.empty());
}

TEST(CommandsTest, ASecondKorvaneOnTheSameMachineEndsWith75) {
  Scenario scenario;
  WriteViewer(scenario);
  posix::MachineOptions options;
  options.machineDir = scenario.MachineDir();
  std::string error;
  auto first = posix::Machine::Open(options, error);
  ASSERT_TRUE(first) << error;
  ASSERT_EQ(first->platform().system->AcquireMutex(kMutexName), MutexState::Acquired);

  RunResult second = scenario.Setup();
  EXPECT_EQ(second.exitCode, 75);
  EXPECT_TRUE(Contains(second.err, "another korvane")) << second.err;
  EXPECT_TRUE(second.Messages().empty());
  EXPECT_FALSE(scenario.Exists("C:\\Program Files\\Viewer\\VIEW.EXE"));

  first->platform().system->ReleaseMutex();
  EXPECT_EQ(scenario.Setup().exitCode, 0);
}

TEST(CommandsTest, UnattendedSetupShowsTheStartUpAndTheRun) {
  Scenario scenario;
  WriteViewer(scenario);
  RunResult result = scenario.Setup();
  ASSERT_EQ(result.exitCode, 0) << result.err;
  ASSERT_FALSE(result.events.empty());
  EXPECT_EQ(result.events.front()["event"], "message");
  EXPECT_TRUE(Contains(RunResult::Text(result.events.front(), "text"), "セットアップを行います．"));
  EXPECT_TRUE(result.Has("button", "caption", "セットアップ開始(&S)"));
  EXPECT_TRUE(result.Has("message", "text", "セットアップを開始します．．．"));
  EXPECT_TRUE(result.Has("pause", "ms", 1000));
  EXPECT_TRUE(result.Has("button", "caption", "中断(&A)"));
  EXPECT_EQ(result.AskCaptions().front(), "フォルダ作成");
  EXPECT_EQ(result.events.back(), (nlohmann::json{{"event", "end"}, {"exit", 0}}));
  EXPECT_TRUE(scenario.Exists("C:\\Program Files\\Viewer\\VIEW.EXE"));
  EXPECT_TRUE(scenario.Exists("C:\\Program Files\\Viewer\\UNSETUP.INI"));
}

TEST(CommandsTest, TheTranscriptGoesToALogFile) {
  Scenario scenario;
  WriteViewer(scenario);
  const std::string log = scenario.Root() + "/run.log";
  RunResult result = scenario.Run({"setup", scenario.PackageDir(), "--unattended", "--log", log});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(result.events.empty());
  std::ifstream in(log);
  std::string line;
  std::vector<nlohmann::json> events;
  while (std::getline(in, line)) events.push_back(nlohmann::json::parse(line));
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back()["event"], "end");

  RunResult unwritable = scenario.Run(
      {"setup", scenario.PackageDir(), "--unattended", "--log", scenario.Root() + "/no/dir/x"});
  EXPECT_EQ(unwritable.exitCode, 64);
}

TEST(CommandsTest, OptionsAreAppliedWhereTheUserCouldChangeThem) {
  Scenario scenario;
  WriteViewer(scenario);
  RunResult result = scenario.Setup(
      {"--dir", "C:\\Tools\\View\\", "--shortcuts", "startmenu", "--overwrite", "no"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  // Only the boxes the script enables can be set; the others stay and are reported.
  EXPECT_TRUE(Contains(result.err, "--shortcuts")) << result.err;
  EXPECT_TRUE(Contains(result.err, "startup")) << result.err;
  EXPECT_FALSE(Contains(result.err, "--dir")) << result.err;
  EXPECT_TRUE(scenario.Exists("C:\\Tools\\View\\VIEW.EXE"));
  EXPECT_FALSE(scenario.Exists("C:\\Program Files\\Viewer\\VIEW.EXE"));
  EXPECT_FALSE(scenario.Exists("C:\\WINDOWS\\デスクトップ\\Viewer.lnk"));
  EXPECT_TRUE(scenario.Exists("C:\\WINDOWS\\ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ\\Viewer.lnk"));
}

TEST(CommandsTest, OptionsOfADisabledWindowWarnAndKeepTheProposal) {
  Scenario scenario;
  WriteViewer(scenario, "[Extend]\nEnabled=False\n");
  RunResult result =
      scenario.Setup({"--dir", "C:\\Elsewhere", "--overwrite", "no", "--shortcuts", "none"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  std::istringstream lines(result.err);
  std::string line;
  int warnings = 0;
  while (std::getline(lines, line)) warnings += Contains(line, "warning") ? 1 : 0;
  EXPECT_EQ(warnings, 3) << result.err;
  EXPECT_TRUE(Contains(result.err, "C:\\Program Files\\Viewer\\")) << result.err;
  EXPECT_TRUE(scenario.Exists("C:\\Program Files\\Viewer\\VIEW.EXE"));
  EXPECT_FALSE(scenario.Exists("C:\\Elsewhere"));
  EXPECT_TRUE(scenario.Exists("C:\\WINDOWS\\デスクトップ\\Viewer.lnk"));
}

TEST(CommandsTest, AnswersFromTheCommandLineAndFromAFile) {
  {
    Scenario scenario;
    WriteViewer(scenario);
    RunResult result = scenario.Setup({"--answer", Utf8("フォルダ作成") + "=No"});
    EXPECT_EQ(result.exitCode, 2) << result.err;
    EXPECT_TRUE(result.Has("ask", "answer", 7));
    EXPECT_FALSE(scenario.Exists("C:\\Program Files\\Viewer\\VIEW.EXE"));
  }
  {
    Scenario scenario;
    WriteViewer(scenario);
    const std::string file = scenario.Root() + "/answers.ini";
    std::ofstream(file) << "[Answers]\n" << Utf8("フォルダ作成") << "=no\n";
    RunResult result = scenario.Setup({"--answers", file});
    EXPECT_EQ(result.exitCode, 2) << result.err;
    // The command line wins over the file.
    RunResult again =
        scenario.Setup({"--answers", file, "--answer", Utf8("フォルダ作成") + "=Yes"});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(scenario.Setup({"--answers", scenario.Root() + "/missing.ini"}).exitCode, 64);
  }
}

TEST(CommandsTest, FailureDetailsAreShownAndContinuedWhenAsked) {
  // A setup folder typed without its trailing backslash: the copy into it fails.
  Scenario scenario;
  scenario.WriteScript("[CopyFile]\nFile1=(App)\\GONE.TXT\n");
  scenario.WritePackageFile("GONE.TXT", "x");
  RunResult plain = scenario.Setup({"--dir", "C:\\Gone"});
  EXPECT_EQ(plain.exitCode, 1) << plain.err;
  EXPECT_TRUE(plain.Of("details").empty());

  RunResult details = scenario.Setup({"--dir", "C:\\Gone", "--answer", Utf8("警告") + "=Yes"});
  EXPECT_EQ(details.exitCode, 1) << details.err;
  ASSERT_EQ(details.Of("details").size(), 1u);
  EXPECT_TRUE(Contains(RunResult::Text(details.Of("details")[0], "text"), "GONE.TXT"));
  EXPECT_TRUE(details.Has("button", "caption", "続行(&C)"));
  EXPECT_EQ(details.events.back()["event"], "end");
}

TEST(CommandsTest, TheRestartQuestionIsAnsweredByRestart) {
  for (const bool yes : {false, true}) {
    SCOPED_TRACE(yes ? "restart=Yes" : "default");
    Scenario scenario;
    scenario.WriteScript(
        "[DefaultFolder]\nFolder=(Prg)\\Boot\n[ExecuteFile]\nFile=WINDOWS_REBOOT\n");
    RunResult result = yes ? scenario.Setup({"--answer", "restart=Yes"}) : scenario.Setup();
    EXPECT_EQ(result.exitCode, 6) << result.err;
    EXPECT_TRUE(result.Has("restart", "answer", yes ? 6 : 7));
  }
}

TEST(CommandsTest, AMissingDiskIsRefusedOnItsThirdAsk) {
  Scenario scenario;
  scenario.WriteScript(
      "[DefaultFolder]\nFolder=(Prg)\\Two\n[CopyFile]\nFile1=(App)\\ONE.TXT\n"
      "File2=(Dch)(App)\\TWO.TXT\n");
  scenario.WritePackageFile("ONE.TXT", "1");
  RunResult result = scenario.Setup();
  EXPECT_EQ(result.exitCode, 2) << result.err;
  const std::vector<std::string> asks = result.AskCaptions();
  EXPECT_EQ(std::count(asks.begin(), asks.end(), std::string("ディスク交換")), 3);
  std::vector<int> diskAnswers;
  for (const auto& ask : result.Of("ask")) {
    if (RunResult::Text(ask, "caption") == "ディスク交換") diskAnswers.push_back(ask["answer"]);
  }
  EXPECT_EQ(diskAnswers, (std::vector<int>{1, 1, 2}));
}

TEST(CommandsTest, AScriptedClickAbortsTheRun) {
  Scenario scenario;
  scenario.WriteScript(
      "[DefaultFolder]\nFolder=(Prg)\\Abort\n[CopyFile]\nFile1=(App)\\A.TXT\nFile2=(App)\\B.TXT\n");
  scenario.WritePackageFile("A.TXT", "a");
  scenario.WritePackageFile("B.TXT", "b");
  RunHooks hooks = Scenario::DefaultHooks();
  ScriptedAction abort;
  // The run looks at the abort after showing a step: B.TXT is then not copied.
  abort.whenMessageContains = "B.TXT";
  abort.click = "btnEvent";
  hooks.actions.push_back(abort);
  RunResult result = scenario.Setup({}, hooks);
  EXPECT_EQ(result.exitCode, 3) << result.err;
  EXPECT_TRUE(result.Has("ask", "caption", "中断の確認"));
  EXPECT_TRUE(scenario.Exists("C:\\Program Files\\Abort\\A.TXT"));
  EXPECT_FALSE(scenario.Exists("C:\\Program Files\\Abort\\B.TXT"));
}

TEST(CommandsTest, AFailedStartUpIsEndedWithTheEndButton) {
  Scenario scenario;
  RunResult result = scenario.Unsetup("C:\\NOWHERE\\UNSETUP.INI");
  EXPECT_EQ(result.exitCode, 4) << result.err;
  EXPECT_TRUE(result.Has("button", "caption", "終了(&E)"));
  EXPECT_EQ(result.AskCaptions(), std::vector<std::string>{"終了確認"});
  ASSERT_FALSE(result.Messages().empty());
  EXPECT_TRUE(Contains(result.Messages().front(), "iniファイル読み込み失敗"));

  // A SetupSpeed that is not a number stops the start-up; the run still ends by itself.
  Scenario bad;
  bad.WriteScript("[Extend]\nSetupSpeed=fast\n");
  RunResult speed = bad.Setup();
  EXPECT_EQ(speed.exitCode, 4) << speed.err;
  EXPECT_EQ(speed.events.back()["event"], "end");
}

TEST(CommandsTest, UnsetupTakesAWindowsPathOrAHostPathInsideADrive) {
  for (const bool hostPath : {true, false}) {
    SCOPED_TRACE(hostPath ? "host path" : "Windows path with slashes");
    Scenario scenario;
    WriteViewer(scenario);
    ASSERT_EQ(scenario.Setup().exitCode, 0);
    const std::string record =
        hostPath ? Sjis(scenario.HostPath("C:\\Program Files\\Viewer\\UNSETUP.INI"))
                 : std::string("c:/Program Files/Viewer/UNSETUP.INI");
    RunResult result = scenario.Unsetup(record);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.Has("button", "caption", "アンセットアップ開始(&S)"));
    EXPECT_FALSE(scenario.Exists("C:\\Program Files\\Viewer\\VIEW.EXE"));
    if (hostPath) {
      RunResult outside = scenario.Unsetup(scenario.Root() + "/elsewhere/UNSETUP.INI");
      EXPECT_EQ(outside.exitCode, 64);
      EXPECT_TRUE(Contains(outside.err, "not inside a drive")) << outside.err;
    }
  }
}

TEST(CommandsTest, ProgramsListsTheUninstallEntriesAndRemoveRunsOurs) {
  Scenario scenario;
  ASSERT_EQ(scenario.Run({"init"}).exitCode, 0);
  {
    posix::MachineOptions options;
    options.machineDir = scenario.MachineDir();
    std::string error;
    auto machine = posix::Machine::Open(options, error);
    ASSERT_TRUE(machine) << error;
    Registry& registry = *machine->platform().registry;
    auto entry = [&](const std::string& key, const std::string& name, const std::string& command) {
      const std::string path =
          std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + key;
      ASSERT_EQ(registry.CreateKey(RootKey::LocalMachine, path), 0u);
      registry.SetValue(RootKey::LocalMachine, path, "DisplayName", kRegSz, name + '\0');
      registry.SetValue(RootKey::LocalMachine, path, "UninstallString", kRegSz, command + '\0');
    };
    entry("zeta", "Zeta Tool", "C:\\WINDOWS\\UNINST.EXE /zeta");
    entry("Viewer", "表示ツール", "C:\\WINDOWS\\UNKORVANE.EXE \"C:\\VIEW\\UNSETUP.INI\"");
    entry("alpha", "Alpha", "C:\\WINDOWS\\UNKORVANE.EXE \"C:\\ALPHA\\UNSETUP.INI\"");
  }
  RunResult programs = scenario.Run({"programs"});
  EXPECT_EQ(programs.exitCode, 0) << programs.err;
  EXPECT_EQ(programs.out,
            "alpha\tAlpha\tC:\\WINDOWS\\UNKORVANE.EXE \"C:\\ALPHA\\UNSETUP.INI\"\n"
            "Viewer\t表示ツール\tC:\\WINDOWS\\UNKORVANE.EXE \"C:\\VIEW\\UNSETUP.INI\"\n"
            "zeta\tZeta Tool\tC:\\WINDOWS\\UNINST.EXE /zeta\n");

  RunResult unknown = scenario.Run({"remove", "nothing", "--unattended"});
  EXPECT_EQ(unknown.exitCode, 64);
  EXPECT_TRUE(Contains(unknown.err, "nothing")) << unknown.err;
  RunResult notOurs = scenario.Run({"remove", "ZETA TOOL", "--unattended"});
  EXPECT_EQ(notOurs.exitCode, 64);
  EXPECT_TRUE(Contains(notOurs.err, "UNINST.EXE")) << notOurs.err;

  // By DisplayName, without regard to case: the uninstaller runs on the record (missing
  // here, so its start-up fails), whether or not UNKORVANE.EXE exists.
  for (const std::string& name : {Utf8("表示ツール"), std::string("VIEWER")}) {
    RunResult remove = scenario.Run({"remove", name, "--unattended", "--log", "-"});
    EXPECT_EQ(remove.exitCode, 4) << remove.err;
    ASSERT_FALSE(remove.Messages().empty());
    EXPECT_TRUE(Contains(remove.Messages().front(), "iniファイル読み込み失敗"));
  }
}

}  // namespace
}  // namespace korvane
