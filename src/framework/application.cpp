// The application object: the modal loop with ModalResult and the close check, the processing
// of pending events with its re-entrancy, and the boxes, each reported to the transcript.
// Errors that escape a handler are shown here and handed back to the form; nothing else is
// caught. No logic of the system lives here.
#include "framework/application.h"

#include <algorithm>

#include "framework/errors.h"
#include "framework/folder_browser.h"
#include "framework/form.h"
#include "framework/message_box.h"

namespace korvane {

Place FrontEnd::TextSize(const FontSpec& font, const std::string& text) {
  size_t longest = 0;
  size_t lines = 1;
  size_t current = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\n' && i > 0 && text[i - 1] == '\r') continue;  // CR LF is one break
    if (c == '\r' || c == '\n') {
      longest = std::max(longest, current);
      current = 0;
      ++lines;
      continue;
    }
    ++current;
  }
  longest = std::max(longest, current);
  const int perByte = std::max(1, font.pixels / 2);
  const int perLine = font.pixels + 3;
  return Place{0, 0, static_cast<int>(longest) * perByte, static_cast<int>(lines) * perLine};
}

Application::Application(FrontEnd& frontEnd, Transcript& transcript)
    : frontEnd_(frontEnd), transcript_(transcript) {}

template <typename Handler>
void Application::Guarded(Form& form, Handler&& handler) {
  try {
    handler();
  } catch (const KorvaneError& error) {
    ShowException(error);
    form.HandlerFailed(error);
  }
}

int Application::ShowModal(Form& form) {
  Form* const previous = modal_;
  modal_ = &form;
  form.SetModalResult(0);
  form.SetVisible(true);
  frontEnd_.ShowForm(form);
  Guarded(form, [&] { form.FormActivate(); });

  int result = 0;
  for (;;) {
    if (form.ModalResult() != 0) {
      if (MayClose(form)) {
        result = form.ModalResult();
        break;
      }
      form.SetModalResult(0);
      continue;
    }
    if (inputEnded_) {
      result = 2;
      break;
    }
    const UiEvent event = frontEnd_.WaitEvent();
    Dispatch(form, event);
  }
  CloseForm(form);
  modal_ = previous;
  return result;
}

bool Application::MayClose(Form& form) {
  bool mayClose = false;
  Guarded(form, [&] { mayClose = form.FormCloseQuery(); });
  return mayClose;
}

void Application::CloseForm(Form& form) {
  Guarded(form, [&] { form.FormClose(); });
  frontEnd_.HideForm(form);
  form.SetVisible(false);
}

void Application::ProcessMessages() {
  if (modal_ == nullptr) return;
  Form& form = *modal_;
  while (!inputEnded_) {
    std::optional<UiEvent> event = frontEnd_.PollEvent();
    if (!event) break;
    Dispatch(form, *event);
  }
}

void Application::Dispatch(Form& form, const UiEvent& event) {
  if (event.kind == UiEvent::Kind::Quit) {
    inputEnded_ = true;
    return;
  }
  Control* control = form.FindControl(event.control);
  // What a user cannot reach (disabled, hidden, or in a hidden or disabled frame) does nothing.
  if (control == nullptr || !control->Usable()) return;
  switch (event.kind) {
    case UiEvent::Kind::Click:
      if (control->Kind() == ControlKind::CheckBox) control->SetChecked(!control->Checked());
      if (control->Kind() == ControlKind::Button || control->Kind() == ControlKind::CheckBox) {
        Guarded(form, [&] { form.Click(*control); });
      }
      break;
    case UiEvent::Kind::SetText:
      if (control->Kind() == ControlKind::Edit && !control->readOnly) control->SetText(event.text);
      break;
    case UiEvent::Kind::SetChecked:
      if (control->Kind() == ControlKind::CheckBox) control->SetChecked(event.checked);
      break;
    case UiEvent::Kind::Quit:
      break;
  }
}

int Application::MessageBox(const std::string& text, const std::string& caption, int style) {
  const int answer = frontEnd_.MessageBox(modal_, text, caption, style);
  transcript_.Ask(caption, text, style, answer);
  return answer;
}

std::optional<std::string> Application::BrowseForFolder(const FolderBrowser& browser) {
  return frontEnd_.BrowseForFolder(modal_, browser);
}

int Application::RestartQuestion() {
  const int answer = frontEnd_.RestartQuestion(modal_);
  transcript_.Restart(answer);
  return answer;
}

void Application::ShowException(const KorvaneError& error) {
  MessageBox(error.what(), title_, kStyleError);
  transcript_.Error(error.what());
}

}  // namespace korvane
