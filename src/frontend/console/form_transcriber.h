// Turns what the main window shows into transcript events (message, button, progress,
// details) and passes every other event on. Progress and details are held back until the
// window is next idle or another event is written, so one step gives one event with its
// position and status together, and details carry their caption and whole text.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "framework/form.h"
#include "framework/transcript.h"

namespace korvane {

class FormTranscriber : public Transcript, public FormObserver {
 public:
  explicit FormTranscriber(Transcript& sink) : sink_(sink) {}

  /// Writes the held-back progress and details, if they changed.
  void Flush();

  // FormObserver.
  void ControlChanged(const Control& control, ControlProperty property) override;

  // Transcript: held-back events first, then this one.
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
  struct ButtonState {
    std::string caption;
    bool enabled = false;
    bool operator==(const ButtonState&) const = default;
  };

  Transcript& sink_;
  std::optional<std::string> lastMessage_;
  std::optional<ButtonState> lastEvent_;
  std::optional<ButtonState> lastEnd_;
  const Form* progressForm_ = nullptr;  // pending progress of this form
  std::optional<std::pair<int, std::string>> lastProgress_;
  const Form* detailsForm_ = nullptr;   // pending details of this form
  std::optional<std::pair<std::string, std::string>> lastDetails_;
};

}  // namespace korvane
