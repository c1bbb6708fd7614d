// A scripted front-end for tests: a queue of user events, answers for the boxes and the
// folder browser, and a record of what was shown. It is the event source of a test, written
// like a user would act; it holds no logic of the system. Also a transcript that keeps lines.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "framework/folder_browser.h"
#include "framework/form.h"
#include "framework/front_end.h"
#include "framework/message_box.h"
#include "framework/transcript.h"

namespace korvane::testing {

struct ShownBox {
  std::string caption;
  std::string text;
  int style = 0;
  int answer = 0;
};

class ScriptedFrontEnd : public FrontEnd {
 public:
  // Events handed out by WaitEvent and PollEvent in order; WaitEvent gives Quit when empty.
  std::deque<UiEvent> events;
  // Answers per box caption, used in order; a box without one gets its first button.
  std::map<std::string, std::deque<int>> answers;
  // Folder browser answers in order; nullopt (or none left) is a cancel.
  std::deque<std::optional<std::string>> folders;
  // Runs when a box is shown, before it is answered (a test can queue events there).
  std::function<void(const ShownBox&)> onBox;
  // Runs when WaitEvent finds the queue empty, before it gives Quit.
  std::function<void()> onIdle;
  // Runs at every PollEvent before the queue is looked at (a test can queue events there when
  // the window shows what it waits for).
  std::function<void()> beforePoll;

  std::vector<ShownBox> boxes;
  std::vector<std::string> shownForms;
  std::vector<std::string> hiddenForms;
  std::vector<uint32_t> browserFlags;
  std::vector<std::string> browserTitles;
  int waits = 0;
  int polls = 0;

  static UiEvent Event(UiEvent::Kind kind, const std::string& control = {},
                       const std::string& text = {}, bool checked = false) {
    UiEvent event;
    event.kind = kind;
    event.control = control;
    event.text = text;
    event.checked = checked;
    return event;
  }
  void Click(const std::string& control) { events.push_back(Event(UiEvent::Kind::Click, control)); }
  void Type(const std::string& control, const std::string& text) {
    events.push_back(Event(UiEvent::Kind::SetText, control, text));
  }
  void Check(const std::string& control, bool checked) {
    events.push_back(Event(UiEvent::Kind::SetChecked, control, {}, checked));
  }
  void Quit() { events.push_back(Event(UiEvent::Kind::Quit)); }
  void Answer(const std::string& caption, int answer) { answers[caption].push_back(answer); }
  std::vector<std::string> BoxCaptions() const {
    std::vector<std::string> captions;
    for (const auto& box : boxes) captions.push_back(box.caption);
    return captions;
  }

  void ShowForm(Form& form) override { shownForms.push_back(form.Name()); }
  void HideForm(Form& form) override { hiddenForms.push_back(form.Name()); }
  UiEvent WaitEvent() override {
    ++waits;
    if (events.empty() && onIdle) onIdle();
    if (events.empty()) return Event(UiEvent::Kind::Quit);
    UiEvent event = events.front();
    events.pop_front();
    return event;
  }
  std::optional<UiEvent> PollEvent() override {
    ++polls;
    if (beforePoll) beforePoll();
    if (events.empty()) return std::nullopt;
    UiEvent event = events.front();
    events.pop_front();
    return event;
  }
  int MessageBox(const Form*, const std::string& text, const std::string& caption,
                 int style) override {
    ShownBox box{caption, text, style, FirstButtonOf(style)};
    if (onBox) onBox(box);
    auto found = answers.find(caption);
    if (found != answers.end() && !found->second.empty()) {
      box.answer = found->second.front();
      found->second.pop_front();
    }
    boxes.push_back(box);
    return box.answer;
  }
  std::optional<std::string> BrowseForFolder(const Form*, const FolderBrowser& browser) override {
    browserFlags.push_back(browser.Flags());
    browserTitles.push_back(browser.Title());
    if (folders.empty()) return std::nullopt;
    std::optional<std::string> folder = folders.front();
    folders.pop_front();
    return folder;
  }
  int RestartQuestion(const Form*) override {
    auto found = answers.find("restart");
    if (found != answers.end() && !found->second.empty()) return found->second.front();
    return kIdNo;
  }
};

// Keeps every transcript event as one line: "kind|field|field...".
class LineTranscript : public Transcript {
 public:
  std::vector<std::string> lines;

  std::vector<std::string> Of(const std::string& kind) const {
    std::vector<std::string> found;
    for (const auto& line : lines) {
      if (line.rfind(kind + "|", 0) == 0) found.push_back(line);
    }
    return found;
  }

  void Message(const std::string& text) override { lines.push_back("message|" + text); }
  void Ask(const std::string& caption, const std::string& text, int style, int answer) override {
    lines.push_back("ask|" + caption + "|" + text + "|" + std::to_string(style) + "|" +
                    std::to_string(answer));
  }
  void Button(const std::string& name, const std::string& caption, bool enabled) override {
    lines.push_back("button|" + name + "|" + caption + "|" + (enabled ? "on" : "off"));
  }
  void Progress(int position, const std::string& status) override {
    lines.push_back("progress|" + std::to_string(position) + "|" + status);
  }
  void Details(const std::string& caption, const std::string& text) override {
    lines.push_back("details|" + caption + "|" + text);
  }
  void Pause(uint32_t ms) override { lines.push_back("pause|" + std::to_string(ms)); }
  void Error(const std::string& text) override { lines.push_back("error|" + text); }
  void Restart(int answer) override { lines.push_back("restart|" + std::to_string(answer)); }
};

}  // namespace korvane::testing
