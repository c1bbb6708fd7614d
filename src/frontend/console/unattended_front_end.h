// The front-end of runs without a user: scripted actions fire when their trigger shows, then
// the event button is pressed as a user would (readme, options, start; continue after
// failure details; the end button after a failed start-up) and every box is answered by the
// answer rules. It never blocks: with nothing left to do, WaitEvent returns Quit.
#pragma once

#include <atomic>
#include <deque>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/commands.h"
#include "framework/front_end.h"
#include "frontend/console/answer_rules.h"
#include "frontend/console/shown_forms.h"

namespace korvane {

struct UnattendedSettings {
  std::vector<ScriptedAction> actions;
  std::map<std::string, int> answers;          // caption -> answer (code page 932)
  bool useAnswerRules = true;                  // default answers and the disk guard
  bool pressButtons = true;                    // the unattended presses after the actions
  std::optional<std::string> dir;              // txtFolder text before the start
  std::optional<bool> overwrite;               // chkOverWrite before the start
  std::optional<std::vector<bool>> shortcuts;  // the four shortcut boxes before the start
  std::string browseAnswer;                    // the folder browser's choice; "" cancels
  std::atomic<bool>* interrupted = nullptr;    // Ctrl-C
};

class UnattendedFrontEnd : public FrontEnd, public FormObserver {
 public:
  /// warnings: where options that cannot be applied are reported (one line each).
  UnattendedFrontEnd(UnattendedSettings settings, std::ostream& warnings);

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
  std::optional<UiEvent> Next(bool waiting);
  void CheckTriggers();
  bool Matches(const ScriptedAction& action) const;
  void QueueOptions();
  static UiEvent Click(const std::string& control);

  UnattendedSettings settings_;
  std::ostream& warnings_;
  AnswerRules rules_;
  ShownForms forms_;
  std::deque<UiEvent> queue_;
  std::vector<int> fired_;
  std::vector<bool> wasMatching_;
  std::map<std::string, int> presses_;  // automatic presses per button caption
  bool optionsApplied_ = false;
  bool checking_ = false;
};

}  // namespace korvane
