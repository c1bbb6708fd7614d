// How registry names compare: the upper-case form of a code page 932 name (ASCII letters,
// full-width Latin, Greek and Cyrillic letters), never folding inside a double-byte character
// by accident. Pure bytes in, bytes out; no OS call.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace korvane {

/// Whether b starts a double-byte character of code page 932.
inline bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

/// The name folded for lookup and ordering (never fails; lengths unchanged).
inline std::string FoldRegistryName(std::string_view name) {
  std::string out(name);
  for (size_t i = 0; i < out.size(); ++i) {
    auto b = static_cast<unsigned char>(out[i]);
    if (IsCp932LeadByte(b) && i + 1 < out.size()) {
      auto t = static_cast<unsigned char>(out[i + 1]);
      if (b == 0x82 && t >= 0x81 && t <= 0x9A) {
        t = static_cast<unsigned char>(t - 0x21);  // full-width a-z -> A-Z
      } else if (b == 0x83 && t >= 0xBF && t <= 0xD6) {
        t = static_cast<unsigned char>(t - 0x20);  // Greek
      } else if (b == 0x84 && t >= 0x70 && t <= 0x91 && t != 0x7F) {
        // Cyrillic lower case skips the trail byte 7F, upper case does not.
        int index = t < 0x7F ? t - 0x70 : t - 0x80 + 15;
        t = static_cast<unsigned char>(0x40 + index);
      }
      out[i + 1] = static_cast<char>(t);
      ++i;
    } else if (b >= 'a' && b <= 'z') {
      out[i] = static_cast<char>(b - 0x20);
    }
  }
  return out;
}

}  // namespace korvane
