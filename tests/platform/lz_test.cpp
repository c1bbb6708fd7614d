// LZ expansion on the real machine: files compressed by the real mscompress, hand-made SZDD
// data beyond what mscompress produces (long matches, references into the initial blanks,
// overlapping copies), files that are not compressed, and broken files leaving no target.
#include "platform/lz.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/service_machine.h"

namespace korvane {
namespace {

using testing::RunTool;
using testing::ShellQuote;
using testing::TempMachine;

std::string Szdd(char missing, uint32_t length, const std::string& data) {
  std::string out(
      "SZDD\x88\xF0\x27\x33"
      "A",
      9);
  out += missing;
  for (int i = 0; i < 4; ++i) out += static_cast<char>((length >> (8 * i)) & 0xFF);
  return out + data;
}

// "ab", then an 18-byte match overlapping itself, 4 bytes from the untouched blanks, "Z".
const std::string kHandMadeData(
    "\x13"
    "ab"
    "\xF0\xFF"
    "\x00\x11"
    "Z",
    8);
const std::string kHandMadeText =
    "ab"
    "ababababababababab"
    "    "
    "Z";

std::string Pattern(size_t size, uint32_t seed, bool random) {
  std::string out;
  uint32_t x = seed;
  for (size_t i = 0; i < size; ++i) {
    x = x * 1103515245u + 12345u;
    out += random ? static_cast<char>(x >> 24) : "korvane kana\r\n.,"[(i * 7 + (x >> 28)) % 16];
  }
  return out;
}

class LzTest : public ::testing::Test {
 protected:
  LzExpander& lz() { return *m_.platform().lz; }
  // Compresses a host file with the real tool: the host path of NAME_.
  void MsCompress(const std::string& windowsPath, const std::string& bytes) {
    m_.Write(windowsPath, bytes);
    std::string out;
    ASSERT_EQ(RunTool("mscompress " + ShellQuote(m_.Host(windowsPath)), out), 0) << out;
  }
  // The names in a Windows folder (to see that no temporary file stays).
  std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(m_.Host(folder))) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  TempMachine m_;
};

TEST_F(LzTest, ExpandsWhatMscompressMakes) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      // mscompress itself writes wrong data for files of a few bytes: those are hand-made.
      {"SMALL.TXT", Pattern(100, 4, false)},
      {"TEXT.TXT", Pattern(50000, 1, false)},
      {"RANDOM.BIN", Pattern(70001, 2, true)},
      {"BLANKS.TXT", std::string(10000, ' ')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string plain = std::string("C:\\LZ\\") + c.name;
    MsCompress(plain, c.bytes);
    std::string target = std::string("C:\\OUT\\") + c.name;
    m_.Write("C:\\OUT\\keep", "");
    ASSERT_EQ(lz().Expand(plain + "_", target), 0u);
    EXPECT_EQ(m_.Read(target), c.bytes);
  }
  EXPECT_EQ(Listing("C:\\OUT").size(), std::size(cases) + 1);
}

TEST_F(LzTest, DecodesLongMatchesOverlapsAndTheInitialBlanks) {
  m_.Write("C:\\HAND.TX_", Szdd('T', kHandMadeText.size(), kHandMadeData));
  // The fixture itself is checked by the real expander.
  std::string out;
  std::string expanded = m_.Root() + "/hand.txt";
  ASSERT_EQ(
      RunTool("msexpand < " + ShellQuote(m_.Host("C:\\HAND.TX_")) + " > " + ShellQuote(expanded),
              out),
      0)
      << out;
  std::string viaTool;
  {
    std::ifstream in(expanded, std::ios::binary);
    viaTool.assign(std::istreambuf_iterator<char>(in), {});
  }
  ASSERT_EQ(viaTool, kHandMadeText);

  ASSERT_EQ(lz().Expand("C:\\HAND.TX_", "C:\\HAND.TXT"), 0u);
  EXPECT_EQ(m_.Read("C:\\HAND.TXT"), kHandMadeText);
}

TEST_F(LzTest, CopiesFilesThatAreNotSzddAsTheyAre) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"plain", "just text\r\n"},
      {"empty", ""},
      {"KWAJ", std::string("KWAJ\x88\xF0\x27\xD1\x00\x00\x12\x00", 12) + "payload"},
      {"SZDD with another mode byte", Szdd('T', 3,
                                           "\xFF"
                                           "abc")
                                          .replace(8, 1, "B")},
      {"shorter than a header", std::string("SZDD\x88\xF0\x27\x33"
                                            "A",
                                            9)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m_.Write("C:\\IN.DA_", c.bytes);
    ASSERT_EQ(lz().Expand("C:\\IN.DA_", "C:\\OUT.DAT"), 0u);
    EXPECT_EQ(m_.Read("C:\\OUT.DAT"), c.bytes);
    EXPECT_EQ(lz().GetExpandedName("C:\\IN.DA_"), "C:\\IN.DA_");
  }
}

TEST_F(LzTest, BrokenOrMissingSourcesLeaveNoTarget) {
  MsCompress("C:\\SRC\\BIG.DAT", Pattern(40000, 3, false));
  std::string whole = m_.Read("C:\\SRC\\BIG.DAT_");  // mscompress appends the _
  ASSERT_GT(whole.size(), 1000u);
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"cut in half", whole.substr(0, whole.size() / 2)},
      {"header only", whole.substr(0, 14)},
      {"one byte short", whole.substr(0, whole.size() - 1)},
  };
  std::filesystem::create_directories(m_.Host("C:\\DST"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m_.Write("C:\\SRC\\BAD.DA_", c.bytes);
    EXPECT_EQ(lz().Expand("C:\\SRC\\BAD.DA_", "C:\\DST\\BAD.DAT"), 13u);
    EXPECT_FALSE(m_.Exists("C:\\DST\\BAD.DAT"));
    EXPECT_TRUE(std::filesystem::is_empty(m_.Host("C:\\DST")));
  }
  EXPECT_EQ(lz().Expand("C:\\SRC\\NONE.DA_", "C:\\DST\\X"), 2u);
  EXPECT_EQ(lz().Expand("C:\\NOFOLDER\\NONE.DA_", "C:\\DST\\X"), 3u);
  EXPECT_EQ(lz().Expand("C:\\SRC\\BIG.DAT_", "C:\\NOFOLDER\\X"), 3u);
  EXPECT_TRUE(std::filesystem::is_empty(m_.Host("C:\\DST")));
}

TEST_F(LzTest, SmallFilesExpandExactly) {
  struct Case {
    const char* name;
    std::string file;
    std::string expanded;
  };
  const Case cases[] = {
      {"empty", Szdd('T', 0, ""), ""},
      {"empty with mscompress's stray literal", Szdd(0, 0, std::string("\x01\x00", 2)), ""},
      {"one byte", Szdd('T', 1, "\x01x"), "x"},
      {"only blanks from the window", Szdd('T', 3, std::string("\x00\x00\x00", 3)), "   "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m_.Write("C:\\S.DA_", c.file);
    ASSERT_EQ(lz().Expand("C:\\S.DA_", "C:\\S.DAT"), 0u);
    EXPECT_EQ(m_.Read("C:\\S.DAT"), c.expanded);
  }
}

TEST_F(LzTest, TheHeadersLengthEndsTheExpansion) {
  // Data that decodes to more than the header says gives the header's length.
  m_.Write("C:\\LONG.DA_", Szdd('T', 5, kHandMadeData));
  ASSERT_EQ(lz().Expand("C:\\LONG.DA_", "C:\\LONG.DAT"), 0u);
  EXPECT_EQ(m_.Read("C:\\LONG.DAT"), kHandMadeText.substr(0, 5));
}

TEST_F(LzTest, AFailedExpansionKeepsAnEarlierTarget) {
  m_.Write("C:\\T.DAT", "earlier");
  m_.Write("C:\\BAD.DA_", Szdd('T', 100, kHandMadeData));
  EXPECT_EQ(lz().Expand("C:\\BAD.DA_", "C:\\t.dat"), 13u);
  EXPECT_EQ(m_.Read("C:\\T.DAT"), "earlier");
  m_.Write("C:\\GOOD.DA_", Szdd('T', kHandMadeText.size(), kHandMadeData));
  EXPECT_EQ(lz().Expand("C:\\GOOD.DA_", "C:\\t.dat"), 0u);  // replaces it, same name
  EXPECT_EQ(m_.Read("C:\\T.DAT"), kHandMadeText);
}

TEST_F(LzTest, ExpandedNameTakesTheStoredCharacterInTheNamesLetterCase) {
  struct Case {
    const char* path;
    char stored;
    const char* expected;
  };
  const Case cases[] = {
      {"C:\\mixed.tx_", 'T', "C:\\mixed.txt"},
      {"C:\\SETUP.EX_", 'e', "C:\\SETUP.EXE"},
      {"C:\\setup.txt_", 0, "C:\\setup.txt"},
      {"C:\\a.b1_", 'Z', "C:\\a.b1z"},                // the last letter decides, not the digit
      {"C:\\NODOT_", 'X', "C:\\NODOT_"},              // no dot in the name
      {"C:\\DIR.D\\FILE_", 'X', "C:\\DIR.D\\FILE_"},  // a dot in a folder does not count
      {"C:\\ア.ア_", 't', "C:\\ア.アt"},              // 83 41: its trail byte is no letter
      {"C:\\NOEND.TXT", 'T', "C:\\NOEND.TXT"},        // the name does not end in _
      {"C:\\DATA.D_", '1', "C:\\DATA.D1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    m_.Write(c.path, Szdd(c.stored, kHandMadeText.size(), kHandMadeData));
    EXPECT_EQ(lz().GetExpandedName(c.path), c.expected);
  }
  EXPECT_EQ(lz().GetExpandedName("C:\\MISSING.TX_"), "C:\\MISSING.TX_");

  MsCompress("C:\\TOOL\\readme.txt", "text");
  EXPECT_EQ(lz().GetExpandedName("C:\\TOOL\\readme.txt_"), "C:\\TOOL\\readme.txt");
}

}  // namespace
}  // namespace korvane
