// Reading `reg export` output in tests: the value lines of one key, by value name.
// Texts are code page 932 as the scenario harness returns them; lines may end in CR LF.
#pragma once

#include <optional>
#include <sstream>
#include <string>

namespace korvane::testing {

/// The text after "=" of the value `name` ("" the default value "@") in the key [key], or
/// nothing when the key or the value is missing. Keys compare without regard to ASCII case.
inline std::optional<std::string> RegValueText(const std::string& exported, const std::string& key,
                                               const std::string& name) {
  auto lower = [](std::string s) {
    for (char& c : s) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
  };
  const std::string header = lower("[" + key + "]");
  const std::string prefix = name.empty() ? "@=" : "\"" + name + "\"=";
  std::istringstream in(exported);
  std::string line;
  bool inKey = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] == '[') {
      inKey = lower(line) == header;
      continue;
    }
    if (inKey && line.compare(0, prefix.size(), prefix) == 0) return line.substr(prefix.size());
  }
  return std::nullopt;
}

/// Whether the key [key] appears in the export.
inline bool RegKeyListed(const std::string& exported, const std::string& key) {
  auto lower = [](std::string s) {
    for (char& c : s) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
  };
  const std::string header = lower("[" + key + "]");
  std::istringstream in(exported);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (lower(line) == header) return true;
  }
  return false;
}

}  // namespace korvane::testing
