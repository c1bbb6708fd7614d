// The folder browser's model over a real machine folder: the drives with C:\ first, the
// visible subfolders sorted without regard to case, and joined paths.
#include "framework/folder_browser.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/posix/posix_machine.h"

namespace korvane {
namespace {

class FolderBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = std::filesystem::temp_directory_path() / "korvane-browser-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    std::filesystem::create_directories(root_ + "/pkg/DISK2");
    posix::MachineOptions options;
    options.machineDir = root_ + "/machine";
    options.packageDrive = 'Q';
    options.packageHostDir = root_ + "/pkg";
    options.recordingClock = true;
    std::string error;
    machine_ = posix::Machine::Open(options, error);
    ASSERT_NE(machine_, nullptr) << error;
    files_ = machine_->platform().files;
  }
  void TearDown() override {
    machine_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  std::string root_;
  std::unique_ptr<posix::Machine> machine_;
  FileSystem* files_ = nullptr;
};

TEST_F(FolderBrowserTest, DrivesStartWithC) {
  FolderBrowser browser(*files_, "title", 0x1);
  const std::vector<std::string> drives = browser.Drives();
  ASSERT_GE(drives.size(), 2u);
  EXPECT_EQ(drives.front(), "C:\\");
  EXPECT_NE(std::find(drives.begin(), drives.end(), "Q:\\"), drives.end());
  EXPECT_EQ(browser.Title(), "title");
  EXPECT_EQ(browser.Flags(), 0x1u);
}

TEST_F(FolderBrowserTest, ChildrenAreVisibleFoldersSortedWithoutCase) {
  for (const char* folder : {"C:\\Top", "C:\\Top\\zeta", "C:\\Top\\Alpha", "C:\\Top\\beta",
                             "C:\\Top\\表示", "C:\\Top\\Hidden"}) {
    ASSERT_EQ(files_->CreateDirectory(folder), 0u) << folder;
  }
  ASSERT_EQ(files_->WriteWholeFile("C:\\Top\\file.txt", "x"), 0u);
  std::vector<std::string> expected = {"Alpha", "beta", "Hidden", "zeta", "表示"};
  uint32_t attributes = 0;
  if (files_->SetAttributes("C:\\Top\\Hidden", kAttrDirectory | kAttrHidden) == 0 &&
      files_->GetAttributes("C:\\Top\\Hidden", attributes) == 0 &&
      (attributes & kAttrHidden) != 0) {
    expected.erase(expected.begin() + 2);
  }
  FolderBrowser browser(*files_, "", 0);
  EXPECT_EQ(browser.Children("C:\\Top"), expected);
  EXPECT_EQ(browser.Children("C:\\Top\\"), expected);
  EXPECT_EQ(browser.Children("Q:\\"), std::vector<std::string>{"DISK2"});
  EXPECT_TRUE(browser.Children("C:\\Nowhere").empty());
  EXPECT_TRUE(browser.Children("C:\\Top\\Alpha").empty());
}

TEST(FolderBrowserJoinTest, OneSeparatorBetweenFolderAndChild) {
  struct Case {
    const char* folder;
    const char* child;
    const char* joined;
  };
  const Case cases[] = {
      {"C:\\", "APPS", "C:\\APPS"},
      {"C:\\APPS", "Tools", "C:\\APPS\\Tools"},
      {"C:\\APPS\\", "Tools", "C:\\APPS\\Tools"},
      {"C:\\表", "x", "C:\\表\\x"},  // 表 ends in 0x5C: not a separator
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.joined);
    EXPECT_EQ(FolderBrowser::Join(c.folder, c.child), c.joined);
  }
}

}  // namespace
}  // namespace korvane
