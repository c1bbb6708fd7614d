// Small helpers shared by the setup run's scenario tests: reading the progress captions and the
// questions out of a transcript, and giving the machine a small disk. Run arguments reach the
// command line as they are, so the tests pass Japanese ones through Utf8() as a shell would.
#pragma once

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/scenario.h"

namespace korvane::testing {

/// The lblStatus captions a run showed, in order, each once, without the first "0%(0/0)".
inline std::vector<std::string> StatusCaptions(const RunResult& result) {
  std::vector<std::string> captions;
  for (const auto& event : result.Of("progress")) {
    std::string status = RunResult::Text(event, "status");
    if (status == "0%(0/0)") continue;
    if (captions.empty() || captions.back() != status) captions.push_back(status);
  }
  return captions;
}

/// The "ask" events with that caption (code page 932).
inline std::vector<nlohmann::json> Asks(const RunResult& result, const std::string& caption) {
  std::vector<nlohmann::json> asks;
  for (const auto& event : result.Of("ask")) {
    if (RunResult::Text(event, "caption") == caption) asks.push_back(event);
  }
  return asks;
}

/// Whether the messages hold every text of wanted, in that order (others may come between).
inline bool MessagesInOrder(const RunResult& result, const std::vector<std::string>& wanted) {
  std::vector<std::string> messages = result.Messages();
  auto at = messages.begin();
  for (const std::string& text : wanted) {
    at = std::find(at, messages.end(), text);
    if (at == messages.end()) return false;
    ++at;
  }
  return true;
}

/// Whether some message contains the text.
inline bool AnyMessageContains(const RunResult& result, const std::string& text) {
  for (const std::string& message : result.Messages()) {
    if (message.find(text) != std::string::npos) return true;
  }
  return false;
}

/// The pauses a run reported, in milliseconds.
inline std::vector<int> Pauses(const RunResult& result) {
  std::vector<int> pauses;
  for (const auto& event : result.Of("pause")) pauses.push_back(event.at("ms").get<int>());
  return pauses;
}

/// Gives drive C of the scenario's machine that many free bytes ([FreeBytes] of machine.ini).
inline void SetFreeBytes(Scenario& scenario, unsigned long long bytes) {
  scenario.Run({"init"});
  const std::string path = scenario.MachineDir() + "/machine.ini";
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  std::string ini = text.str();
  const std::string section = "[FreeBytes]";
  const std::string line = "C=" + std::to_string(bytes) + "\n";
  size_t at = ini.find(section);
  if (at == std::string::npos) {
    ini += "\n" + section + "\n" + line;
  } else {
    size_t end = ini.find('\n', at);
    if (end == std::string::npos) {
      ini += "\n" + line;
    } else {
      ini.insert(end + 1, line);
    }
  }
  std::ofstream(path, std::ios::trunc) << ini;
}

}  // namespace korvane::testing
