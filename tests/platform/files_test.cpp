// File and folder operations of the machine: the Windows error code of each failure, the
// directory search ("." and "..", wildcards, case), attributes and DOS time stamps, and
// CopyFile's streaming, time stamp and read-only rules.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <time.h>

#include <csignal>
#include <functional>

#include "platform/win_types.h"
#include "support/temp_machine.h"

namespace korvane::posix::testing {
namespace {

class FilesTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    WriteHostFile(DriveC() + "/DATA/file.txt", "hello");
    WriteHostFile(DriveC() + "/DATA/Sub/inner.txt", "inner");
    WriteHostFile(DriveC() + "/DATA/ro.txt", "read only");
    chmod((DriveC() + "/DATA/ro.txt").c_str(), 0444);
    std::filesystem::create_directories(DriveC() + "/EMPTY");
  }
  FileSystem& files() { return *platform().files; }
  std::vector<std::string> Names(const std::string& pattern, uint32_t expectedRc = 0) {
    std::vector<FindData> entries;
    EXPECT_EQ(files().FindFiles(pattern, entries), expectedRc) << pattern;
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(e.name);
    return names;
  }
};

TEST_F(FilesTest, OperationsReportTheWindowsErrorCodes) {
  struct Case {
    const char* what;
    std::function<uint32_t(FileSystem&)> call;
    uint32_t rc;
  };
  const Case cases[] = {
      {"delete missing file", [](FileSystem& f) { return f.DeleteFile("C:\\DATA\\none.txt"); },
       kErrorFileNotFound},
      {"delete in missing folder", [](FileSystem& f) { return f.DeleteFile("C:\\NONE\\x.txt"); },
       kErrorPathNotFound},
      {"delete below a file", [](FileSystem& f) { return f.DeleteFile("C:\\DATA\\file.txt\\x"); },
       kErrorPathNotFound},
      {"delete read-only", [](FileSystem& f) { return f.DeleteFile("C:\\DATA\\RO.TXT"); },
       kErrorAccessDenied},
      {"delete folder", [](FileSystem& f) { return f.DeleteFile("C:\\DATA\\Sub"); },
       kErrorAccessDenied},
      {"create existing folder", [](FileSystem& f) { return f.CreateDirectory("C:\\data"); },
       kErrorAlreadyExists},
      {"create over a file", [](FileSystem& f) { return f.CreateDirectory("C:\\DATA\\FILE.TXT"); },
       kErrorAlreadyExists},
      {"create without parent", [](FileSystem& f) { return f.CreateDirectory("C:\\A\\B"); },
       kErrorPathNotFound},
      {"create bad name", [](FileSystem& f) { return f.CreateDirectory("C:\\A?B"); },
       kErrorInvalidName},
      {"remove non-empty", [](FileSystem& f) { return f.RemoveDirectory("C:\\DATA"); },
       kErrorDirNotEmpty},
      {"remove missing", [](FileSystem& f) { return f.RemoveDirectory("C:\\NONE"); },
       kErrorFileNotFound},
      {"remove a file", [](FileSystem& f) { return f.RemoveDirectory("C:\\DATA\\file.txt"); },
       kErrorDirectory},
      {"remove the root", [](FileSystem& f) { return f.RemoveDirectory("C:\\"); },
       kErrorAccessDenied},
      {"remove the current folder", [](FileSystem& f) { return f.RemoveDirectory("C:\\WINDOWS"); },
       kErrorSharingViolation},
      {"copy missing source",
       [](FileSystem& f) { return f.CopyFile("C:\\none", "C:\\DATA\\x", false); },
       kErrorFileNotFound},
      {"copy a folder", [](FileSystem& f) { return f.CopyFile("C:\\DATA", "C:\\x", false); },
       kErrorAccessDenied},
      {"copy into missing folder",
       [](FileSystem& f) { return f.CopyFile("C:\\DATA\\file.txt", "C:\\NONE\\x", false); },
       kErrorPathNotFound},
      {"copy fail if exists",
       [](FileSystem& f) { return f.CopyFile("C:\\DATA\\file.txt", "C:\\DATA\\ro.txt", true); },
       kErrorFileExists},
      {"copy onto read-only",
       [](FileSystem& f) { return f.CopyFile("C:\\DATA\\file.txt", "C:\\DATA\\ro.txt", false); },
       kErrorAccessDenied},
      {"copy onto a folder",
       [](FileSystem& f) { return f.CopyFile("C:\\DATA\\file.txt", "C:\\DATA\\SUB", false); },
       kErrorAccessDenied},
      {"copy onto itself",
       [](FileSystem& f) { return f.CopyFile("C:\\DATA\\file.txt", "c:\\data\\FILE.TXT", false); },
       kErrorSharingViolation},
      {"write read-only", [](FileSystem& f) { return f.WriteWholeFile("C:\\DATA\\ro.txt", "x"); },
       kErrorAccessDenied},
      {"read a folder",
       [](FileSystem& f) {
         std::string text;
         return f.ReadWholeFile("C:\\DATA", text);
       },
       kErrorAccessDenied},
      {"attributes of missing",
       [](FileSystem& f) {
         uint32_t a = 0;
         return f.GetAttributes("C:\\DATA\\none", a);
       },
       kErrorFileNotFound},
      {"attributes on no drive", [](FileSystem& f) { return f.SetAttributes("M:\\x", 0x20); },
       kErrorPathNotFound},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.call(files()), c.rc);
  }
  EXPECT_EQ(ReadHostFile(DriveC() + "/DATA/ro.txt"), "read only");
  EXPECT_EQ(ReadHostFile(DriveC() + "/DATA/file.txt"), "hello");
}

TEST_F(FilesTest, FoldersAreCreatedWithTheCaseGivenAndRemoved) {
  EXPECT_EQ(files().CreateDirectory("c:\\data\\NewFolder"), 0u);
  EXPECT_TRUE(std::filesystem::is_directory(DriveC() + "/DATA/NewFolder"));
  EXPECT_EQ(files().CreateDirectory("C:\\DATA\\ソフト"), 0u);
  EXPECT_TRUE(std::filesystem::is_directory(DriveC() + U8(u8"/DATA/ソフト")));
  EXPECT_EQ(files().RemoveDirectory("C:\\DATA\\NEWFOLDER"), 0u);
  EXPECT_EQ(files().RemoveDirectory("C:\\DATA\\ソフト\\"), 0u);
  EXPECT_FALSE(HostExists(DriveC() + U8(u8"/DATA/ソフト")));
  EXPECT_EQ(files().DeleteFile("c:\\data\\sub\\INNER.TXT"), 0u);
  EXPECT_EQ(files().RemoveDirectory("C:\\DATA\\SUB"), 0u);
}

TEST_F(FilesTest, SearchListsDotEntriesOfFoldersButNotOfTheRoot) {
  EXPECT_EQ(Names("C:\\EMPTY\\*.*"), (std::vector<std::string>{".", ".."}));
  EXPECT_EQ(Names("C:\\DATA\\*.*"),
            (std::vector<std::string>{".", "..", "file.txt", "ro.txt", "Sub"}));
  EXPECT_EQ(Names("C:\\data\\*.TXT"), (std::vector<std::string>{"file.txt", "ro.txt"}));
  // A ? at the dot matches nothing (the DOS rule), so shorter names match too.
  EXPECT_EQ(Names("C:\\DATA\\?????.txt"), (std::vector<std::string>{"file.txt", "ro.txt"}));
  EXPECT_EQ(Names("C:\\DATA\\???.txt"), (std::vector<std::string>{"ro.txt"}));
  EXPECT_EQ(Names("C:\\DATA\\sub.*"), (std::vector<std::string>{"Sub"}));  // "X.*" matches "X"
  EXPECT_EQ(Names("C:\\DATA\\FILE.TXT"), (std::vector<std::string>{"file.txt"}));
  EXPECT_EQ(Names("C:\\DATA\\sub"), (std::vector<std::string>{"Sub"}));
  EXPECT_EQ(Names("C:\\DATA\\*.bmp", kErrorFileNotFound), std::vector<std::string>{});
  EXPECT_EQ(Names("C:\\DATA\\none.txt", kErrorFileNotFound), std::vector<std::string>{});
  EXPECT_EQ(Names("C:\\NONE\\*.*", kErrorPathNotFound), std::vector<std::string>{});
  EXPECT_EQ(Names("C:\\DATA\\file.txt\\*.*", kErrorPathNotFound), std::vector<std::string>{});
  std::vector<std::string> root = Names("C:\\*.*");
  EXPECT_EQ(std::count(root.begin(), root.end(), "."), 0);
  EXPECT_EQ(std::count(root.begin(), root.end(), "WINDOWS"), 1);

  // A Japanese name whose second byte is 0x5C is matched as one character.
  WriteHostFile(DriveC() + U8(u8"/DATA/表.txt"), "x");
  EXPECT_EQ(Names("C:\\DATA\\?.txt"), (std::vector<std::string>{"表.txt"}));
  EXPECT_EQ(Names("C:\\DATA\\表*"), (std::vector<std::string>{"表.txt"}));
}

TEST_F(FilesTest, HostNamesWithoutACodePage932FormAreNotListed) {
  WriteHostFile(DriveC() + "/EMPTY/\xff\xfe.txt", "not UTF-8");
  WriteHostFile(DriveC() + "/EMPTY/\xF0\x9F\x98\x80.txt", "no code page 932 form");
  WriteHostFile(DriveC() + "/EMPTY/ok.txt", "");
  EXPECT_EQ(Names("C:\\EMPTY\\*.*"), (std::vector<std::string>{".", "..", "ok.txt"}));
  EXPECT_EQ(files().RemoveDirectory("C:\\EMPTY"), kErrorDirNotEmpty);
}

TEST_F(FilesTest, SearchReportsSizeAttributesAndDosTime) {
  setenv("TZ", "UTC0", 1);
  tzset();
  std::string path = DriveC() + "/DATA/file.txt";
  struct timeval times[2] = {{0, 0}, {0, 0}};
  struct tm when = {};
  when.tm_year = 2001 - 1900;
  when.tm_mon = 2;  // March
  when.tm_mday = 4;
  when.tm_hour = 13;
  when.tm_min = 45;
  when.tm_sec = 31;
  times[1].tv_sec = timegm(&when);
  times[0] = times[1];
  ASSERT_EQ(utimes(path.c_str(), times), 0);

  std::vector<FindData> entries;
  ASSERT_EQ(files().FindFiles("C:\\DATA\\FILE.TXT", entries), 0u);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].size, 5u);
  EXPECT_EQ(entries[0].attributes, kAttrArchive);
  uint32_t date = ((2001 - 1980) << 9) | (3 << 5) | 4;
  uint32_t time = (13 << 11) | (45 << 5) | (31 / 2);
  EXPECT_EQ(static_cast<uint32_t>(entries[0].lastWriteDos), (date << 16) | time);

  times[1].tv_sec = 0;  // 1970: no DOS form
  ASSERT_EQ(utimes(path.c_str(), times), 0);
  ASSERT_EQ(files().FindFiles("C:\\DATA\\FILE.TXT", entries), 0u);
  EXPECT_EQ(entries[0].lastWriteDos, -1);

  ASSERT_EQ(files().FindFiles("C:\\DATA\\S*", entries), 0u);
  EXPECT_EQ(entries[0].attributes, kAttrDirectory);
  EXPECT_EQ(entries[0].size, 0u);
}

TEST_F(FilesTest, AttributesRoundTrip) {
  uint32_t attributes = 0;
  ASSERT_EQ(files().GetAttributes("C:\\DATA\\ro.txt", attributes), 0u);
  EXPECT_EQ(attributes, kAttrReadOnly | kAttrArchive);
  ASSERT_EQ(files().GetAttributes("C:\\DATA", attributes), 0u);
  EXPECT_EQ(attributes, kAttrDirectory);
  ASSERT_EQ(files().GetAttributes("C:\\", attributes), 0u);
  EXPECT_EQ(attributes, kAttrDirectory);

  ASSERT_EQ(files().SetAttributes("C:\\DATA\\ro.txt", kAttrArchive), 0u);
  ASSERT_EQ(files().GetAttributes("C:\\DATA\\ro.txt", attributes), 0u);
  EXPECT_EQ(attributes, kAttrArchive);
  EXPECT_EQ(files().DeleteFile("C:\\DATA\\ro.txt"), 0u);

  ASSERT_EQ(files().SetAttributes("C:\\DATA\\file.txt", kAttrReadOnly), 0u);
  struct stat st;
  ASSERT_EQ(stat((DriveC() + "/DATA/file.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0222, 0u);

  // Hidden and system need extended attributes; without them the file system drops them.
  ASSERT_EQ(files().SetAttributes("C:\\DATA\\file.txt", kAttrHidden | kAttrSystem), 0u);
  ASSERT_EQ(files().GetAttributes("C:\\DATA\\file.txt", attributes), 0u);
  if (attributes != kAttrArchive) {
    EXPECT_EQ(attributes, kAttrHidden | kAttrSystem);
  }
  ASSERT_EQ(files().SetAttributes("C:\\DATA\\file.txt", kAttrArchive), 0u);
  ASSERT_EQ(files().GetAttributes("C:\\DATA\\file.txt", attributes), 0u);
  EXPECT_EQ(attributes, kAttrArchive);

  // A folder's read-only flag does not stop files being made in it, but its removal.
  ASSERT_EQ(files().SetAttributes("C:\\EMPTY", kAttrReadOnly), 0u);
  ASSERT_EQ(files().GetAttributes("C:\\EMPTY", attributes), 0u);
  EXPECT_EQ(files().WriteWholeFile("C:\\EMPTY\\in.txt", "x"), 0u);
  EXPECT_EQ(files().DeleteFile("C:\\EMPTY\\in.txt"), 0u);
  if (attributes != kAttrDirectory) {
    EXPECT_EQ(attributes, kAttrDirectory | kAttrReadOnly);
    EXPECT_EQ(files().RemoveDirectory("C:\\EMPTY"), kErrorAccessDenied);
  }
  ASSERT_EQ(files().SetAttributes("C:\\EMPTY", kAttrDirectory), 0u);
  EXPECT_EQ(files().RemoveDirectory("C:\\EMPTY"), 0u);
}

TEST_F(FilesTest, CopyKeepsTimeAndAttributesAndOverwrites) {
  std::string source = DriveC() + "/DATA/big.bin";
  std::string bytes;
  for (int i = 0; i < 300000; ++i) bytes += static_cast<char>(i * 7);
  WriteHostFile(source, bytes);
  struct timeval times[2] = {{1000000000, 0}, {1000000000, 0}};
  ASSERT_EQ(utimes(source.c_str(), times), 0);
  chmod(source.c_str(), 0444);

  ASSERT_EQ(files().CopyFile("C:\\DATA\\BIG.BIN", "C:\\EMPTY\\Copy.Bin", true), 0u);
  std::string target = DriveC() + "/EMPTY/Copy.Bin";
  EXPECT_EQ(ReadHostFile(target), bytes);
  struct stat st;
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, 1000000000);
  uint32_t attributes = 0;
  ASSERT_EQ(files().GetAttributes("C:\\EMPTY\\COPY.BIN", attributes), 0u);
  EXPECT_EQ(attributes, kAttrReadOnly | kAttrArchive);
  // The read-only copy refuses to be overwritten until the caller clears the attribute.
  EXPECT_EQ(files().CopyFile("C:\\DATA\\file.txt", "C:\\EMPTY\\COPY.BIN", false),
            kErrorAccessDenied);
  ASSERT_EQ(files().SetAttributes("C:\\EMPTY\\COPY.BIN", kAttrArchive), 0u);
  ASSERT_EQ(files().CopyFile("C:\\DATA\\file.txt", "C:\\EMPTY\\COPY.BIN", false), 0u);
  EXPECT_EQ(ReadHostFile(target), "hello");
  EXPECT_FALSE(HostExists(DriveC() + "/EMPTY/COPY.BIN"));  // the existing name is kept
}

TEST_F(FilesTest, CopyThatRunsOutOfSpaceLeavesNoTarget) {
  WriteHostFile(DriveC() + "/DATA/big.bin", std::string(64 * 1024, 'b'));
  // A file size limit stands in for a full disk (it holds for root as well).
  struct rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limit = saved;
  limit.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  uint32_t rc = files().CopyFile("C:\\DATA\\big.bin", "C:\\EMPTY\\big.bin", false);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(rc, kErrorDiskFull);
  EXPECT_FALSE(HostExists(DriveC() + "/EMPTY/big.bin"));
}

TEST_F(FilesTest, WholeFilesAreReadAndWritten) {
  ASSERT_EQ(files().WriteWholeFile("C:\\DATA\\New.txt", std::string("a\0b", 3)), 0u);
  std::string text;
  ASSERT_EQ(files().ReadWholeFile("c:\\data\\new.TXT", text), 0u);
  EXPECT_EQ(text, std::string("a\0b", 3));
  ASSERT_EQ(files().WriteWholeFile("C:\\DATA\\NEW.TXT", "shorter"), 0u);
  EXPECT_EQ(ReadHostFile(DriveC() + "/DATA/New.txt"), "shorter");
  EXPECT_EQ(files().WriteWholeFile("C:\\NONE\\x.txt", ""), kErrorPathNotFound);
}

}  // namespace
}  // namespace korvane::posix::testing
