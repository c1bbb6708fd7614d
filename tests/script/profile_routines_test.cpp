// Profile values through the real machine's profile store: the 254-byte cut, defaults, names
// without regard to case, and section removal.
#include "script/profile_routines.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "support/temp_machine.h"

namespace korvane {
namespace {

class ProfileRoutinesTest : public posix::testing::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    platform_ = platform();
  }

  Platform platform_;
  const std::string file_ = "C:\\SETUP.INI";
};

TEST_F(ProfileRoutinesTest, LongValuesAndDefaultsAreCutTo254Bytes) {
  std::string value300;
  for (int i = 0; i < 300; ++i) value300 += static_cast<char>('A' + i % 26);
  ASSERT_EQ(platform_.files->WriteWholeFile(file_, "[Long]\r\nValue=" + value300 + "\r\n"),
            kErrorSuccess);
  EXPECT_EQ(ReadProfile(platform_, "Long", "Value", "", file_), value300.substr(0, 254));
  EXPECT_EQ(ReadProfile(platform_, "Long", "Missing", value300, file_), value300.substr(0, 254));

  const std::string value254 = value300.substr(0, 254);
  ASSERT_TRUE(WriteProfile(platform_, "Long", "Exact", value254, file_));
  EXPECT_EQ(ReadProfile(platform_, "Long", "Exact", "", file_), value254);
}

TEST_F(ProfileRoutinesTest, MissingFileSectionOrKeyGiveTheDefault) {
  ASSERT_TRUE(WriteProfile(platform_, "Title", "Setup", "Sample Tool", file_));
  struct Case {
    std::string section;
    std::string key;
    std::string file;
    std::string defaultValue;
    std::string expected;
  };
  const Case cases[] = {
      {"Title", "Setup", "C:\\SETUP.INI", "Korvane", "Sample Tool"},
      {"TITLE", "setup", "C:\\SETUP.INI", "Korvane", "Sample Tool"},
      {"Title", "UnSetup", "C:\\SETUP.INI", "Korvane", "Korvane"},
      {"Other", "Setup", "C:\\SETUP.INI", "Korvane", "Korvane"},
      {"Title", "Setup", "C:\\NONE.INI", "Korvane", "Korvane"},
      {"Title", "Setup", "C:\\NOFOLDER\\SETUP.INI", "", ""},
      {"Title", "UnSetup", "C:\\SETUP.INI", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.section + "/" + c.key + " in " + c.file);
    EXPECT_EQ(ReadProfile(platform_, c.section, c.key, c.defaultValue, c.file), c.expected);
  }
}

TEST_F(ProfileRoutinesTest, WriteProfile) {
  // File and section are created; Japanese texts pass through as they are.
  ASSERT_TRUE(WriteProfile(platform_, "SetupFolder", "Folder", "C:\\ソフト\\", file_));
  ASSERT_TRUE(WriteProfile(platform_, "SetupFolder", "Folder", "D:\\表", file_));
  EXPECT_EQ(ReadProfile(platform_, "SetupFolder", "Folder", "", file_), "D:\\表");
  EXPECT_FALSE(WriteProfile(platform_, "A", "B", "C", "C:\\NOFOLDER\\X.INI"));
}

TEST_F(ProfileRoutinesTest, DeleteProfileSectionAndFlush) {
  ASSERT_TRUE(WriteProfile(platform_, "Keep", "Key", "1", file_));
  ASSERT_TRUE(WriteProfile(platform_, "Drop", "Key1", "2", file_));
  ASSERT_TRUE(WriteProfile(platform_, "Drop", "Key2", "3", file_));
  EXPECT_TRUE(DeleteProfileSection(platform_, "DROP", file_));
  FlushProfile(platform_, file_);
  EXPECT_EQ(ReadProfile(platform_, "Drop", "Key1", "none", file_), "none");
  EXPECT_EQ(ReadProfile(platform_, "Drop", "Key2", "none", file_), "none");
  EXPECT_EQ(ReadProfile(platform_, "Keep", "Key", "", file_), "1");
  // Removing what is not there succeeds.
  EXPECT_TRUE(DeleteProfileSection(platform_, "Never", file_));
}

}  // namespace
}  // namespace korvane
