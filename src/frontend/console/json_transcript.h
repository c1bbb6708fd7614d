// The JSON transcript: one object per line, UTF-8, "event" first, flushed per line so that a
// reader can follow a run live. It converts code page 932 texts and nothing else.
#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "framework/transcript.h"

namespace korvane {

class JsonTranscript : public Transcript {
 public:
  explicit JsonTranscript(std::ostream& out) : out_(out) {}

  void Message(const std::string& text) override;
  void Ask(const std::string& caption, const std::string& text, int style, int answer) override;
  void Button(const std::string& name, const std::string& caption, bool enabled) override;
  void Progress(int position, const std::string& status) override;
  void Details(const std::string& caption, const std::string& text) override;
  void Pause(uint32_t ms) override;
  void Error(const std::string& text) override;
  void Restart(int answer) override;
  void Execute(const std::string& file, const std::string& params, int32_t result) override;
  void End(int exitCode) override;

 private:
  static nlohmann::ordered_json Event(const char* name);
  void Write(const nlohmann::ordered_json& object);

  std::ostream& out_;
};

}  // namespace korvane
