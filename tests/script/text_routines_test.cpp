// Text and path routines over code page 932 bytes: parts, backslashes on either side, folder
// and name parts, with folder names whose last character ends in 0x5C.
#include "script/text_routines.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane {
namespace {

TEST(TextRoutinesTest, LiteralsAreCodePage932) {
  // The tests below rely on these second bytes being 0x5C.
  EXPECT_EQ(std::string("ソ"), "\x83\x5C");
  EXPECT_EQ(std::string("表"), "\x95\x5C");
  EXPECT_EQ(std::string("能"), "\x94\x5C");
}

TEST(TextRoutinesTest, LeadAndTrailBytes) {
  EXPECT_TRUE(IsLeadByte(0x81));
  EXPECT_TRUE(IsLeadByte(0x9F));
  EXPECT_TRUE(IsLeadByte(0xE0));
  EXPECT_TRUE(IsLeadByte(0xFC));
  EXPECT_FALSE(IsLeadByte(0x80));
  EXPECT_FALSE(IsLeadByte(0xA0));
  EXPECT_FALSE(IsLeadByte(0xB1));  // half-width katakana is single-byte
  EXPECT_FALSE(IsLeadByte(0xDF));
  EXPECT_FALSE(IsLeadByte(0xFD));
  EXPECT_FALSE(IsLeadByte('\\'));

  const std::string text = "aソ\\";  // 61 83 5C 5C
  EXPECT_FALSE(IsTrailByteAt(text, 0));
  EXPECT_FALSE(IsTrailByteAt(text, 1));
  EXPECT_TRUE(IsTrailByteAt(text, 2));
  EXPECT_FALSE(IsTrailByteAt(text, 3));
  EXPECT_FALSE(IsTrailByteAt(text, 4));  // beyond the end
  // Two lead-range bytes in a row: the second is a trail byte, the third starts anew.
  const std::string pair = "\x83\x83\x5C";
  EXPECT_TRUE(IsTrailByteAt(pair, 1));
  EXPECT_FALSE(IsTrailByteAt(pair, 2));
}

TEST(TextRoutinesTest, LeftAndRightPart) {
  struct Case {
    std::string text;
    int count;
    std::string left;
    std::string right;
  };
  const Case cases[] = {
      {"ABCDE", 0, "", ""},
      {"ABCDE", -3, "", ""},
      {"ABCDE", 1, "A", "E"},
      {"ABCDE", 2, "AB", "DE"},
      {"ABCDE", 5, "ABCDE", "ABCDE"},
      {"ABCDE", 9, "ABCDE", "ABCDE"},
      {"", 0, "", ""},
      {"", 3, "", ""},
      // Bytes, not characters: a count may split a double-byte character.
      {"表示", 1, "\x95", "\xA6"},
      {"表示", 2, "表", "示"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " / " + std::to_string(c.count));
    EXPECT_EQ(LeftPart(c.text, c.count), c.left);
    EXPECT_EQ(RightPart(c.text, c.count), c.right);
  }
}

TEST(TextRoutinesTest, AddBackslash) {
  struct Case {
    std::string path;
    std::string side;
    std::string expected;
  };
  const Case cases[] = {
      {"", "T", "\\"},
      {"", "B", "\\"},
      {"C:\\A", "B", "C:\\A\\"},
      {"C:\\A\\", "B", "C:\\A\\"},
      {"C:\\A\\\\", "B", "C:\\A\\\\"},
      {"A", "T", "\\A"},
      {"\\A", "T", "\\A"},
      {"A\\", "T", "\\A\\"},
      {"\\A", "B", "\\A\\"},
      {"C:\\A", "Bottom", "C:\\A\\"},
      {"A", "Top", "\\A"},
      {"C:\\A", "b", "C:\\A"},
      {"A", "t", "A"},
      {"C:\\A", "", "C:\\A"},
      {"C:\\A", "X", "C:\\A"},
      {"", "x", ""},
      // A folder name ending in a character whose second byte is 0x5C still needs its
      // backslash.
      {"C:\\ソ", "B", "C:\\ソ\\"},
      {"C:\\図表", "B", "C:\\図表\\"},
      {"D:\\機能", "B", "D:\\機能\\"},
      {"C:\\ソ\\", "B", "C:\\ソ\\"},
      {"表", "T", "\\表"},
      // A lone lead byte at the end does not swallow anything.
      {"C:\\\x83", "B", "C:\\\x83\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path + " side " + c.side);
    EXPECT_EQ(AddBackslash(c.path, c.side), c.expected);
  }
}

TEST(TextRoutinesTest, RemoveBackslash) {
  struct Case {
    std::string path;
    std::string side;
    std::string expected;
  };
  const Case cases[] = {
      {"", "T", ""},
      {"", "B", ""},
      {"\\", "T", ""},
      {"\\", "B", ""},
      {"\\A\\", "T", "A\\"},
      {"\\A\\", "B", "\\A"},
      {"C:\\A\\\\", "B", "C:\\A\\"},
      {"\\\\A", "T", "\\A"},
      {"C:\\A", "B", "C:\\A"},
      {"C:\\A\\", "Back", "C:\\A"},
      {"C:\\A\\", "b", "C:\\A\\"},
      {"\\A", "t", "\\A"},
      {"\\A\\", "", "\\A\\"},
      // The 0x5C of ソ, 表 and 能 belongs to its character and stays.
      {"C:\\ソ", "B", "C:\\ソ"},
      {"C:\\図表", "B", "C:\\図表"},
      {"D:\\機能", "B", "D:\\機能"},
      {"C:\\ソ\\", "B", "C:\\ソ"},
      {"C:\\ソ\\\\", "B", "C:\\ソ\\"},
      {"\\ソ", "T", "ソ"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path + " side " + c.side);
    EXPECT_EQ(RemoveBackslash(c.path, c.side), c.expected);
  }
}

TEST(TextRoutinesTest, FolderAndNamePart) {
  struct Case {
    std::string path;
    std::string folder;
    std::string name;
  };
  const Case cases[] = {
      {"C:\\A\\B.TXT", "C:\\A\\", "B.TXT"},
      {"C:\\A\\", "C:\\A\\", ""},
      {"C:B.TXT", "C:", "B.TXT"},
      {"C:", "C:", ""},
      {"B.TXT", "", "B.TXT"},
      {"", "", ""},
      {"\\B", "\\", "B"},
      {"A:B\\C:D", "A:B\\C:", "D"},
      // 0x5C as a second byte is part of the name.
      {"C:\\ソフト\\表.TXT", "C:\\ソフト\\", "表.TXT"},
      {"ソ", "", "ソ"},
      {"C:\\DATA\\機能", "C:\\DATA\\", "機能"},
      {"C:\\DATA\\表\\", "C:\\DATA\\表\\", ""},
      // A half-width katakana is a single byte and ends no character: its 0x5C neighbour counts.
      {"ｱ\\B", "ｱ\\", "B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(FolderPart(c.path), c.folder);
    EXPECT_EQ(NamePart(c.path), c.name);
  }
}

TEST(TextRoutinesTest, Searches) {
  EXPECT_EQ(FindBytes("(App)\\(App)", "(App)"), 0u);
  EXPECT_EQ(FindBytes("(App)\\(App)", "(App)", 1), 6u);
  EXPECT_EQ(FindBytes("(App)", "(App)", 9), std::string::npos);
  EXPECT_EQ(FindBytes("abc", "x"), std::string::npos);

  // ポ is 83 7C: its second byte is no "|".
  EXPECT_EQ(FindSingleByte("レポート|X", '|'), 8u);
  EXPECT_EQ(FindSingleByte("レポート", '|'), std::string::npos);
  EXPECT_EQ(FindSingleByte("a|b|c", '|', 2), 3u);
}

}  // namespace
}  // namespace korvane
