// The front-end for a person at a terminal: the message of the moment, a small menu of what
// the window lets the user do, questions asked at the prompt with their buttons, and a
// progress bar on standard error when that is a terminal. Texts leave as UTF-8.
#pragma once

#include <atomic>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "framework/front_end.h"
#include "frontend/console/answer_rules.h"
#include "frontend/console/shown_forms.h"

namespace korvane {

struct TerminalSettings {
  bool progressBar = false;                  // standard error is a terminal
  std::atomic<bool>* interrupted = nullptr;  // Ctrl-C
};

class TerminalFrontEnd : public FrontEnd, public FormObserver {
 public:
  TerminalFrontEnd(std::istream& in, std::ostream& out, std::ostream& err,
                   TerminalSettings settings);

  void ShowForm(Form& form) override;
  void HideForm(Form& form) override;
  UiEvent WaitEvent() override;
  std::optional<UiEvent> PollEvent() override;
  int MessageBox(const Form* owner, const std::string& text, const std::string& caption,
                 int style) override;
  std::optional<std::string> BrowseForFolder(const Form* owner,
                                             const FolderBrowser& browser) override;
  int RestartQuestion(const Form* owner) override;

  void ControlChanged(const Control& control, ControlProperty property) override;

 private:
  /// Reads one line (UTF-8, CR removed): nullopt when the input has ended.
  std::optional<std::string> ReadLine(const std::string& prompt);
  void ShowDetailsIfNew();
  void ShowMenu();
  void EndProgressLine();
  /// A form text (code page 932) for the terminal: UTF-8, CR as line break, "&" removed.
  static std::string Show(const std::string& cp932);

  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  TerminalSettings settings_;
  ShownForms forms_;
  AnswerRules rules_;  // for questions asked after the input has ended
  bool inputEnded_ = false;
  bool progressShown_ = false;
  std::string shownDetails_;
};

}  // namespace korvane
