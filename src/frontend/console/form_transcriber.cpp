// Control changes of the main window as transcript events. Only the controls the transcript
// names are followed; everything else a form does is not an event.
#include "frontend/console/form_transcriber.h"

namespace korvane {

void FormTranscriber::Flush() {
  if (progressForm_ != nullptr) {
    const Form* form = progressForm_;
    progressForm_ = nullptr;
    const Control* bar = form->FindControl("prgStatus");
    const Control* status = form->FindControl("lblStatus");
    std::pair<int, std::string> now{bar ? bar->Position() : 0,
                                    status ? status->Caption() : std::string()};
    if (lastProgress_ != now) {
      lastProgress_ = now;
      sink_.Progress(now.first, now.second);
    }
  }
  if (detailsForm_ != nullptr) {
    const Form* form = detailsForm_;
    detailsForm_ = nullptr;
    const Control* frame = form->FindControl("fraReadme");
    const Control* text = form->FindControl("txtReadme");
    if (frame != nullptr && frame->Visible()) {
      std::pair<std::string, std::string> now{frame->Caption(), text ? text->Text() : ""};
      if (lastDetails_ != now) {
        lastDetails_ = now;
        sink_.Details(now.first, now.second);
      }
    }
  }
}

void FormTranscriber::ControlChanged(const Control& control, ControlProperty property) {
  const std::string& name = control.Name();
  if (name == "lblMessage" && property == ControlProperty::Caption) {
    if (lastMessage_ != control.Caption()) {
      Flush();
      lastMessage_ = control.Caption();
      sink_.Message(control.Caption());
    }
  } else if ((name == "btnEvent" || name == "btnEnd") &&
             (property == ControlProperty::Caption || property == ControlProperty::Enabled)) {
    ButtonState now{control.Caption(), control.Enabled()};
    auto& last = name == "btnEvent" ? lastEvent_ : lastEnd_;
    if (last != now) {
      Flush();
      last = now;
      sink_.Button(name, now.caption, now.enabled);
    }
  } else if ((name == "prgStatus" && property == ControlProperty::Position) ||
             (name == "lblStatus" && property == ControlProperty::Caption)) {
    progressForm_ = &control.Owner();
  } else if (name == "fraReadme" && property == ControlProperty::Visible) {
    if (control.Visible()) {
      detailsForm_ = &control.Owner();
    } else {
      detailsForm_ = nullptr;
      lastDetails_.reset();
    }
  } else if ((name == "fraReadme" || name == "txtReadme") &&
             property == ControlProperty::Caption) {
    const Control* frame = control.Owner().FindControl("fraReadme");
    if (frame != nullptr && frame->Visible()) detailsForm_ = &control.Owner();
  }
}

void FormTranscriber::Message(const std::string& text) {
  Flush();
  sink_.Message(text);
}
void FormTranscriber::Ask(const std::string& caption, const std::string& text, int style,
                          int answer) {
  Flush();
  sink_.Ask(caption, text, style, answer);
}
void FormTranscriber::Button(const std::string& name, const std::string& caption, bool enabled) {
  Flush();
  sink_.Button(name, caption, enabled);
}
void FormTranscriber::Progress(int position, const std::string& status) {
  Flush();
  sink_.Progress(position, status);
}
void FormTranscriber::Details(const std::string& caption, const std::string& text) {
  Flush();
  sink_.Details(caption, text);
}
void FormTranscriber::Pause(uint32_t ms) {
  Flush();
  sink_.Pause(ms);
}
void FormTranscriber::Error(const std::string& text) {
  Flush();
  sink_.Error(text);
}
void FormTranscriber::Restart(int answer) {
  Flush();
  sink_.Restart(answer);
}
void FormTranscriber::Execute(const std::string& file, const std::string& params,
                              int32_t result) {
  Flush();
  sink_.Execute(file, params, result);
}
void FormTranscriber::End(int exitCode) {
  Flush();
  sink_.End(exitCode);
}

}  // namespace korvane
