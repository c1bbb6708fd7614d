// File, folder, case-mapping and error-text routines against a real machine folder: attributes
// around copies and deletes, folder tests with and without their backslash, folder chains with
// Japanese names, and the full-width system texts.
#include "script/system_routines.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <filesystem>
#include <memory>
#include <string>

#include "support/temp_machine.h"

namespace korvane {
namespace {

class SystemRoutinesTest : public posix::testing::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    platform_ = platform();
  }

  void Write(const std::string& path, const std::string& contents) {
    ASSERT_EQ(platform_.files->WriteWholeFile(path, contents), kErrorSuccess) << path;
  }
  std::string Read(const std::string& path) {
    std::string contents;
    EXPECT_EQ(platform_.files->ReadWholeFile(path, contents), kErrorSuccess) << path;
    return contents;
  }
  uint32_t Attributes(const std::string& path) {
    uint32_t attributes = 0;
    EXPECT_EQ(platform_.files->GetAttributes(path, attributes), kErrorSuccess) << path;
    return attributes;
  }
  void MakeFolder(const std::string& path) {
    ASSERT_EQ(platform_.files->CreateDirectory(path), kErrorSuccess) << path;
  }
  bool IsFolder(const std::string& path) {
    uint32_t attributes = 0;
    return platform_.files->GetAttributes(path, attributes) == kErrorSuccess &&
           (attributes & kAttrDirectory) != 0;
  }
  void SetHostTime(const std::string& path, time_t seconds) {
    std::string host;
    ASSERT_EQ(machine_->HostPath(path, host), kErrorSuccess);
    struct timeval times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimes(host.c_str(), times), 0);
  }

  Platform platform_;
};

TEST_F(SystemRoutinesTest, FileCopyToOverReadOnlyTargetLeavesArchiveOnly) {
  Write("C:\\SRC.TXT", "new");
  Write("C:\\DST.TXT", "old");
  ASSERT_EQ(platform_.files->SetAttributes("C:\\DST.TXT", kAttrReadOnly | kAttrHidden),
            kErrorSuccess);
  EXPECT_EQ(FileCopyTo(platform_, "C:\\SRC.TXT", "C:\\DST.TXT"), kErrorSuccess);
  EXPECT_EQ(Read("C:\\DST.TXT"), "new");
  EXPECT_EQ(Attributes("C:\\DST.TXT"), kAttrArchive);
}

TEST_F(SystemRoutinesTest, FileCopyToDropsTheSourceAttributes) {
  Write("C:\\SRC.TXT", "data");
  ASSERT_EQ(platform_.files->SetAttributes("C:\\SRC.TXT", kAttrReadOnly | kAttrArchive),
            kErrorSuccess);
  EXPECT_EQ(FileCopyTo(platform_, "C:\\SRC.TXT", "C:\\NEW.TXT"), kErrorSuccess);
  EXPECT_EQ(Read("C:\\NEW.TXT"), "data");
  EXPECT_EQ(Attributes("C:\\NEW.TXT"), kAttrArchive);
  EXPECT_EQ(Attributes("C:\\SRC.TXT") & kAttrReadOnly, kAttrReadOnly);
}

TEST_F(SystemRoutinesTest, FileCopyToReportsTheErrorCode) {
  Write("C:\\SRC.TXT", "data");
  EXPECT_EQ(FileCopyTo(platform_, "C:\\MISSING.TXT", "C:\\DST.TXT"), kErrorFileNotFound);
  EXPECT_FALSE(FileExists(platform_, "C:\\DST.TXT"));
  EXPECT_EQ(FileCopyTo(platform_, "C:\\SRC.TXT", "C:\\NOFOLDER\\DST.TXT"), kErrorPathNotFound);
}

TEST_F(SystemRoutinesTest, FileRemove) {
  Write("C:\\RO.TXT", "x");
  ASSERT_EQ(platform_.files->SetAttributes("C:\\RO.TXT", kAttrReadOnly | kAttrSystem),
            kErrorSuccess);
  EXPECT_EQ(FileRemove(platform_, "C:\\RO.TXT"), kErrorSuccess);
  EXPECT_FALSE(FileExists(platform_, "C:\\RO.TXT"));
  EXPECT_EQ(FileRemove(platform_, "C:\\RO.TXT"), kErrorFileNotFound);
  EXPECT_EQ(FileRemove(platform_, "C:\\NOFOLDER\\X.TXT"), kErrorPathNotFound);
  MakeFolder("C:\\DIR");
  EXPECT_NE(FileRemove(platform_, "C:\\DIR"), kErrorSuccess);
  EXPECT_TRUE(IsFolder("C:\\DIR"));
}

TEST_F(SystemRoutinesTest, FolderExists) {
  MakeFolder("C:\\EMPTY");
  MakeFolder("C:\\FULL");
  Write("C:\\FULL\\A.TXT", "a");
  Write("C:\\FILE.TXT", "f");
  MakeFolder("C:\\ソフト");
  MakeFolder("C:\\ソ");
  struct Case {
    std::string path;
    bool exists;
  };
  const Case cases[] = {
      {"C:\\EMPTY", true},
      {"C:\\EMPTY\\", true},
      {"c:\\empty", true},
      {"C:\\FULL", true},
      {"C:\\FULL\\", true},
      {"C:\\MISSING", false},
      {"C:\\MISSING\\", false},
      {"C:\\FILE.TXT", false},
      {"C:\\FILE.TXT\\", false},
      {"C:\\", true},
      {"C:", true},
      {"C:\\ソフト\\", true},
      {"C:\\ソ", true},
      {"C:\\ソ\\", true},
      {"C:\\表", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FolderExists(platform_, c.path), c.exists);
  }
}

TEST_F(SystemRoutinesTest, FindFirstEntrySkipsAttributesOutsideTheMask) {
  MakeFolder("C:\\D");
  Write("C:\\D\\HIDDEN.TXT", "h");
  ASSERT_EQ(platform_.files->SetAttributes("C:\\D\\HIDDEN.TXT", kAttrHidden), kErrorSuccess);
  // Only folders and a hidden file: mask 0 finds nothing, the folder mask finds a folder.
  EXPECT_FALSE(FindFirstEntry(platform_, "C:\\D\\*.*", 0).has_value());
  std::optional<FindData> folder = FindFirstEntry(platform_, "C:\\D\\*.*", kAttrDirectory);
  ASSERT_TRUE(folder.has_value());
  EXPECT_NE(folder->attributes & kAttrDirectory, 0u);
  std::optional<FindData> hidden = FindFirstEntry(platform_, "C:\\D\\HIDDEN.TXT", kAttrHidden);
  ASSERT_TRUE(hidden.has_value());
  EXPECT_EQ(hidden->name, "HIDDEN.TXT");

  Write("C:\\D\\PLAIN.TXT", "p");
  std::optional<FindData> plain = FindFirstEntry(platform_, "C:\\D\\*.*", 0);
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(plain->name, "PLAIN.TXT");
  EXPECT_FALSE(FindFirstEntry(platform_, "C:\\NOFOLDER\\*.*", kAttrAnyFile).has_value());
}

TEST_F(SystemRoutinesTest, CreateFolderChain) {
  EXPECT_TRUE(CreateFolderChain(platform_, "C:\\A\\B\\C\\"));
  EXPECT_TRUE(IsFolder("C:\\A\\B\\C"));

  // Without the trailing backslash the last name is not a folder to create.
  EXPECT_TRUE(CreateFolderChain(platform_, "C:\\X\\Y\\Z"));
  EXPECT_TRUE(IsFolder("C:\\X\\Y"));
  EXPECT_FALSE(IsFolder("C:\\X\\Y\\Z"));

  // Nothing to create: true.
  EXPECT_TRUE(CreateFolderChain(platform_, "C:\\A\\B\\C\\"));
  EXPECT_TRUE(CreateFolderChain(platform_, "NAME"));
  EXPECT_TRUE(CreateFolderChain(platform_, ""));

  // A file in the way makes the creation below it fail.
  Write("C:\\F.TXT", "f");
  EXPECT_FALSE(CreateFolderChain(platform_, "C:\\F.TXT\\SUB\\"));
}

TEST_F(SystemRoutinesTest, CreateFolderChainKeepsJapaneseNamesWhole) {
  // ソ and 表 end in 0x5C: no folder is made for the part of the name before it.
  EXPECT_TRUE(CreateFolderChain(platform_, "C:\\ソフト\\図表\\"));
  EXPECT_TRUE(IsFolder("C:\\ソフト\\図表"));
  EXPECT_FALSE(IsFolder("C:\\\x83"));
  EXPECT_FALSE(IsFolder("C:\\ソフト\\図\x95"));
  EXPECT_TRUE(CreateFolderChain(platform_, "C:\\機能\\"));
  EXPECT_TRUE(IsFolder("C:\\機能"));
}

TEST_F(SystemRoutinesTest, FileExistsAndFileDate) {
  Write("C:\\A.TXT", "a");
  Write("C:\\B.TXT", "b");
  Write("C:\\H.TXT", "h");
  ASSERT_EQ(platform_.files->SetAttributes("C:\\H.TXT", kAttrHidden | kAttrSystem), kErrorSuccess);
  MakeFolder("C:\\DIR");
  SetHostTime("C:\\A.TXT", 1000000000);  // 2001
  SetHostTime("C:\\B.TXT", 1300000000);  // 2011

  EXPECT_TRUE(FileExists(platform_, "C:\\A.TXT"));
  EXPECT_TRUE(FileExists(platform_, "c:\\a.txt"));
  EXPECT_TRUE(FileExists(platform_, "C:\\H.TXT"));
  EXPECT_FALSE(FileExists(platform_, "C:\\DIR"));
  EXPECT_FALSE(FileExists(platform_, "C:\\MISSING.TXT"));
  EXPECT_FALSE(FileExists(platform_, "C:\\NOFOLDER\\A.TXT"));

  EXPECT_NE(FileDate(platform_, "C:\\A.TXT"), -1);
  EXPECT_LT(FileDate(platform_, "C:\\A.TXT"), FileDate(platform_, "C:\\B.TXT"));
  EXPECT_NE(FileDate(platform_, "C:\\H.TXT"), -1);
  EXPECT_EQ(FileDate(platform_, "C:\\DIR"), -1);
  EXPECT_EQ(FileDate(platform_, "C:\\MISSING.TXT"), -1);
}

TEST_F(SystemRoutinesTest, MapStringAndSameText) {
  struct Case {
    std::string text;
    uint32_t flags;
    std::string expected;
  };
  const Case cases[] = {
      {"c:\\program files\\a.exe", kLcmapUppercase, "C:\\PROGRAM FILES\\A.EXE"},
      {"ａｂ", kLcmapUppercase, "ＡＢ"},
      {"ｱｲｳ", kLcmapUppercase, "ｱｲｳ"},
      {"", kLcmapUppercase, ""},
      {"abc XYZ", kLcmapFullwidth, "ａｂｃ　ＸＹＺ"},
      {"ｱｲｳ", kLcmapFullwidth, "アイウ"},
      {"C:\\", kLcmapFullwidth, "Ｃ：\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(MapString(platform_, c.text, c.flags), c.expected);
  }
  EXPECT_EQ(UpperCase(platform_, "ソフトx"), "ソフトX");
  EXPECT_TRUE(SameText(platform_, "C:\\Tools\\", "c:\\TOOLS\\"));
  EXPECT_FALSE(SameText(platform_, "C:\\Tools", "C:\\Tools\\"));
  // ア (83 41) and ヂ (83 61) differ only in a second byte that is a letter in ASCII.
  EXPECT_FALSE(SameText(platform_, "ア", "ヂ"));
}

TEST_F(SystemRoutinesTest, ErrorText) {
  EXPECT_EQ(ErrorText(platform_, 0), "");
  EXPECT_EQ(ErrorText(platform_, 2), "指定されたファイルが見つかりません。\r\n");
  EXPECT_EQ(ErrorText(platform_, 3), "指定されたパスが見つかりません。\r\n");
  // The half-width blank of the system text comes out in full width.
  EXPECT_EQ(ErrorText(platform_, 123),
            "ファイル名、ディレクトリ名、またはボリューム　ラベルの構文が間違っています。\r\n");
  EXPECT_EQ(ErrorText(platform_, 999999), "");
}

}  // namespace
}  // namespace korvane
