// Code page 932 <-> UTF-8 at the edges: round trips, the backslash and the wave dash of the
// Microsoft table, the bytes and characters that have no counterpart, and the lossy form.
#include "platform/encoding.h"

#include <gtest/gtest.h>

#include "support/temp_machine.h"

namespace korvane::posix::testing {
namespace {

TEST(EncodingTest, ConvertsBothWays) {
  struct Case {
    std::string cp932;
    std::string utf8;
  };
  const Case cases[] = {
      {"", ""},
      {"C:\\Program Files", "C:\\Program Files"},
      {"\x83\x5c\x95\x5c", U8(u8"ソ表")},  // 0x5C as second byte
      {"\x81\x60", U8(u8"～")},            // U+FF5E in the Microsoft table
      {"\xb1\xdd\xbe\xaf\xc4\xb1\xaf\xcc\xdf", U8(u8"ｱﾝｾｯﾄｱｯﾌﾟ")},
      {"\x87\x40", U8(u8"①")},  // NEC special row
      {"\x5c\x7e", "\\~"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8);
    EXPECT_EQ(Utf8ToCp932(c.utf8), c.cp932);
  }
}

TEST(EncodingTest, RefusesWhatHasNoCounterpart) {
  EXPECT_EQ(Cp932ToUtf8("a\x85\x40"), std::nullopt);  // unassigned
  EXPECT_EQ(Cp932ToUtf8("a\x83"), std::nullopt);      // ends inside a character
  EXPECT_EQ(Utf8ToCp932("\xF0\x9F\x98\x80"), std::nullopt);
  EXPECT_EQ(Utf8ToCp932("\xff\xfe"), std::nullopt);  // not UTF-8
  EXPECT_EQ(Cp932ToUtf8Lossy("a\x85\x40z\x83"), "a\xEF\xBF\xBD@z\xEF\xBF\xBD");
  EXPECT_EQ(Cp932ToUtf8Lossy("\x83\x5c"), U8(u8"ソ"));
}

}  // namespace
}  // namespace korvane::posix::testing
