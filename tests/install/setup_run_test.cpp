// The setup run's driver through whole unattended runs: the start, the reading of the script
// with its byte tally and shortcut filter, pacing, and the abort during the copy phase.
#include <gtest/gtest.h>

#include "install/setup_run_support.h"

namespace korvane::testing {
namespace {

TEST(SetupRun, ScriptWithoutEntriesStillChecksAndWritesTheRecord) {
  Scenario s;
  s.WriteScript("[Title]\nSetup=Empty\n[DefaultFolder]\nFolder=C:\\EMPTY\\\n");
  RunResult r = s.Setup();
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(MessagesInOrder(
      r, {"セットアップを開始します．．．", "セットアップ情報を作成しています．．．",
          "ディスクの空き容量をチェックしています．．．", "フォルダをチェックしています．．．",
          "アンセットアップ情報を作成しています．．．"}));
  EXPECT_TRUE(Asks(r, "空き容量不足").empty());
  EXPECT_EQ(Asks(r, "フォルダ作成").size(), 1u);
  EXPECT_TRUE(StatusCaptions(r).empty());
  EXPECT_EQ(s.Profile("C:\\EMPTY\\UNSETUP.INI", "DeleteFile", "File1"), "C:\\EMPTY\\UNSETUP.INI");
}

TEST(SetupRun, StartDisablesTheControlsThenOffersTheAbortButton) {
  Scenario s;
  s.WriteScript("[DefaultFolder]\nFolder=C:\\APP\\\n");
  RunResult r = s.Setup();
  // The buttons as the run leaves them: disabled at the start, then the abort caption, and
  // back to the start caption (disabled) once the record is being written.
  std::vector<std::pair<std::string, bool>> btnEvent;
  for (const auto& e : r.Of("button")) {
    if (e.at("name") == "btnEvent") {
      btnEvent.emplace_back(RunResult::Text(e, "caption"), e.at("enabled").get<bool>());
    }
  }
  auto at = std::find(btnEvent.begin(), btnEvent.end(),
                      std::make_pair(std::string("セットアップ開始(&S)"), false));
  ASSERT_NE(at, btnEvent.end());
  at = std::find(at, btnEvent.end(), std::make_pair(std::string("中断(&A)"), true));
  ASSERT_NE(at, btnEvent.end());
  at = std::find(at, btnEvent.end(), std::make_pair(std::string("セットアップ開始(&S)"), false));
  EXPECT_NE(at, btnEvent.end());
  EXPECT_TRUE(r.Has("button", "name", "btnEnd"));
}

TEST(SetupRun, PausesOnceAtTheStartAndAfterTheSpaceCheckEachFolderAndEachFile) {
  Scenario s;
  s.WriteScript(
      "[Extend]\nSetupSpeed=50\n[DefaultFolder]\nFolder=C:\\APP\\\n"
      "[MakeFolder]\nFolder1=(App)\\DATA\n[CopyFile]\nFile1=(App)\\A.TXT\nFile2=(App)\\B.TXT\n");
  s.WritePackageFile("A.TXT", "a");
  s.WritePackageFile("B.TXT", "b");
  RunResult r = s.Setup();
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Pauses(r), (std::vector<int>{1000, 50, 50, 50, 50}));
}

TEST(SetupRun, MissingSourceSwitchesTheByteTallyOffAndCountsEntries) {
  Scenario s;
  s.WriteScript(
      "[DefaultFolder]\nFolder=C:\\APP\\\n[CopyFile]\n"
      "File1=(App)\\A.TXT\nFile2=(App)\\MISSING.TXT\nFile3=(App)\\B.TXT\nFile4=(App)\\C.TXT\n");
  s.WritePackageFile("A.TXT", std::string(1000, 'a'));
  s.WritePackageFile("B.TXT", "b");
  s.WritePackageFile("C.TXT", "c");
  RunResult r = s.Setup();
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_FALSE(AnyMessageContains(r, "ディスクの空き容量"));
  EXPECT_EQ(StatusCaptions(r), (std::vector<std::string>{"25%(1/4)", "75%(3/4)", "100%(4/4)"}));
  EXPECT_FALSE(AnyMessageContains(r, "MISSING.TXT"));
  EXPECT_EQ(s.Profile("C:\\APP\\UNSETUP.INI", "DeleteFile", "File2"), "C:\\APP\\B.TXT");
}

TEST(SetupRun, ProgressFollowsTheBytesAndAnEmptyFileCountsOneByte) {
  Scenario s;
  s.WriteScript(
      "[DefaultFolder]\nFolder=C:\\APP\\\n[CopyFile]\n"
      "File1=(App)\\EMPTY.TXT\nFile2=(App)\\A.TXT\nFile3=(App)\\B.TXT\n");
  s.WritePackageFile("EMPTY.TXT", "");
  s.WritePackageFile("A.TXT", std::string(99, 'a'));
  s.WritePackageFile("B.TXT", std::string(300, 'b'));
  RunResult r = s.Setup();
  EXPECT_EQ(r.exitCode, 0) << r.err;
  // 1 of 400, 100 of 400, 400 of 400.
  EXPECT_EQ(StatusCaptions(r), (std::vector<std::string>{"0%(1/3)", "25%(2/3)", "100%(3/3)"}));
}

TEST(SetupRun, ShortcutOptionsDropMarkedEntriesAndKeepUnmarkedOnes) {
  Scenario s;
  s.WriteScript(
      "[DefaultFolder]\nFolder=C:\\APP\\\n[CopyFile]\nFile1=(App)\\A.EXE\n[ShortCut]\n"
      "Make1=(App)\\A.EXE\nName1=(Dsk)Desk\n"
      "Make2=(App)\\A.EXE\nName2=Plain\n"
      "Make3=(App)\\A.EXE\nName3=(Sta)Menu\n"
      "Make4=(App)\\A.EXE\nName4=(Sup)Start\n"
      "Make5=(App)\\A.EXE\nName5=(Sen)Send\n");
  s.WritePackageFile("A.EXE", "MZ");
  RunResult r = s.Setup({"--shortcuts", "none"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  std::string first = s.Profile("C:\\APP\\UNSETUP.INI", "DeleteShortCut", "File1");
  EXPECT_NE(first.find("Plain.lnk"), std::string::npos) << first;
  EXPECT_EQ(s.Profile("C:\\APP\\UNSETUP.INI", "DeleteShortCut", "File2"), "");
}

TEST(SetupRun, AbortDuringTheCopyPhaseLeavesBeforeTheNextFileAndWritesNoRecord) {
  Scenario s;
  s.WriteScript(
      "[DefaultFolder]\nFolder=C:\\APP\\\n[CopyFile]\n"
      "File1=(App)\\A.TXT\nFile2=(App)\\B.TXT\nFile3=(App)\\C.TXT\n"
      "[Registry]\nKey1=Software\\Aborted\nName1=X\nValue1=1\n");
  for (const char* name : {"A.TXT", "B.TXT", "C.TXT"}) s.WritePackageFile(name, name);
  s.Write("C:\\APP\\UNSETUP.INI", "[Title]\r\nUnSetup=earlier\r\n");

  RunHooks hooks = Scenario::DefaultHooks();
  ScriptedAction abort;
  abort.whenMessageContains = "Copying -> C:\\APP\\B.TXT";
  abort.click = "btnEvent";
  hooks.actions.push_back(abort);
  RunResult r = s.Setup({"--answer", Utf8("中断の確認=Yes")}, hooks);

  EXPECT_EQ(r.exitCode, 3);
  ASSERT_EQ(Asks(r, "中断の確認").size(), 1u);
  EXPECT_EQ(Asks(r, "中断の確認")[0].at("style"), 36);
  EXPECT_TRUE(s.Exists("C:\\APP\\A.TXT"));
  EXPECT_FALSE(s.Exists("C:\\APP\\B.TXT"));
  EXPECT_FALSE(s.Exists("C:\\APP\\C.TXT"));
  EXPECT_EQ(s.Read("C:\\APP\\UNSETUP.INI"), "[Title]\r\nUnSetup=earlier\r\n");
  EXPECT_FALSE(AnyMessageContains(r, "アンセットアップ情報"));
  EXPECT_TRUE(Asks(r, "完了").empty());
  EXPECT_EQ(s.Run({"reg", "export", "HKEY_CURRENT_USER\\Software\\Aborted"}).exitCode, 1);
  EXPECT_EQ(s.Run({"programs"}).out, "");
}

TEST(SetupRun, AbortAnsweredNoGoesOnToTheEnd) {
  Scenario s;
  s.WriteScript(
      "[DefaultFolder]\nFolder=C:\\APP\\\n[CopyFile]\nFile1=(App)\\A.TXT\n"
      "File2=(App)\\B.TXT\n");
  s.WritePackageFile("A.TXT", "a");
  s.WritePackageFile("B.TXT", "b");
  RunHooks hooks = Scenario::DefaultHooks();
  ScriptedAction abort;
  abort.whenMessageContains = "Copying -> C:\\APP\\A.TXT";
  abort.click = "btnEvent";
  hooks.actions.push_back(abort);
  RunResult r = s.Setup({"--answer", Utf8("中断の確認=No")}, hooks);
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Asks(r, "中断の確認").size(), 1u);
  EXPECT_TRUE(s.Exists("C:\\APP\\B.TXT"));
  EXPECT_TRUE(s.Exists("C:\\APP\\UNSETUP.INI"));
}

}  // namespace
}  // namespace korvane::testing
