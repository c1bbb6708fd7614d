// Profile files with the Windows rules: reading (names without regard to case, blanks,
// quotes, comments, duplicates, the buffer cut), writing byte for byte, the atomic replace and
// the cache that re-reads a file changed on disk.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "platform/posix/posix_drive_map.h"
#include "platform/posix/posix_profile_document.h"
#include "platform/posix/posix_profile_store.h"
#include "platform/win_types.h"
#include "support/temp_machine.h"

namespace korvane::posix::testing {
namespace {

TEST(ProfileDocumentTest, FindsValuesByTheWindowsRules) {
  const std::string file =
      "key0=before any section\r\n"
      "[Section1]\r\n"
      "key1=value1\r\n"
      "\tkey10\t=\ttab\t\r\n"
      "key13 = x = y\r\n"
      "quoted=\"quoted\"\r\n"
      "inner=  \"  inner  \"  \r\n"
      "mismatch=\"mismatch'\r\n"
      "lone=\"\r\n"
      "partial=\"a\" b\"\r\n"
      "single='s'\r\n"
      "; comment=no\r\n"
      "semi=a;b\r\n"
      "#hash=yes\r\n"
      "novalue\r\n"
      "dup=first\r\n"
      "DUP=second\r\n"
      "empty=\r\n"
      "[ section2 ]\r"
      "cr=only\r"
      "[SECTION1]\n"
      "key1=from the second section\n"
      "later=not searched\n"
      "[日本]\r\n"
      "ア=katakana a\r\n";
  ProfileDocument doc = ProfileDocument::Parse(file);
  struct Case {
    const char* section;
    const char* key;
    std::optional<std::string> value;
  };
  const Case cases[] = {
      {"Section1", "key1", "value1"},
      {"SECTION1", "KEY1", "value1"},
      {"  section1 ", " key1\t", "value1"},
      {"Section1", "key10", "tab"},
      {"Section1", "key13", "x = y"},
      {"Section1", "quoted", "quoted"},
      {"Section1", "inner", "  inner  "},
      {"Section1", "mismatch", "\"mismatch'"},
      {"Section1", "lone", "\""},
      {"Section1", "partial", "a\" b"},
      {"Section1", "single", "s"},
      {"Section1", "; comment", std::nullopt},
      {"Section1", "semi", "a;b"},
      {"Section1", "#hash", "yes"},
      {"Section1", "novalue", std::nullopt},
      {"Section1", "dup", "first"},
      {"Section1", "empty", ""},
      {"Section1", "later", std::nullopt},  // only the first section of a name counts
      {"Section1", "key0", std::nullopt},
      {"section2", "cr", "only"},
      {"日本", "ア", "katakana a"},
      {"日本", "ヂ", std::nullopt},  // 83 61 is not 83 41 with its case changed
      {"Missing", "key1", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key);
    EXPECT_EQ(doc.Find(c.section, c.key), c.value);
  }
}

TEST(ProfileDocumentTest, WritesChangeOnlyTheirOwnLines) {
  struct Case {
    const char* what;
    std::string before;
    std::function<bool(ProfileDocument&)> change;
    std::string after;
  };
  const std::string base = "; head\r\n[A]\r\n  x = 1 \r\n\r\ny=2\r\n\r\n\r\n[B]\r\nz=3\r\n";
  const Case cases[] = {
      {"new file", "", [](ProfileDocument& d) { return d.Set("App", "key", "val"); },
       "[App]\r\nkey=val\r\n"},
      {"replace keeps the file's key name", base,
       [](ProfileDocument& d) { return d.Set("a", "X", "new value"); },
       "; head\r\n[A]\r\nx=new value\r\n\r\ny=2\r\n\r\n\r\n[B]\r\nz=3\r\n"},
      {"new key after the last non-blank line", base,
       [](ProfileDocument& d) { return d.Set("A", "w", "4"); },
       "; head\r\n[A]\r\n  x = 1 \r\n\r\ny=2\r\nw=4\r\n\r\n\r\n[B]\r\nz=3\r\n"},
      {"new section after a blank line", base,
       [](ProfileDocument& d) { return d.Set(" C ", " k ", "v"); }, base + "\r\n[C]\r\nk=v\r\n"},
      {"last line without line end", "[A]\r\nx=1",
       [](ProfileDocument& d) { return d.Set("B", "k", "v"); }, "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
      {"new key in a last section without line end", "[A]\nx=1",
       [](ProfileDocument& d) { return d.Set("A", "k", "v"); }, "[A]\nx=1\r\nk=v\r\n"},
      {"delete key", base, [](ProfileDocument& d) { return d.DeleteKey("A", "y"); },
       "; head\r\n[A]\r\n  x = 1 \r\n\r\n\r\n\r\n[B]\r\nz=3\r\n"},
      {"delete section", base, [](ProfileDocument& d) { return d.DeleteSection("a"); },
       "; head\r\n[B]\r\nz=3\r\n"},
      {"delete missing key", base, [](ProfileDocument& d) { return !d.DeleteKey("A", "q"); }, base},
      {"bytes pass through", "", [](ProfileDocument& d) { return d.Set("日本", "表", "ソ"); },
       "[\x93\xfa\x96\x7b]\r\n\x95\x5c=\x83\x5c\r\n"},
      {"same value changes nothing", "[A]\r\nx=1\r\n",
       [](ProfileDocument& d) { return !d.Set("A", "X", "1"); }, "[A]\r\nx=1\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ProfileDocument doc = ProfileDocument::Parse(c.before);
    EXPECT_TRUE(c.change(doc));
    EXPECT_EQ(doc.Serialize(), c.after);
  }
}

class ProfileStoreTest : public MachineTest {
 protected:
  ProfileStore& profiles() { return *platform().profiles; }
  std::string Get(const std::string& section, const std::string& key, const std::string& def,
                  uint32_t size = 255, const std::string& file = "C:\\TEST.INI") {
    return profiles().GetString(section, key, def, size, file);
  }
};

TEST_F(ProfileStoreTest, ReadsWithDefaultsAndTheBufferCut) {
  std::string longValue(300, 'v');
  // 253 single bytes and then ア: its lead byte would be byte 254.
  std::string dbcsValue = std::string(253, 'd') + "ア";
  WriteHostFile(DriveC() + "/TEST.INI",
                "[S]\r\nlong=" + longValue + "\r\ndbcs=" + dbcsValue + "\r\nk=v\r\n");
  struct Case {
    const char* what;
    std::string got;
    std::string expected;
  };
  const Case cases[] = {
      {"value", Get("s", "K", "d"), "v"},
      {"300 bytes cut to 254", Get("S", "long", ""), longValue.substr(0, 254)},
      {"no half character", Get("S", "dbcs", ""), std::string(253, 'd')},
      {"whole character fits", Get("S", "dbcs", "", 256), dbcsValue},
      {"size 1", Get("S", "k", "d", 1), ""},
      {"size 0", Get("S", "k", "d", 0), ""},
      {"default trailing blanks go", Get("S", "none", "  x   "), "  x"},
      {"default cut too", Get("S", "none", std::string(300, 'x')), std::string(254, 'x')},
      {"missing file", Get("S", "k", "def", 255, "C:\\NONE.INI"), "def"},
      {"missing folder", Get("S", "k", "def", 255, "C:\\NONE\\X.INI"), "def"},
      {"empty key", Get("S", "", "def"), "def"},
      {"empty file name", Get("S", "k", "def", 255, ""), "def"},
      {"folder as file", Get("S", "k", "def", 255, "C:\\WINDOWS"), "def"},
      {"bad name", Get("S", "k", "def", 255, "C:\\A|B.INI"), "def"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.got, c.expected);
  }
}

TEST_F(ProfileStoreTest, NameWithoutFolderIsInTheWindowsFolder) {
  ASSERT_TRUE(profiles().WriteString("App", "key", "val", "KORVANE.INI"));
  EXPECT_EQ(ReadHostFile(DriveC() + "/WINDOWS/KORVANE.INI"), "[App]\r\nkey=val\r\n");
  EXPECT_EQ(Get("app", "KEY", "", 255, "korvane.ini"), "val");
}

TEST_F(ProfileStoreTest, WritesCreateReplaceAndDelete) {
  const std::string file = "C:\\WINDOWS\\TEMP\\Setup.ini";
  const std::string host = DriveC() + "/WINDOWS/TEMP/Setup.ini";
  EXPECT_TRUE(profiles().WriteString("A", "k", std::nullopt, file));  // nothing to delete
  EXPECT_FALSE(HostExists(host));
  ASSERT_TRUE(profiles().WriteString("A", "k", "1", file));
  ASSERT_TRUE(profiles().WriteString("B", "k", "2", file));
  ASSERT_TRUE(profiles().WriteString("a", "K", "3", "c:\\windows\\temp\\SETUP.INI"));
  EXPECT_EQ(ReadHostFile(host), "[A]\r\nk=3\r\n\r\n[B]\r\nk=2\r\n");
  ASSERT_TRUE(profiles().WriteString("B", std::nullopt, std::nullopt, file));
  ASSERT_TRUE(profiles().WriteString("A", "k", std::nullopt, file));
  EXPECT_EQ(ReadHostFile(host), "[A]\r\n\r\n");

  EXPECT_FALSE(profiles().WriteString("A", "k", "v", "C:\\NONE\\X.INI"));
  EXPECT_EQ(profiles().LastError(), kErrorPathNotFound);
  EXPECT_FALSE(profiles().WriteString("A", "k", "v", ""));
  EXPECT_EQ(profiles().LastError(), kErrorPathNotFound);
  EXPECT_FALSE(profiles().WriteString(std::nullopt, std::nullopt, std::nullopt, file));  // flush
  chmod(host.c_str(), 0444);
  EXPECT_FALSE(profiles().WriteString("A", "k", "v", file));
  EXPECT_EQ(profiles().LastError(), kErrorAccessDenied);
  EXPECT_EQ(ReadHostFile(host), "[A]\r\n\r\n");
}

TEST_F(ProfileStoreTest, FailedWriteLeavesTheOldFileWhole) {
  const std::string host = DriveC() + "/OLD.INI";
  const std::string old = "[A]\r\nkeep=me\r\n";
  WriteHostFile(host, old);
  // A file size limit makes the temporary file's write fail, for root as well.
  struct rlimit saved;
  getrlimit(RLIMIT_FSIZE, &saved);
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limit = saved;
  limit.rlim_cur = 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  bool written = profiles().WriteString("A", "big", std::string(4096, 'x'), "C:\\OLD.INI");
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(written);
  EXPECT_EQ(profiles().LastError(), kErrorDiskFull);
  EXPECT_EQ(ReadHostFile(host), old);
  EXPECT_EQ(Get("A", "big", "none", 255, "C:\\OLD.INI"), "none");
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(DriveC())) {
    left.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(
      std::count_if(left.begin(), left.end(),
                    [](const std::string& n) { return n.find("kvtmp") != std::string::npos; }),
      0);
}

TEST_F(ProfileStoreTest, CacheServesRepeatedReadsAndSeesChangesOnDisk) {
  std::vector<Drive> drives{{'C', std::filesystem::canonical(DriveC()).string(), false}};
  PosixDriveMap driveMap(drives, WindowsPath{'C', {}});
  PosixProfileStore store(driveMap, "C:\\WINDOWS");
  const std::string host = DriveC() + "/SCRIPT.INI";
  std::string text = "[S]\r\n";
  for (int i = 0; i < 300; ++i) text += "k" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
  WriteHostFile(host, text);
  for (int i = 0; i < 300; ++i) {
    ASSERT_EQ(store.GetString("S", "k" + std::to_string(i), "", 255, "C:\\SCRIPT.INI"),
              std::to_string(i));
  }
  EXPECT_EQ(store.ParseCount(), 1u);

  WriteHostFile(host, "[S]\r\nk1=changed\r\n");  // same inode, new contents
  EXPECT_EQ(store.GetString("S", "k1", "", 255, "C:\\SCRIPT.INI"), "changed");
  EXPECT_EQ(store.ParseCount(), 2u);
  ASSERT_TRUE(store.WriteString("S", "k2", "mine", "C:\\SCRIPT.INI"));
  EXPECT_EQ(store.GetString("S", "k2", "", 255, "C:\\SCRIPT.INI"), "mine");
  EXPECT_EQ(store.ParseCount(), 2u);  // its own write needs no new parse
  std::filesystem::remove(host);
  EXPECT_EQ(store.GetString("S", "k1", "gone", 255, "C:\\SCRIPT.INI"), "gone");
}

}  // namespace
}  // namespace korvane::posix::testing
