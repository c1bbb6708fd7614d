// The copy phase through whole runs: disk changes, overwrite rules, expansion of SZDD files
// made by the real mscompress (stored names, AUTO.EXT, truncated and plain sources), failure
// lines and the DeleteFileList variant that replaces a slot of the same path.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "install/setup_run_support.h"

namespace korvane::testing {
namespace {

namespace fs = std::filesystem;

// The SZDD file that mscompress makes of these bytes.
std::string Compress(const Scenario& s, const std::string& bytes) {
  const fs::path folder = fs::path(s.Root()) / "mscompress";
  fs::create_directories(folder);
  const fs::path plain = folder / "DATA.BIN";
  std::ofstream(plain, std::ios::binary) << bytes;
  fs::remove(folder / "DATA.BIN_");
  const std::string command = "mscompress '" + plain.string() + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << "mscompress is needed (tools/bootstrap.sh)";
  std::ifstream in(folder / "DATA.BIN_", std::ios::binary);
  std::stringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string HelpText() {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "Line " + std::to_string(i) + ": ページを開く．\r\n";
  return text;
}

std::string Record(Scenario& s, const std::string& key) {
  return s.Profile("C:\\APP\\UNSETUP.INI", "DeleteFile", key);
}

TEST(CopyPhase, AsksForEachNextDiskEvenWhenItsFileIsThere) {
  Scenario s;
  s.WriteScript(
      "[DefaultFolder]\nFolder=C:\\APP\\\n[CopyFile]\nFile1=(App)\\A.TXT\n"
      "File2=(Dch)(App)\\B.TXT\nFile3=(App)\\C.TXT\nFile4=(Dch)(App)\\D.TXT\n");
  for (const char* name : {"A.TXT", "B.TXT", "C.TXT", "D.TXT"}) s.WritePackageFile(name, name);
  RunResult r = s.Setup();
  EXPECT_EQ(r.exitCode, 0) << r.err;
  auto asks = Asks(r, "ディスク交換");
  ASSERT_EQ(asks.size(), 2u);
  EXPECT_EQ(RunResult::Text(asks[0], "text"), "2枚目のディスクに交換してください．");
  EXPECT_EQ(RunResult::Text(asks[1], "text"), "3枚目のディスクに交換してください．");
  EXPECT_EQ(asks[0].at("style"), 65);
  EXPECT_TRUE(s.Exists("C:\\APP\\D.TXT"));
  EXPECT_EQ(Record(s, "File2"), "C:\\APP\\B.TXT");  // recorded without the disk mark
}

TEST(CopyPhase, DiskThatNeverComesIsAskedAgainUntilCancelled) {
  Scenario s;
  s.WriteScript(
      "[DefaultFolder]\nFolder=C:\\APP\\\n[CopyFile]\nFile1=(App)\\A.TXT\n"
      "File2=(Dch)(App)\\GONE.TXT\nFile3=(App)\\C.TXT\n");
  s.WritePackageFile("A.TXT", "a");
  s.WritePackageFile("C.TXT", "c");
  RunResult r = s.Setup();
  EXPECT_EQ(r.exitCode, 2);
  auto asks = Asks(r, "ディスク交換");
  ASSERT_EQ(asks.size(), 3u);  // OK, OK, then the unattended Cancel
  for (const auto& ask : asks) {
    EXPECT_EQ(RunResult::Text(ask, "text"), "2枚目のディスクに交換してください．");
  }
  auto fatal = Asks(r, "致命的エラー");
  ASSERT_EQ(fatal.size(), 1u);
  EXPECT_EQ(RunResult::Text(fatal[0], "text"), "セットアップを続行できませんでした．");
  EXPECT_EQ(fatal[0].at("style"), 16);
  EXPECT_TRUE(s.Exists("C:\\APP\\A.TXT"));
  EXPECT_FALSE(s.Exists("C:\\APP\\C.TXT"));
  EXPECT_FALSE(s.Exists("C:\\APP\\UNSETUP.INI"));
}

TEST(CopyPhase, CancelledDiskStopsTheRunAtOnce) {
  Scenario s;
  s.WriteScript("[DefaultFolder]\nFolder=C:\\APP\\\n[CopyFile]\nFile1=(Dch)(App)\\B.TXT\n");
  s.WritePackageFile("B.TXT", "b");
  RunResult r = s.Setup({"--answer", Utf8("ディスク交換=Cancel")});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(Asks(r, "ディスク交換").size(), 1u);
  EXPECT_FALSE(s.Exists("C:\\APP\\B.TXT"));
}

TEST(CopyPhase, OverwriteRules) {
  enum class Stamp { Older, Same, Newer };
  struct Case {
    const char* name;
    const char* overwrite;
    const char* answer;  // to 上書き確認
    Stamp target;
    bool asked;
    bool copied;
  };
  const Case cases[] = {
      {"asked, No keeps the target", "no", "No", Stamp::Older, true, false},
      {"asked, Yes copies", "no", "Yes", Stamp::Newer, true, true},
      {"automatic, older target copied", "yes", "No", Stamp::Older, false, true},
      {"automatic, same stamp kept", "yes", "No", Stamp::Same, false, false},
      {"automatic, newer target kept", "yes", "No", Stamp::Newer, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scenario s;
    s.WriteScript("[DefaultFolder]\nFolder=C:\\APP\\\n[CopyFile]\nFile1=(App)\\A.TXT\n");
    s.WritePackageFile("A.TXT", "new");
    s.Write("C:\\APP\\A.TXT", "old");
    const fs::path source = fs::path(s.PackageDir()) / "A.TXT";
    const fs::file_time_type stamp = fs::last_write_time(source);
    const auto shift = c.target == Stamp::Older   ? -std::chrono::hours(1)
                       : c.target == Stamp::Newer ? std::chrono::hours(1)
                                                  : std::chrono::hours(0);
    fs::last_write_time(s.HostPath("C:\\APP\\A.TXT"), stamp + shift);

    RunResult r = s.Setup(
        {"--overwrite", c.overwrite, "--answer", Utf8(std::string("上書き確認=") + c.answer)});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    auto asks = Asks(r, "上書き確認");
    ASSERT_EQ(asks.size(), c.asked ? 1u : 0u);
    if (c.asked) {
      EXPECT_EQ(RunResult::Text(asks[0], "text"),
                "C:\\APP\\A.TXT\r\rこのファイルは既に存在します．\r上書きしてもよろしいですか？");
      EXPECT_EQ(asks[0].at("style"), 36);
    }
    EXPECT_EQ(s.Read("C:\\APP\\A.TXT"), c.copied ? "new" : "old");
    // Kept or copied, the file counts as done: recorded, and the progress advances.
    EXPECT_EQ(Record(s, "File1"), "C:\\APP\\A.TXT");
    EXPECT_EQ(StatusCaptions(r), std::vector<std::string>{"100%(1/1)"});
  }
}

TEST(CopyPhase, ExpandsMscompressFilesUnderTheNameTheyStore) {
  Scenario s;
  const std::string help = HelpText();
  std::string szdd = Compress(s, help);
  ASSERT_GT(szdd.size(), 14u);
  EXPECT_LT(szdd.size(), help.size());
  // mscompress stores no last character: HELP.TXT_ expands as HELP.TXT.
  s.WritePackageFile("HELP.TXT_", szdd);
  // A stored "e" names view.ex_ view.exe, and the name is upper-cased for the target.
  std::string stored = szdd;
  stored[9] = 'e';
  s.WritePackageFile("view.ex_", stored);
  // "|" names the target itself.
  s.WritePackageFile("DATA.BI_", szdd);
  s.WriteScript(
      "[DefaultFolder]\nFolder=C:\\APP\\\n[MakeFolder]\nFolder1=(App)\\BIN\n[CopyFile]\n"
      "File1=(App)\\HELP.TXT_\nFile2=(App)\\BIN\\view.ex_,/L\nFile3=(App)\\DATA.BI_|DATA.BIN\n");
  RunResult r = s.Setup();
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(s.Read("C:\\APP\\HELP.TXT"), help);
  EXPECT_EQ(s.Read("C:\\APP\\BIN\\VIEW.EXE"), help);
  EXPECT_EQ(s.Read("C:\\APP\\DATA.BIN"), help);
  EXPECT_FALSE(s.Exists("C:\\APP\\AUTO.EXT"));
  EXPECT_FALSE(s.Exists("C:\\WINDOWS\\TEMP\\EXPAND.KVT"));
  EXPECT_TRUE(AnyMessageContains(r, "Copying -> C:\\APP\\BIN\\VIEW.EXE"));
  EXPECT_EQ(Record(s, "File1"), "C:\\APP\\HELP.TXT");
  EXPECT_EQ(Record(s, "File2"), "C:\\APP\\BIN\\VIEW.EXE,/L");
  EXPECT_EQ(Record(s, "File3"), "C:\\APP\\DATA.BIN");
  // The tally counts the compressed sources themselves.
  EXPECT_EQ(StatusCaptions(r).back(), "100%(3/3)");
}

TEST(CopyPhase, SourceEndingInUnderscoreThatIsNotCompressedIsCopiedAsItIs) {
  Scenario s;
  s.WritePackageFile("PLAIN.TX_", "just text\r\n");
  s.WriteScript(
      "[DefaultFolder]\nFolder=C:\\APP\\\n[CopyFile]\nFile1=(App)\\PLAIN.TX_|PLAIN.TXT\n");
  RunResult r = s.Setup();
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(s.Read("C:\\APP\\PLAIN.TXT"), "just text\r\n");
}

TEST(CopyPhase, BrokenCompressedSourceNeverReachesItsTarget) {
  Scenario s;
  std::string szdd = Compress(s, HelpText());
  s.WritePackageFile("CUT.TX_", szdd.substr(0, szdd.size() / 2));
  s.WritePackageFile("GOOD.TX_", szdd);
  s.WriteScript(
      "[DefaultFolder]\nFolder=C:\\APP\\\n[CopyFile]\nFile1=(App)\\CUT.TX_|HELP.TXT\n"
      "File2=(App)\\GOOD.TX_|GOOD.TXT\n");
  s.Write("C:\\APP\\HELP.TXT", "the earlier help");
  RunResult r = s.Setup(
      {"--overwrite", "no", "--answer", Utf8("上書き確認=Yes"), "--answer", Utf8("警告=Yes")});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_EQ(s.Read("C:\\APP\\HELP.TXT"), "the earlier help");
  EXPECT_TRUE(Asks(r, "上書き確認").empty());  // nothing to put over the target
  EXPECT_FALSE(s.Exists("C:\\WINDOWS\\TEMP\\EXPAND.KVT"));
  EXPECT_EQ(s.Read("C:\\APP\\GOOD.TXT"), HelpText());
  auto details = r.Of("details");
  ASSERT_EQ(details.size(), 1u);
  const std::string log = RunResult::Text(details[0], "text");
  EXPECT_EQ(log.rfind("<File> C:\\APP\\HELP.TXT\r\n", 0), 0u) << log;
  EXPECT_NE(log.find("壊れているため"), std::string::npos) << log;  // a corrupt file
  EXPECT_EQ(Record(s, "File1"), "C:\\APP\\GOOD.TXT");
}

TEST(CopyPhase, FailedCopyIsLoggedAndNotRecorded) {
  Scenario s;
  s.WritePackageFile("A.TXT", "a");
  s.WritePackageFile("B.TXT", "b");
  s.WriteScript(
      "[DefaultFolder]\nFolder=C:\\APP\\\n[CopyFile]\nFile1=(App)\\NOFOLDER\\A.TXT\n"
      "File2=(App)\\B.TXT\n");
  RunResult r = s.Setup({"--answer", Utf8("警告=Yes")});
  EXPECT_EQ(r.exitCode, 1) << r.err;
  auto details = r.Of("details");
  ASSERT_EQ(details.size(), 1u);
  const std::string log = RunResult::Text(details[0], "text");
  EXPECT_EQ(log.rfind("<File> C:\\APP\\NOFOLDER\\A.TXT\r\n", 0), 0u) << log;
  EXPECT_NE(log.find("指定されたパスが見つかりません"), std::string::npos);
  EXPECT_EQ(Record(s, "File1"), "C:\\APP\\B.TXT");
}

TEST(CopyPhase, TargetsDifferingInLetterCaseShareOneSlotWithTheLaterSwitches) {
  Scenario s;
  s.WritePackageFile("A.TXT", "a");
  s.WriteScript(
      "[DefaultFolder]\nFolder=C:\\APP\\\n[CopyFile]\nFile1=(App)\\A.TXT,/C\n"
      "File2=(App)\\a.txt,/L\n");
  RunResult r = s.Setup();
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Record(s, "File1"), "C:\\APP\\a.txt,/L");
  EXPECT_EQ(Record(s, "File2"), "C:\\APP\\UNSETUP.INI");
}

}  // namespace
}  // namespace korvane::testing
