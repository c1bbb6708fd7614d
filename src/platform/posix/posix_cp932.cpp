// Byte-level code page 932 rules shared by the path mapping, the profile reader and the case
// mapping. Works on bytes only; conversion to Unicode lives in encoding.cpp.
#include "platform/posix/posix_cp932.h"

namespace korvane::posix {

size_t Cp932CharLength(std::string_view text, size_t pos) {
  if (IsCp932LeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) return 2;
  return 1;
}

std::string Cp932Upper(std::string_view text) {
  std::string out(text);
  for (size_t i = 0; i < out.size();) {
    auto b = static_cast<unsigned char>(out[i]);
    if (Cp932CharLength(out, i) == 1) {
      if (b >= 'a' && b <= 'z') out[i] = static_cast<char>(b - 0x20);
      ++i;
      continue;
    }
    auto t = static_cast<unsigned char>(out[i + 1]);
    if (b == 0x82 && t >= 0x81 && t <= 0x9A) {
      out[i + 1] = static_cast<char>(t - 0x21);  // full-width a-z -> A-Z
    } else if (b == 0x83 && t >= 0xBF && t <= 0xD6) {
      out[i + 1] = static_cast<char>(t - 0x20);  // Greek
    } else if (b == 0x84 && t >= 0x70 && t <= 0x91 && t != 0x7F) {
      // Cyrillic lower case skips 0x7F, upper case does not.
      int index = t < 0x7F ? t - 0x70 : t - 0x71;
      out[i + 1] = static_cast<char>(0x40 + index);
    }
    i += 2;
  }
  return out;
}

std::string Cp932AsciiUpper(std::string_view text) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); i += Cp932CharLength(out, i)) {
    if (out[i] >= 'a' && out[i] <= 'z') out[i] = static_cast<char>(out[i] - 0x20);
  }
  return out;
}

std::vector<std::string> SplitCp932Path(std::string_view path) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < path.size();) {
    size_t len = Cp932CharLength(path, i);
    if (len == 1 && (path[i] == '\\' || path[i] == '/')) {
      parts.emplace_back();
    } else {
      parts.back().append(path.substr(i, len));
    }
    i += len;
  }
  return parts;
}

bool EndsInsideCp932Char(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    if (IsCp932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 == text.size()) return true;
    i += Cp932CharLength(text, i);
  }
  return false;
}

std::string_view Cp932Prefix(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  size_t end = 0;
  while (end < maxBytes) {
    size_t len = Cp932CharLength(text, end);
    if (end + len > maxBytes) break;
    end += len;
  }
  return text.substr(0, end);
}

}  // namespace korvane::posix
