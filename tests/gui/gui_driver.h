// Drives the real GUI in-process for tests and screenshots: runs a korvane command with the
// Qt front-end, performs steps when the windows show what they wait for, and answers the
// modal boxes by caption. The program's logic is untouched: only clicks are delivered.
// Unlike the rest of the tests, the GUI tests' literals are UTF-8 (Qt's headers need it).
#pragma once

#include <QString>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/commands.h"

class QWidget;

namespace korvane::qt {
class QtFrontEnd;
class FormWindow;
}  // namespace korvane::qt

namespace korvane::testing {

class GuiDriver {
 public:
  struct Step {
    std::function<bool()> ready;
    std::function<void()> act;
  };

  /// Answers a message box with this caption (UTF-8) by pressing the button of that id.
  std::map<QString, int> answers;
  /// Called for each modal widget before the answer rules; return true when handled.
  std::function<bool(QWidget*)> onModal;
  /// Steps performed in order, each when its condition holds.
  std::vector<Step> steps;
  /// Captions (UTF-8) of the boxes shown, in order.
  std::vector<QString> asked;

  /// Runs korvane with args (UTF-8, as a command line) and the Qt front-end;
  /// gives up after timeoutMs. Returns the exit code.
  int Run(const std::vector<std::string>& args, int timeoutMs = 60000);

  qt::QtFrontEnd* frontEnd() const { return frontEnd_; }
  /// A control's widget of the shown form, or nullptr.
  QWidget* Widget(const std::string& form, const std::string& control) const;
  /// The caption/text a control's widget shows (UTF-8).
  QString WidgetText(const std::string& form, const std::string& control) const;
  /// Clicks a button of the main window.
  void Click(const std::string& control) const;
  bool TimedOut() const { return timedOut_; }
  /// Whether every step was performed.
  bool Done() const { return next_ == steps.size(); }

 private:
  void Poll();
  void Modal(QWidget* dialog);

  qt::QtFrontEnd* frontEnd_ = nullptr;
  size_t next_ = 0;
  bool timedOut_ = false;
};

/// Makes sure one QApplication exists (offscreen unless a platform was chosen).
void EnsureApplication();
/// A literal of the GUI tests (UTF-8: they are compiled with UTF-8 literals) as QString.
QString Q(const char* utf8);

}  // namespace korvane::testing
