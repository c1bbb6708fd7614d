// Code page 932 <-> UTF-8 through glibc's iconv ("CP932", the Microsoft table: 0x5C is the
// backslash, 0x8160 the wave dash U+FF5E). Used at the edges only; keeps no state between calls.
#include "platform/encoding.h"

#include <iconv.h>

#include <cerrno>

namespace korvane {
namespace {

class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~IconvHandle() {
    if (ok()) iconv_close(cd_);
  }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// Converts as far as possible; returns false with `consumed` at the first bad byte.
bool ConvertSome(iconv_t cd, std::string_view text, std::string& out, size_t& consumed) {
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char buffer[4096];
  bool good = true;
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
      good = false;
      break;
    }
  }
  if (good) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
  }
  consumed = text.size() - inLeft;
  return good;
}

std::optional<std::string> Convert(const char* to, const char* from, std::string_view text) {
  IconvHandle handle(to, from);
  if (!handle.ok()) return std::nullopt;
  std::string out;
  out.reserve(text.size() * 3 / 2);
  size_t consumed = 0;
  if (!ConvertSome(handle.get(), text, out, consumed)) return std::nullopt;
  return out;
}

// ASCII is the same in both (the table maps 0x5C and 0x7E to themselves): no converter needed,
// which spares the path walk an iconv_open per name.
bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string> Cp932ToUtf8(std::string_view text) {
  if (IsAscii(text)) return std::string(text);
  return Convert("UTF-8", "CP932", text);
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
  if (IsAscii(text)) return std::string(text);
  return Convert("CP932", "UTF-8", text);
}

std::string Cp932ToUtf8Lossy(std::string_view text) {
  IconvHandle handle("UTF-8", "CP932");
  std::string out;
  if (!handle.ok()) return out;
  while (!text.empty()) {
    size_t consumed = 0;
    if (ConvertSome(handle.get(), text, out, consumed)) break;
    out += "\xEF\xBF\xBD";  // U+FFFD for the byte that does not convert
    text.remove_prefix(consumed + 1);
    iconv(handle.get(), nullptr, nullptr, nullptr, nullptr);
  }
  return out;
}

}  // namespace korvane
