// LCMapStringA of code page 932 for the two mappings the system uses: upper case and full
// width. Byte work with a few tables; the full-width targets are converted from Unicode once.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace korvane::posix {

class StringMapper {
 public:
  StringMapper();
  /// The mapped text; nullopt for flags other than kLcmapUppercase and kLcmapFullwidth.
  std::optional<std::string> Map(uint32_t flags, const std::string& text) const;
  /// LCMAP_FULLWIDTH alone.
  std::string Fullwidth(const std::string& text) const;

 private:
  std::array<std::string, 128> ascii_;      // code page 932 full-width form of 0x20..0x7E
  std::array<std::string, 64> kana_;        // of the half-width kana 0xA1..0xDF (index c - 0xA0)
  std::array<std::string, 64> voiced_;      // kana + ﾞ, empty when it does not combine
  std::array<std::string, 64> semiVoiced_;  // kana + ﾟ, likewise
};

}  // namespace korvane::posix
