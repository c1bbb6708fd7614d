// The folder phase through whole runs: one level per entry, existing folders recorded without
// a failure, a missing parent giving a "<Folder> " line, duplicates by letter case recorded
// once, and the abort check before each folder.
#include <gtest/gtest.h>

#include "install/setup_run_support.h"

namespace korvane::testing {
namespace {

TEST(FolderPhase, CreatesOneLevelPerEntryAndRecordsWhatExists) {
  Scenario s;
  s.WriteScript(
      "[DefaultFolder]\nFolder=C:\\APP\\\n[MakeFolder]\n"
      "Folder1=(App)\\DATA\nFolder2=(App)\\DATA\\SUB\\\nFolder4=(App)\nFolder5=(App)\\NO\\SUB\n"
      "Folder6=(App)\\data\n");
  RunResult r = s.Setup({"--answer", Utf8("警告=Yes")});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_TRUE(
      MessagesInOrder(r, {"フォルダを作成しています．．．\rCreating -> C:\\APP\\DATA\\",
                          "フォルダを作成しています．．．\rCreating -> C:\\APP\\DATA\\SUB\\",
                          "フォルダを作成しています．．．\rCreating -> C:\\APP\\"}));
  EXPECT_TRUE(s.Exists("C:\\APP\\DATA\\SUB"));
  EXPECT_FALSE(s.Exists("C:\\APP\\NO"));

  const std::string record = "C:\\APP\\UNSETUP.INI";
  EXPECT_EQ(s.Profile(record, "DeleteFolder", "Folder1"), "C:\\APP\\DATA\\");
  EXPECT_EQ(s.Profile(record, "DeleteFolder", "Folder2"), "C:\\APP\\DATA\\SUB\\");
  EXPECT_EQ(s.Profile(record, "DeleteFolder", "Folder3"), "C:\\APP\\");
  EXPECT_EQ(s.Profile(record, "DeleteFolder", "Folder4"), "");  // (App)\data is (App)\DATA

  auto details = r.Of("details");
  ASSERT_EQ(details.size(), 1u);
  const std::string log = RunResult::Text(details[0], "text");
  const std::string head = "<Folder> C:\\APP\\NO\\SUB\\\r\n";
  ASSERT_EQ(log.compare(0, head.size(), head), 0) << log;
  EXPECT_NE(log.find("指定されたパスが見つかりません"), std::string::npos);
  EXPECT_EQ(log.substr(log.size() - 4), "\r\n\r\n");  // the error text's own line end, then ours
}

TEST(FolderPhase, AbortIsSeenBeforeTheFolderIsCreated) {
  Scenario s;
  s.WriteScript(
      "[DefaultFolder]\nFolder=C:\\APP\\\n[MakeFolder]\nFolder1=(App)\\A\nFolder2=(App)\\B\n");
  RunHooks hooks = Scenario::DefaultHooks();
  ScriptedAction abort;
  abort.whenMessageContains = "Creating -> C:\\APP\\B\\";
  abort.click = "btnEvent";
  hooks.actions.push_back(abort);
  RunResult r = s.Setup({}, hooks);
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_TRUE(s.Exists("C:\\APP\\A"));
  EXPECT_FALSE(s.Exists("C:\\APP\\B"));
  EXPECT_FALSE(s.Exists("C:\\APP\\UNSETUP.INI"));
}

}  // namespace
}  // namespace korvane::testing
