// Profile values through the platform's profile store with the system's fixed buffer: at most
// 254 bytes come back. Reading never fails; the store answers the default for any problem.
#include "script/profile_routines.h"

namespace korvane {

namespace {

// The buffer size passed to the reader; one byte of it is the terminating zero.
constexpr uint32_t kProfileBufferSize = 255;

}  // namespace

std::string ReadProfile(const Platform& platform, const std::string& section,
                        const std::string& key, const std::string& defaultValue,
                        const std::string& file) {
  std::string value =
      platform.profiles->GetString(section, key, defaultValue, kProfileBufferSize, file);
  // The reader stops at a zero byte as the system's buffer would.
  if (size_t zero = value.find('\0'); zero != std::string::npos) value.resize(zero);
  if (value.size() > kProfileBufferSize - 1) value.resize(kProfileBufferSize - 1);
  return value;
}

bool WriteProfile(const Platform& platform, const std::string& section, const std::string& key,
                  const std::string& value, const std::string& file) {
  return platform.profiles->WriteString(section, key, value, file);
}

bool DeleteProfileSection(const Platform& platform, const std::string& section,
                          const std::string& file) {
  return platform.profiles->WriteString(section, std::nullopt, std::nullopt, file);
}

void FlushProfile(const Platform& platform, const std::string& file) {
  platform.profiles->WriteString(std::nullopt, std::nullopt, std::nullopt, file);
}

}  // namespace korvane
