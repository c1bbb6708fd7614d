// The Windows LZ library (SZDD files made by COMPRESS.EXE): the expanded name and the
// expansion itself. A file that is not compressed is copied as it is.
#pragma once

#include <cstdint>
#include <string>

namespace korvane {

class LzExpander {
 public:
  virtual ~LzExpander() = default;

  /// GetExpandedNameA: the name with the stored last character; the path unchanged when the
  /// file is not compressed or cannot be read.
  virtual std::string GetExpandedName(const std::string& source) = 0;
  /// LZOpenFileA/LZCopy/LZClose: writes the expansion of source to target; 0, or the error code
  /// (2/3 source missing, 13 bad or truncated data, write errors) leaving no partial target.
  virtual uint32_t Expand(const std::string& source, const std::string& target) = 0;
};

}  // namespace korvane
