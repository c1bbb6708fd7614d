// The insertion rule of the undo lists with the machine's upper-case mapping.
#include "uninstall/undo_lists.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/posix/posix_machine.h"

namespace korvane {
namespace {

class UndoListsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/korvane-undo-lists-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    posix::MachineOptions options;
    options.machineDir = dir_ + "/machine";
    options.recordingClock = true;
    std::string error;
    machine_ = posix::Machine::Open(options, error);
    ASSERT_NE(machine_, nullptr) << error;
    platform_ = machine_->platform();
  }
  void TearDown() override {
    machine_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  std::string dir_;
  std::unique_ptr<posix::Machine> machine_;
  Platform platform_;
};

TEST_F(UndoListsTest, AddsOnceIgnoringLetterCase) {
  UndoLists lists;
  std::vector<std::string>& folders = lists.DeleteFolderList;
  EXPECT_TRUE(AddUnlessPresent(platform_, folders, "C:\\Tools\\App\\"));
  EXPECT_TRUE(AddUnlessPresent(platform_, folders, "C:\\Tools\\App\\Data\\"));
  EXPECT_FALSE(AddUnlessPresent(platform_, folders, "c:\\TOOLS\\app\\"));
  EXPECT_FALSE(AddUnlessPresent(platform_, folders, "C:\\Tools\\App\\Data\\"));
  // Full-width letters are mapped too; kana never equal each other by a letter's case.
  EXPECT_TRUE(AddUnlessPresent(platform_, folders, "C:\\ａｂ\\"));
  EXPECT_FALSE(AddUnlessPresent(platform_, folders, "C:\\ＡＢ\\"));
  EXPECT_TRUE(AddUnlessPresent(platform_, folders, "C:\\ア\\"));
  EXPECT_TRUE(AddUnlessPresent(platform_, folders, "C:\\ヂ\\"));
  ASSERT_EQ(folders.size(), static_cast<size_t>(kDeleteFolderSlots));
  EXPECT_EQ(folders[0], "C:\\Tools\\App\\");
  EXPECT_EQ(folders[1], "C:\\Tools\\App\\Data\\");
  EXPECT_EQ(folders[2], "C:\\ａｂ\\");
  EXPECT_EQ(folders[3], "C:\\ア\\");
  EXPECT_EQ(folders[4], "C:\\ヂ\\");
  EXPECT_EQ(folders[5], "");
}

TEST_F(UndoListsTest, AFullListDropsNewTexts) {
  std::vector<std::string> relate(kRestoreRelateSlots);
  for (int i = 1; i <= kRestoreRelateSlots; ++i) {
    EXPECT_TRUE(AddUnlessPresent(platform_, relate, "ext" + std::to_string(i) + ",old"));
  }
  EXPECT_FALSE(AddUnlessPresent(platform_, relate, "ext6,old"));
  EXPECT_FALSE(AddUnlessPresent(platform_, relate, "EXT5,OLD"));
  EXPECT_EQ(relate.back(), "ext5,old");
  EXPECT_EQ(relate.size(), static_cast<size_t>(kRestoreRelateSlots));
}

TEST_F(UndoListsTest, TheFirstFreeSlotEndsTheSearch) {
  // Slots are looked at from 1 on: a text behind a free slot is not seen.
  std::vector<std::string> list = {"A", "", "B", ""};
  EXPECT_FALSE(AddUnlessPresent(platform_, list, "a"));
  EXPECT_TRUE(AddUnlessPresent(platform_, list, "b"));
  EXPECT_EQ(list, (std::vector<std::string>{"A", "b", "B", ""}));
}

}  // namespace
}  // namespace korvane
