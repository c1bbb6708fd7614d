// The insertion rule of the undo lists with the machine's upper-case mapping.
#include "uninstall/undo_lists.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "support/temp_machine.h"

namespace korvane {
namespace {

class UndoListsTest : public posix::testing::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    platform_ = platform();
  }

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
