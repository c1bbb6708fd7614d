// A front-end wrapper that writes the transcript's held-back events whenever the window
// becomes idle (waits, polls, asks), so the transcript follows what a user would see.
#pragma once

#include "framework/front_end.h"
#include "frontend/console/form_transcriber.h"

namespace korvane {

class FlushingFrontEnd : public FrontEnd {
 public:
  FlushingFrontEnd(FrontEnd& inner, FormTranscriber& transcriber)
      : inner_(inner), transcriber_(transcriber) {}

  void ShowForm(Form& form) override { inner_.ShowForm(form); }
  void HideForm(Form& form) override {
    transcriber_.Flush();
    inner_.HideForm(form);
  }
  UiEvent WaitEvent() override {
    transcriber_.Flush();
    return inner_.WaitEvent();
  }
  std::optional<UiEvent> PollEvent() override {
    transcriber_.Flush();
    return inner_.PollEvent();
  }
  int MessageBox(const Form* owner, const std::string& text, const std::string& caption,
                 int style) override {
    transcriber_.Flush();
    return inner_.MessageBox(owner, text, caption, style);
  }
  std::optional<std::string> BrowseForFolder(const Form* owner,
                                             const FolderBrowser& browser) override {
    transcriber_.Flush();
    return inner_.BrowseForFolder(owner, browser);
  }
  int RestartQuestion(const Form* owner) override {
    transcriber_.Flush();
    return inner_.RestartQuestion(owner);
  }

 private:
  FrontEnd& inner_;
  FormTranscriber& transcriber_;
};

}  // namespace korvane
