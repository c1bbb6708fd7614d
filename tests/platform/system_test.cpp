// The machine's system answers: folders and version from machine.ini, free space (host or
// [FreeBytes], and the old call's 2 GiB cap), LCMapStringA's two mappings, the error texts,
// and the program's own file and version.
#include <gtest/gtest.h>

#include "platform/encoding.h"
#include "platform/win_types.h"
#include "support/temp_machine.h"

namespace korvane::posix::testing {
namespace {

class SystemTest : public MachineTest {
 protected:
  void Reopen(const std::string& machineIni, MachineOptions options = {}) {
    WriteHostFile(MachineDir() + "/machine.ini", machineIni);
    Open(options);
  }
  System& system() { return *platform().system; }
};

TEST_F(SystemTest, FoldersAndVersionOfTheDefaultMachine) {
  EXPECT_EQ(system().GetTempPath(), "C:\\WINDOWS\\TEMP\\");
  EXPECT_EQ(system().GetWindowsDirectory(), "C:\\WINDOWS");
  EXPECT_EQ(system().GetSystemDirectory(), "C:\\WINDOWS\\SYSTEM");
  OsVersionInfo version;
  ASSERT_TRUE(system().GetVersionEx(version));
  EXPECT_EQ(version.platformId, 1u);
  EXPECT_EQ(version.major, 4u);
  EXPECT_EQ(version.minor, 10u);
  EXPECT_EQ(version.buildNumber, 0x040A07CEu);
  DiskFreeExLookup lookup = system().LookupDiskFreeSpaceEx();
  EXPECT_TRUE(lookup.libraryLoaded);
  EXPECT_TRUE(lookup.procFound);
  EXPECT_EQ(system().GetModuleFileName(), "C:\\WINDOWS\\UNKORVANE.EXE");
  VersionInfo info = system().GetProgramVersion();
  EXPECT_TRUE(info.hasData);
  EXPECT_EQ(info.fileVersion, "1.7.0.1695");
  std::string desktop;
  ASSERT_TRUE(platform().shell->GetSpecialFolderPath(kCsidlDesktop, desktop));
  EXPECT_EQ(desktop, "C:\\WINDOWS\\デスクトップ");
}

TEST_F(SystemTest, MachineIniGivesFoldersAndVersions) {
  struct Case {
    std::string machine;
    OsVersionInfo expected;
  };
  const Case cases[] = {
      {"Platform=1\nMajor=4\nMinor=0\nBuild=950\n", {1, 4, 0, 0x040003B6}},
      {"Platform=1\nMajor=4\nMinor=90\nBuild=3000\n", {1, 4, 90, 0x045A0BB8}},
      {"Platform=2\nMajor=5\nMinor=0\nBuild=2195\n", {2, 5, 0, 2195}},
      {"Platform=2\nMajor=4\nMinor=0\nBuild=1381\n", {2, 4, 0, 1381}},
      {"Major=x\n", {1, 4, 10, 0x040A07CE}},  // not a number: the default stays
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.machine);
    Reopen("[Machine]\n" + c.machine);
    OsVersionInfo version;
    ASSERT_TRUE(system().GetVersionEx(version));
    EXPECT_EQ(version.platformId, c.expected.platformId);
    EXPECT_EQ(version.major, c.expected.major);
    EXPECT_EQ(version.minor, c.expected.minor);
    EXPECT_EQ(version.buildNumber, c.expected.buildNumber);
  }

  MachineOptions options;
  options.programFile = "Q:\\SETUP.EXE";
  options.programVersion = "";
  Reopen(U8(u8"[Machine]\nWindowsFolder=C:\\WIN\\\nSystemFolder=C:\\WIN\\SYSTEM32\n"
            u8"TempFolder=C:\\TMP\n[ShellFolders]\nSendTo=C:\\WIN\\送る\n"),
         options);
  EXPECT_EQ(system().GetWindowsDirectory(), "C:\\WIN");
  EXPECT_EQ(system().GetSystemDirectory(), "C:\\WIN\\SYSTEM32");
  EXPECT_EQ(system().GetTempPath(), "C:\\TMP\\");
  EXPECT_EQ(system().GetModuleFileName(), "Q:\\SETUP.EXE");
  EXPECT_FALSE(system().GetProgramVersion().hasData);
  EXPECT_TRUE(std::filesystem::is_directory(DriveC() + "/TMP"));  // missing folders made
  std::string sendTo;
  ASSERT_TRUE(platform().shell->GetSpecialFolderPath(kCsidlSendTo, sendTo));
  EXPECT_EQ(sendTo, "C:\\WIN\\送る");
}

TEST_F(SystemTest, UnreadableMachineIniFailsToOpen) {
  WriteHostFile(MachineDir() + "/machine.ini", "[Machine]\nWindowsFolder=C:\\\xff\n");
  MachineOptions options;
  options.machineDir = MachineDir();
  std::string error;
  EXPECT_EQ(Machine::Open(options, error), nullptr);
  EXPECT_NE(error.find("machine.ini"), std::string::npos);
}

TEST_F(SystemTest, FreeSpaceFromTheHostOrFromFreeBytes) {
  uint64_t free = 0, total = 0, totalFree = 0;
  ASSERT_TRUE(system().GetDiskFreeSpaceEx("C:\\", free, total, totalFree));
  EXPECT_GT(total, 0u);
  EXPECT_LE(free, totalFree);
  EXPECT_LE(totalFree, total);
  EXPECT_FALSE(system().GetDiskFreeSpaceEx("M:\\", free, total, totalFree));
  uint32_t sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
  EXPECT_FALSE(system().GetDiskFreeSpace("M:\\", sectors, bytes, freeClusters, totalClusters));

  struct Case {
    const char* setting;
    uint64_t freeBytes;
    uint32_t freeClusters;  // of 32 KiB, at most 2 GiB
  };
  const Case cases[] = {
      {"C=1048576", 1048576, 32},
      {"C=0", 0, 0},
      {"c=100000", 100000, 3},
      {"C=10737418240", 10737418240ull, 65536},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setting);
    Reopen(std::string("[FreeBytes]\n") + c.setting + "\n");
    ASSERT_TRUE(system().GetDiskFreeSpaceEx("c:\\windows", free, total, totalFree));
    EXPECT_EQ(free, c.freeBytes);
    EXPECT_EQ(totalFree, c.freeBytes);
    EXPECT_GE(total, c.freeBytes);
    ASSERT_TRUE(system().GetDiskFreeSpace("C:\\", sectors, bytes, freeClusters, totalClusters));
    EXPECT_EQ(sectors * bytes, 32768u);
    EXPECT_EQ(freeClusters, c.freeClusters);
    EXPECT_LE(totalClusters, 65536u);
  }
}

TEST_F(SystemTest, MapStringUpperCaseAndFullWidth) {
  struct Case {
    uint32_t flags;
    std::string text;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {kLcmapUppercase, "abc\\xyz.Txt", "ABC\\XYZ.TXT"},
      {kLcmapUppercase, "ａｂｃＸ", "ＡＢＣＸ"},
      {kLcmapUppercase, "αβωжяё", "ΑΒΩЖЯЁ"},
      {kLcmapUppercase, "あアｱ表ソ", "あアｱ表ソ"},
      {kLcmapUppercase, "ヂ", "ヂ"},  // 83 61: never folded as a byte
      {kLcmapUppercase, "", ""},
      {kLcmapFullwidth, "abc XYZ", "ａｂｃ　ＸＹＺ"},
      {kLcmapFullwidth, "0123456789", "０１２３４５６７８９"},
      {kLcmapFullwidth, "C:\\a", "Ｃ：\\ａ"},  // the backslash stays
      {kLcmapFullwidth, "ｱｲｳ", "アイウ"},
      {kLcmapFullwidth, "ｶﾞﾊﾟｳﾞﾎﾟﾄﾞ", "ガパヴポド"},
      {kLcmapFullwidth, "ﾞｱﾟ", "゛ア゜"},  // marks that combine with nothing
      {kLcmapFullwidth, "｡｢｣､･ｰ", "。「」、・ー"},
      {kLcmapFullwidth, "漢字ソ", "漢字ソ"},
      {kLcmapFullwidth, "(x)!", "（ｘ）！"},
      {kLcmapFullwidth | kLcmapUppercase, "ab", "ＡＢ"},
      {0x100, "abc", std::nullopt},
      {0, "abc", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(system().MapString(c.flags, c.text), c.expected);
  }
}

TEST_F(SystemTest, FormatMessageGivesTheJapaneseTexts) {
  EXPECT_EQ(system().FormatMessage(kErrorFileNotFound), "指定されたファイルが見つかりません。\r\n");
  EXPECT_EQ(system().FormatMessage(kErrorDirNotEmpty), "ディレクトリが空ではありません。\r\n");
  EXPECT_EQ(system().FormatMessage(0), "");
  EXPECT_EQ(system().FormatMessage(99999), "");
  for (uint32_t code :
       {2u, 3u, 5u, 19u, 21u, 32u, 39u, 80u, 87u, 112u, 123u, 145u, 183u, 206u, 1392u}) {
    SCOPED_TRACE(code);
    std::string text = system().FormatMessage(code);
    ASSERT_GT(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_TRUE(Cp932ToUtf8(text).has_value());
  }
}

}  // namespace
}  // namespace korvane::posix::testing
