// Machine folder choice and host-to-Windows path conversion for the command line. The
// drives are read from the machine's dosdevices/ links, as the platform maps them.
#include "app/machine_paths.h"

#include <cctype>
#include <filesystem>
#include <system_error>

#include "platform/encoding.h"

namespace fs = std::filesystem;

namespace korvane {

std::string ChooseMachineDir(const std::string& option, const CommandIo& io) {
  std::string dir = option;
  if (dir.empty()) dir = io.environmentMachine;
  if (dir.empty() && !io.dataHome.empty()) dir = io.dataHome + "/korvane/machine";
  if (dir.empty()) return "";
  std::error_code ec;
  fs::path absolute = fs::absolute(dir, ec);
  return ec ? dir : absolute.lexically_normal().string();
}

bool LooksLikeWindowsPath(const std::string& path) {
  return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

std::string UpperSjis(const std::string& text) {
  std::string result = text;
  for (size_t i = 0; i < result.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(result[i]);
    if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
      ++i;
    } else {
      result[i] = static_cast<char>(std::toupper(c));
    }
  }
  return result;
}

bool HostToWindowsPath(const std::string& machineDir, const std::string& hostPath,
                       std::string& windowsPath) {
  std::error_code ec;
  fs::path absolute = fs::absolute(hostPath, ec);
  if (ec) return false;
  // The file itself may be missing; its folder must resolve.
  fs::path parent = fs::weakly_canonical(absolute.parent_path(), ec);
  if (ec) return false;
  fs::path resolved = parent / absolute.filename();
  std::string best;
  char bestLetter = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(machineDir) / "dosdevices", ec)) {
    std::string name = entry.path().filename().string();
    if (name.size() != 2 || name[1] != ':' || !std::isalpha(static_cast<unsigned char>(name[0]))) {
      continue;
    }
    std::error_code linkError;
    fs::path root = fs::canonical(entry.path(), linkError);
    if (linkError) continue;
    std::string rootText = root.string();
    std::string text = resolved.string();
    bool inside = text == rootText || (text.size() > rootText.size() &&
                                       text.compare(0, rootText.size(), rootText) == 0 &&
                                       (rootText.back() == '/' || text[rootText.size()] == '/'));
    if (inside && rootText.size() > best.size()) {
      best = rootText;
      bestLetter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    }
  }
  if (bestLetter == 0) return false;
  std::string rest = resolved.string().substr(best.size());
  if (!rest.empty() && rest[0] == '/') rest.erase(0, 1);
  for (char& c : rest) {
    if (c == '/') c = '\\';
  }
  auto sjis = Utf8ToCp932(rest);
  if (!sjis) return false;
  windowsPath = std::string(1, bestLetter) + ":\\" + *sjis;
  return true;
}

}  // namespace korvane
