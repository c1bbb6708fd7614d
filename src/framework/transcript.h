// What a run shows and asks, as a sequence of events. The framework and the forms report to
// it; a writer (the JSON transcript) or a front-end consumes it. Texts are code page 932.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace korvane {

class Transcript {
 public:
  virtual ~Transcript() = default;
  virtual void Message(const std::string& text) {}
  virtual void Ask(const std::string& caption, const std::string& text, int style, int answer) {}
  virtual void Button(const std::string& name, const std::string& caption, bool enabled) {}
  virtual void Progress(int position, const std::string& status) {}
  virtual void Details(const std::string& caption, const std::string& text) {}
  virtual void Pause(uint32_t ms) {}
  virtual void Error(const std::string& text) {}
  virtual void Restart(int answer) {}
  virtual void Execute(const std::string& file, const std::string& params, int32_t result) {}
  virtual void End(int exitCode) {}
};

// Passes every event on to several transcripts.
class TranscriptFanout : public Transcript {
 public:
  void Add(Transcript* sink) { sinks_.push_back(sink); }
  void Message(const std::string& text) override {
    for (auto* s : sinks_) s->Message(text);
  }
  void Ask(const std::string& caption, const std::string& text, int style, int answer) override {
    for (auto* s : sinks_) s->Ask(caption, text, style, answer);
  }
  void Button(const std::string& name, const std::string& caption, bool enabled) override {
    for (auto* s : sinks_) s->Button(name, caption, enabled);
  }
  void Progress(int position, const std::string& status) override {
    for (auto* s : sinks_) s->Progress(position, status);
  }
  void Details(const std::string& caption, const std::string& text) override {
    for (auto* s : sinks_) s->Details(caption, text);
  }
  void Pause(uint32_t ms) override {
    for (auto* s : sinks_) s->Pause(ms);
  }
  void Error(const std::string& text) override {
    for (auto* s : sinks_) s->Error(text);
  }
  void Restart(int answer) override {
    for (auto* s : sinks_) s->Restart(answer);
  }
  void Execute(const std::string& file, const std::string& params, int32_t result) override {
    for (auto* s : sinks_) s->Execute(file, params, result);
  }
  void End(int exitCode) override {
    for (auto* s : sinks_) s->End(exitCode);
  }

 private:
  std::vector<Transcript*> sinks_;
};

}  // namespace korvane
