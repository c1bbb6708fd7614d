// Upper case: ASCII, full-width Latin, Greek, Cyrillic (posix_cp932). Full width: ASCII except
// the backslash to the full-width forms (U+FF01..), the blank to U+3000, half-width kana to
// katakana with a following voiced or semi-voiced mark combined; double-byte characters stay.
#include "platform/posix/posix_string_mapping.h"

#include "platform/encoding.h"
#include "platform/posix/posix_cp932.h"
#include "platform/win_types.h"

namespace korvane::posix {
namespace {

// Full-width katakana (and punctuation) for the half-width kana 0xA1..0xDF.
constexpr char32_t kKanaUnicode[63] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9,
    0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB,
    0x30AD, 0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1,
    0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5,
    0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};

constexpr unsigned char kVoicedMark = 0xDE;
constexpr unsigned char kSemiVoicedMark = 0xDF;

std::string Utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

std::string Cp932Of(char32_t c) { return Utf8ToCp932(Utf8Of(c)).value_or(""); }

}  // namespace

StringMapper::StringMapper() {
  ascii_[' '] = Cp932Of(0x3000);
  for (int c = 0x21; c <= 0x7E; ++c) {
    if (c != '\\') ascii_[c] = Cp932Of(0xFF01 + (c - 0x21));
  }
  for (int c = 0xA1; c <= 0xDF; ++c) {
    char32_t full = kKanaUnicode[c - 0xA1];
    kana_[c - 0xA0] = Cp932Of(full);
    bool kaToTo = c >= 0xB6 && c <= 0xC4;                // ｶ..ﾄ
    bool haRow = c >= 0xCA && c <= 0xCE;                 // ﾊ..ﾎ
    if (c == 0xB3) voiced_[c - 0xA0] = Cp932Of(0x30F4);  // ｳﾞ -> ヴ
    if (kaToTo || haRow) voiced_[c - 0xA0] = Cp932Of(full + 1);
    if (haRow) semiVoiced_[c - 0xA0] = Cp932Of(full + 2);
  }
}

std::string StringMapper::Fullwidth(const std::string& text) const {
  std::string out;
  out.reserve(text.size() * 2);
  for (size_t i = 0; i < text.size();) {
    size_t length = Cp932CharLength(text, i);
    auto c = static_cast<unsigned char>(text[i]);
    if (length == 2) {
      out.append(text, i, 2);
    } else if (c >= 0x20 && c <= 0x7E && !ascii_[c].empty()) {
      out += ascii_[c];
    } else if (c >= 0xA1 && c <= 0xDF) {
      unsigned char next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
      if (next == kVoicedMark && !voiced_[c - 0xA0].empty()) {
        out += voiced_[c - 0xA0];
        i += 2;
        continue;
      }
      if (next == kSemiVoicedMark && !semiVoiced_[c - 0xA0].empty()) {
        out += semiVoiced_[c - 0xA0];
        i += 2;
        continue;
      }
      out += kana_[c - 0xA0];
    } else {
      out += static_cast<char>(c);
    }
    i += length;
  }
  return out;
}

std::optional<std::string> StringMapper::Map(uint32_t flags, const std::string& text) const {
  constexpr uint32_t kKnown = kLcmapUppercase | kLcmapFullwidth;
  if (flags == 0 || (flags & ~kKnown) != 0) return std::nullopt;
  std::string out = (flags & kLcmapFullwidth) ? Fullwidth(text) : text;
  if (flags & kLcmapUppercase) out = Cp932Upper(out);
  return out;
}

}  // namespace korvane::posix
