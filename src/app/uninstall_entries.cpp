// Reading the uninstall entries. A value that is missing or not a string reads as empty;
// only what the registry holds is listed, nothing is written.
#include "app/uninstall_entries.h"

#include "app/machine_paths.h"
#include "platform/win_types.h"

namespace korvane {

namespace {

std::string StringValue(Registry& registry, const std::string& path, const std::string& name) {
  uint32_t type = kRegNone;
  std::string data;
  if (registry.QueryValue(RootKey::LocalMachine, path, name, type, data) != 0) return "";
  if (type != kRegSz && type != kRegExpandSz) return "";
  if (size_t zero = data.find('\0'); zero != std::string::npos) data.resize(zero);
  return data;
}

// The file-name part of a Windows path: after the last backslash or colon, skipping the
// second bytes of double-byte characters.
std::string NamePart(const std::string& path) {
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
      ++i;
    } else if (c == '\\' || c == ':') {
      start = i + 1;
    }
  }
  return path.substr(std::min(start, path.size()));
}

}  // namespace

std::vector<UninstallEntry> ListUninstallEntries(Registry& registry) {
  std::vector<UninstallEntry> entries;
  std::vector<std::string> keys;
  if (registry.EnumKeys(RootKey::LocalMachine, kUninstallKey, keys) != 0) return entries;
  for (const std::string& key : keys) {
    std::string path = std::string(kUninstallKey) + "\\" + key;
    entries.push_back({key, StringValue(registry, path, "DisplayName"),
                       StringValue(registry, path, "UninstallString")});
  }
  return entries;
}

std::optional<UninstallEntry> FindUninstallEntry(Registry& registry, const std::string& name) {
  std::vector<UninstallEntry> entries = ListUninstallEntries(registry);
  const std::string wanted = UpperSjis(name);
  // A key name wins over another entry's DisplayName.
  for (const auto& entry : entries) {
    if (UpperSjis(entry.key) == wanted) return entry;
  }
  for (const auto& entry : entries) {
    if (UpperSjis(entry.displayName) == wanted) return entry;
  }
  return std::nullopt;
}

std::optional<std::string> RecordOfUninstallString(const std::string& uninstallString) {
  size_t quote = uninstallString.find('"');
  if (quote == std::string::npos || quote == 0 || uninstallString[quote - 1] != ' ') {
    return std::nullopt;
  }
  std::string program = uninstallString.substr(0, quote);
  while (!program.empty() && program.back() == ' ') program.pop_back();
  std::string file = UpperSjis(NamePart(program));
  if (file != "UNKORVANE.EXE" && file != "SETUP.EXE") return std::nullopt;
  size_t close = uninstallString.find('"', quote + 1);
  if (close == std::string::npos) return std::nullopt;
  if (uninstallString.find_first_not_of(' ', close + 1) != std::string::npos) return std::nullopt;
  std::string record = uninstallString.substr(quote + 1, close - quote - 1);
  if (record.empty()) return std::nullopt;
  return record;
}

}  // namespace korvane
