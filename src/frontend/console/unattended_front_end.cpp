// The unattended front-end. Each automatic press happens at most a few times per caption, so
// a window that refuses to end (a "No" to the closing question) ends the input instead of
// looping.
#include "frontend/console/unattended_front_end.h"

#include "framework/control.h"
#include "platform/encoding.h"
#include "startup/main_window.h"

namespace korvane {

namespace {
constexpr int kMaxPressesPerCaption = 3;
const char* const kShortcutBoxes[4] = {"chkSCutDesktop", "chkSCutStartMenu", "chkSCutStartUp",
                                       "chkSCutSendTo"};
const char* const kShortcutWords[4] = {"desktop", "startmenu", "startup", "sendto"};
}  // namespace

UnattendedFrontEnd::UnattendedFrontEnd(UnattendedSettings settings, std::ostream& warnings)
    : settings_(std::move(settings)),
      warnings_(warnings),
      rules_(settings_.answers, settings_.useAnswerRules),
      forms_(this),
      fired_(settings_.actions.size(), 0),
      wasMatching_(settings_.actions.size(), false) {}

UiEvent UnattendedFrontEnd::Click(const std::string& control) {
  UiEvent event;
  event.kind = UiEvent::Kind::Click;
  event.control = control;
  return event;
}

void UnattendedFrontEnd::ShowForm(Form& form) {
  forms_.Show(form);
  CheckTriggers();
}

void UnattendedFrontEnd::HideForm(Form& form) { forms_.Hide(form); }

void UnattendedFrontEnd::ControlChanged(const Control&, ControlProperty) { CheckTriggers(); }

bool UnattendedFrontEnd::Matches(const ScriptedAction& action) const {
  if (forms_.Forms().empty()) return false;
  if (!action.whenMessageContains.empty() &&
      forms_.CaptionOf("lblMessage").find(action.whenMessageContains) == std::string::npos) {
    return false;
  }
  if (!action.whenButtonCaption.empty() &&
      forms_.CaptionOf("btnEvent") != action.whenButtonCaption) {
    return false;
  }
  // An action waits until a user could perform it.
  if (!action.click.empty() && !forms_.Usable(action.click)) return false;
  if (!action.setText.empty() && !forms_.Usable(action.setText)) return false;
  return true;
}

void UnattendedFrontEnd::CheckTriggers() {
  if (checking_) return;
  checking_ = true;
  for (size_t i = 0; i < settings_.actions.size(); ++i) {
    const ScriptedAction& action = settings_.actions[i];
    bool matching = Matches(action);
    // An action fires when its trigger comes to match, not on every change while it does.
    if (matching && !wasMatching_[i] && fired_[i] < action.times) {
      ++fired_[i];
      if (!action.setText.empty()) {
        UiEvent event;
        event.kind = UiEvent::Kind::SetText;
        event.control = action.setText;
        event.text = action.text;
        queue_.push_back(event);
      }
      if (!action.click.empty()) queue_.push_back(Click(action.click));
    }
    wasMatching_[i] = matching;
  }
  checking_ = false;
}

void UnattendedFrontEnd::QueueOptions() {
  optionsApplied_ = true;
  if (settings_.dir) {
    if (forms_.Usable("txtFolder")) {
      UiEvent event;
      event.kind = UiEvent::Kind::SetText;
      event.control = "txtFolder";
      event.text = *settings_.dir;
      queue_.push_back(event);
    } else {
      warnings_ << "korvane: warning: --dir ignored: the setup folder cannot be changed; it "
                   "stays "
                << Cp932ToUtf8Lossy(forms_.CaptionOf("txtFolder")) << "\n";
    }
  }
  if (settings_.overwrite) {
    if (forms_.Usable("chkOverWrite")) {
      UiEvent event;
      event.kind = UiEvent::Kind::SetChecked;
      event.control = "chkOverWrite";
      event.checked = *settings_.overwrite;
      queue_.push_back(event);
    } else {
      Control* box = forms_.Find("chkOverWrite");
      warnings_ << "korvane: warning: --overwrite ignored: the option cannot be changed; it "
                   "stays "
                << (box && box->Checked() ? "yes" : "no") << "\n";
    }
  }
  if (settings_.shortcuts) {
    std::string refused;
    for (int i = 0; i < 4; ++i) {
      if (forms_.Usable(kShortcutBoxes[i])) {
        UiEvent event;
        event.kind = UiEvent::Kind::SetChecked;
        event.control = kShortcutBoxes[i];
        event.checked = (*settings_.shortcuts)[i];
        queue_.push_back(event);
      } else {
        refused += refused.empty() ? "" : ",";
        refused += kShortcutWords[i];
      }
    }
    if (!refused.empty()) {
      warnings_ << "korvane: warning: --shortcuts: " << refused
                << " cannot be changed and stay as proposed\n";
    }
  }
}

std::optional<UiEvent> UnattendedFrontEnd::Next(bool waiting) {
  CheckTriggers();
  if (!queue_.empty()) {
    UiEvent event = queue_.front();
    queue_.pop_front();
    return event;
  }
  const std::string eventCaption = forms_.CaptionOf("btnEvent");
  const bool eventUsable = forms_.Usable("btnEvent");
  if (settings_.interrupted != nullptr && settings_.interrupted->load()) {
    if (eventUsable && eventCaption == kCaptionAbort) {
      settings_.interrupted->store(false);
      return Click("btnEvent");
    }
    if (waiting) {
      // Interrupted before a run: end the program as the end button does.
      settings_.interrupted->store(false);
      if (forms_.Usable("btnEnd")) return Click("btnEnd");
      return UiEvent{};
    }
  }
  if (!settings_.pressButtons) return waiting ? std::optional<UiEvent>(UiEvent{}) : std::nullopt;
  if (eventUsable && eventCaption == kCaptionContinue) return Click("btnEvent");
  if (!waiting) return std::nullopt;

  auto press = [&](const std::string& control, const std::string& caption) {
    return ++presses_[control + "\n" + caption] <= kMaxPressesPerCaption;
  };
  if (eventUsable && eventCaption == kCaptionSetupContinue && press("btnEvent", eventCaption)) {
    return Click("btnEvent");
  }
  if (eventUsable && (eventCaption == kCaptionSetupStart || eventCaption == kCaptionUnsetupStart)) {
    // The start is pressed once; the run it starts ends the window.
    if (!optionsApplied_) {
      QueueOptions();
      queue_.push_back(Click("btnEvent"));
      UiEvent event = queue_.front();
      queue_.pop_front();
      return event;
    }
  }
  if (forms_.Usable("btnEnd") && press("btnEnd", forms_.CaptionOf("btnEnd"))) {
    return Click("btnEnd");
  }
  return UiEvent{};  // Quit
}

UiEvent UnattendedFrontEnd::WaitEvent() { return *Next(true); }

std::optional<UiEvent> UnattendedFrontEnd::PollEvent() { return Next(false); }

int UnattendedFrontEnd::MessageBox(const Form*, const std::string& text, const std::string& caption,
                                   int style) {
  CheckTriggers();
  return rules_.Answer(caption, text, style);
}

std::optional<std::string> UnattendedFrontEnd::BrowseForFolder(const Form*, const FolderBrowser&) {
  if (settings_.browseAnswer.empty()) return std::nullopt;
  return settings_.browseAnswer;
}

int UnattendedFrontEnd::RestartQuestion(const Form*) { return rules_.Restart(); }

}  // namespace korvane
