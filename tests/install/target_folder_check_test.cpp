// The target-folder check through whole runs: an existing folder passes silently, a missing
// one is created on Yes and stops the run on No, and a failed creation shows both boxes.
#include <gtest/gtest.h>

#include "install/setup_run_support.h"

namespace korvane::testing {
namespace {

constexpr const char* kScript =
    "[DefaultFolder]\nFolder=C:\\APP\\\n[CopyFile]\nFile1=(App)\\A.TXT\n";

TEST(TargetFolderCheck, MissingFolderIsCreatedOnYes) {
  Scenario s;
  s.WriteScript(kScript);
  s.WritePackageFile("A.TXT", "a");
  RunResult r = s.Setup({"--dir", "C:\\TOOLS\\APP\\"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  auto asks = Asks(r, "フォルダ作成");
  ASSERT_EQ(asks.size(), 1u);
  EXPECT_EQ(RunResult::Text(asks[0], "text"),
            "C:\\TOOLS\\APP\\\r\rこのフォルダは存在しません．作成してもよろしいですか？");
  EXPECT_EQ(asks[0].at("style"), 36);
  EXPECT_TRUE(s.Exists("C:\\TOOLS\\APP\\A.TXT"));
}

TEST(TargetFolderCheck, ExistingFolderPassesWithoutQuestionOrPause) {
  Scenario s;
  s.WriteScript(
      "[Extend]\nSetupSpeed=30\n[DefaultFolder]\nFolder=C:\\WINDOWS\\\n[CopyFile]\n"
      "File1=(App)\\A.TXT\n");
  s.WritePackageFile("A.TXT", "a");
  RunResult r = s.Setup();
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Asks(r, "フォルダ作成").empty());
  EXPECT_EQ(Pauses(r), (std::vector<int>{1000, 30, 30}));  // start, space check, one file
}

TEST(TargetFolderCheck, NoStopsTheRun) {
  Scenario s;
  s.WriteScript(kScript);
  s.WritePackageFile("A.TXT", "a");
  RunResult r = s.Setup({"--answer", Utf8("フォルダ作成=No")});
  EXPECT_EQ(r.exitCode, 2);
  auto stop = Asks(r, "セットアップ中止");
  ASSERT_EQ(stop.size(), 1u);
  EXPECT_EQ(RunResult::Text(stop[0], "text"), "セットアップを続行できませんでした．");
  EXPECT_EQ(stop[0].at("style"), 16);
  EXPECT_FALSE(s.Exists("C:\\APP"));
  EXPECT_FALSE(AnyMessageContains(r, "Copying"));
}

TEST(TargetFolderCheck, FailedCreationShowsTheFatalBoxThenStops) {
  Scenario s;
  s.WriteScript(kScript);
  s.WritePackageFile("A.TXT", "a");
  s.Write("C:\\BLOCK", "a file where a folder should be");
  RunResult r = s.Setup({"--dir", "C:\\BLOCK\\APP\\"});
  EXPECT_EQ(r.exitCode, 2);
  std::vector<std::string> captions = r.AskCaptions();
  auto fatal = std::find(captions.begin(), captions.end(), "致命的エラー");
  ASSERT_NE(fatal, captions.end());
  ASSERT_NE(fatal + 1, captions.end());
  EXPECT_EQ(*(fatal + 1), "セットアップ中止");
  auto boxes = Asks(r, "致命的エラー");
  EXPECT_EQ(RunResult::Text(boxes[0], "text"),
            "セットアップフォルダの作成に失敗しました．\r\rプログラム作者へご報告ください．");
  EXPECT_EQ(boxes[0].at("style"), 16);
}

TEST(TargetFolderCheck, TypedFolderWithoutBackslashGetsItsParentsOnly) {
  Scenario s;
  s.WriteScript(kScript);
  s.WritePackageFile("A.TXT", "a");
  RunResult r = s.Setup({"--dir", "C:\\NEW\\APP"});
  // The chain stops at the last backslash: C:\NEW is made, C:\NEW\APP is not, so the copy
  // into it fails and the run completes with a failure.
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_TRUE(s.Exists("C:\\NEW"));
  EXPECT_FALSE(s.Exists("C:\\NEW\\APP"));
}

}  // namespace
}  // namespace korvane::testing
