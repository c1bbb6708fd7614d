// machine.ini [Machine], [ShellFolders] and [FreeBytes], read with the profile rules. Values
// that are missing or not numbers keep their defaults.
#include "platform/posix/posix_machine_settings.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "platform/encoding.h"
#include "platform/posix/posix_profile_document.h"
#include "platform/win_types.h"

namespace korvane::posix {
namespace {

// u8 literals stay UTF-8 whatever the narrow execution character set is.
constexpr char8_t kDefaultMachineIni[] =
    u8"[Machine]\n"
    u8"WindowsFolder=C:\\WINDOWS\n"
    u8"SystemFolder=C:\\WINDOWS\\SYSTEM\n"
    u8"TempFolder=C:\\WINDOWS\\TEMP\\\n"
    u8"Platform=1\n"
    u8"Major=4\n"
    u8"Minor=10\n"
    u8"Build=1998\n"
    u8"[ShellFolders]\n"
    u8"Desktop=C:\\WINDOWS\\デスクトップ\n"
    u8"Programs=C:\\WINDOWS\\ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ\n"
    u8"Startup=C:\\WINDOWS\\ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ\\ｽﾀｰﾄｱｯﾌﾟ\n"
    u8"SendTo=C:\\WINDOWS\\SendTo\n"
    u8"[FreeBytes]\n";

struct ShellFolderKey {
  const char* key;
  int csidl;
};

constexpr ShellFolderKey kShellFolderKeys[] = {
    {"Desktop", kCsidlDesktop},
    {"Programs", kCsidlPrograms},
    {"Startup", kCsidlStartup},
    {"SendTo", kCsidlSendTo},
};

template <typename T>
void ReadNumber(const ProfileDocument& ini, const char* section, const char* key, T& target) {
  std::optional<std::string> text = ini.Find(section, key);
  if (!text || text->empty()) return;
  T value{};
  auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
  if (ec == std::errc() && end == text->data() + text->size()) target = value;
}

void ReadText(const ProfileDocument& ini, const char* section, const char* key,
              std::string& target) {
  std::optional<std::string> text = ini.Find(section, key);
  if (text && !text->empty()) target = *text;
}

}  // namespace

std::string DefaultMachineIni() {
  return std::string(reinterpret_cast<const char*>(kDefaultMachineIni));
}

bool ParseMachineSettings(std::string_view utf8, MachineSettings& settings, std::string& error) {
  std::optional<std::string> text = Utf8ToCp932(utf8);
  if (!text) {
    error = "machine.ini is not UTF-8 text with a code page 932 form";
    return false;
  }
  ProfileDocument defaults = ProfileDocument::Parse(*Utf8ToCp932(DefaultMachineIni()));
  ProfileDocument ini = ProfileDocument::Parse(*text);
  for (const auto& [key, csidl] : kShellFolderKeys) {
    ReadText(defaults, "ShellFolders", key, settings.shellFolders[csidl]);
    ReadText(ini, "ShellFolders", key, settings.shellFolders[csidl]);
  }
  ReadText(ini, "Machine", "WindowsFolder", settings.windowsFolder);
  ReadText(ini, "Machine", "SystemFolder", settings.systemFolder);
  ReadText(ini, "Machine", "TempFolder", settings.tempFolder);
  if (settings.tempFolder.empty() || settings.tempFolder.back() != '\\') {
    settings.tempFolder += '\\';
  }
  ReadNumber(ini, "Machine", "Platform", settings.version.platformId);
  ReadNumber(ini, "Machine", "Major", settings.version.major);
  ReadNumber(ini, "Machine", "Minor", settings.version.minor);
  ReadNumber(ini, "Machine", "Build", settings.version.buildNumber);
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    std::string key(1, letter);
    uint64_t bytes = 0;
    bool found = false;
    if (std::optional<std::string> value = ini.Find("FreeBytes", key); value && !value->empty()) {
      auto [end, ec] = std::from_chars(value->data(), value->data() + value->size(), bytes);
      found = ec == std::errc() && end == value->data() + value->size();
    }
    if (found) settings.freeBytes[letter] = bytes;
  }
  return true;
}

bool ReadMachineSettings(const std::string& machineDir, MachineSettings& settings,
                         std::string& error) {
  std::ifstream in(machineDir + "/machine.ini", std::ios::binary);
  if (!in) {
    error = "cannot read " + machineDir + "/machine.ini";
    return false;
  }
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return ParseMachineSettings(bytes.str(), settings, error);
}

}  // namespace korvane::posix
