// Windows paths to host paths: letter case (ASCII and the code page 932 letters), Japanese
// names with 0x5C as second byte, relative forms, "..", confinement against symbolic links,
// and the errors of bad names.
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/win_types.h"
#include "support/temp_machine.h"

namespace korvane::posix::testing {
namespace {

class PathMappingTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    root_ = std::filesystem::canonical(DriveC()).string();
  }
  std::string root_;
};

TEST_F(PathMappingTest, MapsWindowsPathsToHostPaths) {
  for (const std::string& dir : {U8(u8"ソフト/表示"), U8(u8"ａｂｃ"), U8(u8"αβ"), U8(u8"жи"),
                                 U8(u8"ア"), std::string("Mixed")}) {
    std::filesystem::create_directories(root_ + "/" + dir);
  }
  struct Case {
    std::string windows;
    uint32_t rc;
    std::string host;  // below drive_c, UTF-8
  };
  const Case cases[] = {
      {"C:\\WINDOWS\\SYSTEM", 0, "/WINDOWS/SYSTEM"},
      {"c:\\windows\\system", 0, "/WINDOWS/SYSTEM"},
      {"C:/Windows/System/", 0, "/WINDOWS/SYSTEM"},
      {"C:\\WINDOWS\\\\TEMP", 0, "/WINDOWS/TEMP"},
      {"C:\\mixed\\NewDir\\File.TXT", 0, "/Mixed/NewDir/File.TXT"},  // missing: as given
      {"C:\\", 0, ""},
      {"C:\\..\\..\\windows", 0, "/WINDOWS"},  // ".." stops at the root
      {"C:\\WINDOWS\\.\\TEMP\\..\\SYSTEM", 0, "/WINDOWS/SYSTEM"},
      {"C:\\WINDOWS.  ", 0, "/WINDOWS"},  // trailing dots and blanks go
      {"SYSTEM", 0, "/WINDOWS/SYSTEM"},   // current folder C:\WINDOWS
      {"..\\Mixed", 0, "/Mixed"},
      {"\\mixed", 0, "/Mixed"},                                      // root of the current drive
      {"C:temp", 0, "/WINDOWS/TEMP"},                                // current folder of drive C:
      {"C:\\ソフト\\表示\\表.txt", 0, U8(u8"/ソフト/表示/表.txt")},  // 83 5C, 95 5C
      {"C:\\ＡＢＣ", 0, U8(u8"/ａｂｃ")},                            // full-width letters fold
      {"C:\\ΑΒ", 0, U8(u8"/αβ")},                                    // Greek
      {"C:\\ЖИ", 0, U8(u8"/жи")},                                    // Cyrillic
      {"C:\\ヂ", 0, U8(u8"/ヂ")},  // 83 61 is not ア 83 41 upper-cased
      {"D:\\x", kErrorPathNotFound, ""},
      {"\\\\server\\share\\x", kErrorPathNotFound, ""},
      {"C:\\a<b", kErrorInvalidName, ""},
      {"C:\\a|b\\c", kErrorInvalidName, ""},
      {"C:\\a*", kErrorInvalidName, ""},
      {"C:\\\x85\x40", kErrorInvalidName, ""},  // no Unicode form
      {"C:\\abc\x83", kErrorInvalidName, ""},   // ends inside a character
      {"C:\\" + std::string(256, 'a'), kErrorFilenameExcedRange, ""},
      {"C:\\" + std::string(200, 'a') + "\\" + std::string(100, 'b'), kErrorFilenameExcedRange, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.windows);
    std::string host;
    EXPECT_EQ(machine_->HostPath(c.windows, host), c.rc);
    if (c.rc == 0) {
      EXPECT_EQ(host, root_ + c.host);
    }
  }
}

TEST_F(PathMappingTest, ExactNameWinsOverOtherCase) {
  std::filesystem::create_directories(root_ + "/data");
  std::filesystem::create_directories(root_ + "/DATA");
  std::string host;
  ASSERT_EQ(machine_->HostPath("C:\\DATA", host), 0u);
  EXPECT_EQ(host, root_ + "/DATA");
  ASSERT_EQ(machine_->HostPath("C:\\data", host), 0u);
  EXPECT_EQ(host, root_ + "/data");
  ASSERT_EQ(machine_->HostPath("C:\\Data", host), 0u);
  EXPECT_EQ(host, root_ + "/DATA");  // neither exact: the first in byte order
}

TEST_F(PathMappingTest, SymbolicLinksStayInsideTheDrive) {
  std::string outside = temp_.path() + "/outside";
  WriteHostFile(outside + "/secret.txt", "secret");
  WriteHostFile(root_ + "/inside/real.txt", "real");
  ASSERT_EQ(symlink(outside.c_str(), (root_ + "/out").c_str()), 0);
  ASSERT_EQ(symlink((outside + "/secret.txt").c_str(), (root_ + "/secret.lnk").c_str()), 0);
  ASSERT_EQ(symlink("../../outside", (root_ + "/inside/up").c_str()), 0);
  ASSERT_EQ(symlink("inside", (root_ + "/rel").c_str()), 0);
  ASSERT_EQ(symlink((root_ + "/inside/real.txt").c_str(), (root_ + "/abs.lnk").c_str()), 0);
  ASSERT_EQ(symlink("loop", (root_ + "/loop").c_str()), 0);

  FileSystem& files = *platform().files;
  struct Case {
    std::string path;
    uint32_t rc;
    std::string contents;
  };
  const Case cases[] = {
      {"C:\\out\\secret.txt", kErrorAccessDenied, ""},
      {"C:\\secret.lnk", kErrorAccessDenied, ""},
      {"C:\\inside\\up\\secret.txt", kErrorAccessDenied, ""},
      {"C:\\REL\\REAL.TXT", 0, "real"},
      {"C:\\abs.lnk", 0, "real"},
      {"C:\\loop", kErrorAccessDenied, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    std::string text;
    EXPECT_EQ(files.ReadWholeFile(c.path, text), c.rc);
    EXPECT_EQ(text, c.contents);
  }
  EXPECT_NE(files.WriteWholeFile("C:\\out\\new.txt", "x"), 0u);
  EXPECT_NE(files.CopyFile("C:\\inside\\real.txt", "C:\\secret.lnk", false), 0u);
  EXPECT_FALSE(HostExists(outside + "/new.txt"));
  EXPECT_EQ(ReadHostFile(outside + "/secret.txt"), "secret");
  std::string host;
  EXPECT_EQ(machine_->HostPath("C:\\out\\secret.txt", host), kErrorAccessDenied);

  // A listing does not show what lies outside.
  std::vector<FindData> entries;
  ASSERT_EQ(files.FindFiles("C:\\*.LNK", entries), 0u);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "abs.lnk");
  EXPECT_EQ(entries[0].size, 4u);
}

TEST_F(PathMappingTest, CurrentFolderFollowsSetCurrentDirectory) {
  FileSystem& files = *platform().files;
  EXPECT_EQ(files.SetCurrentDirectory("c:\\windows\\system\\"), 0u);
  EXPECT_EQ(files.GetCurrentDirectory(), "C:\\windows\\system");
  std::string host;
  ASSERT_EQ(machine_->HostPath("..\\TEMP\\x.tmp", host), 0u);
  EXPECT_EQ(host, root_ + "/WINDOWS/TEMP/x.tmp");
  EXPECT_EQ(files.SetCurrentDirectory("C:\\NOWHERE"), kErrorFileNotFound);
  EXPECT_EQ(files.SetCurrentDirectory("C:\\NOWHERE\\DEEPER"), kErrorPathNotFound);
  WriteHostFile(root_ + "/file.txt", "");
  EXPECT_EQ(files.SetCurrentDirectory("C:\\file.txt"), kErrorDirectory);
  EXPECT_EQ(files.GetCurrentDirectory(), "C:\\windows\\system");
  EXPECT_EQ(files.SetCurrentDirectory("C:\\"), 0u);
  EXPECT_EQ(files.GetCurrentDirectory(), "C:\\");
}

}  // namespace
}  // namespace korvane::posix::testing
