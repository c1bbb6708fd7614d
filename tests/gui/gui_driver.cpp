// The GUI driver: a timer polls the windows for the next step's condition; modal boxes are
// answered from inside their own event loop, as a user's click would be.
#include "gui_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <sstream>

#include "frontend/qt/form_window.h"
#include "frontend/qt/qt_front_end.h"
#include "platform/encoding.h"

namespace korvane::testing {

void EnsureApplication() {
  if (QApplication::instance() != nullptr) return;
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "gui_tests";
  static char* argv[] = {name, nullptr};
  auto* app = new QApplication(argc, argv);
  QApplication::setStyle(QStringLiteral("Windows"));
  (void)app;
}

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

QWidget* GuiDriver::Widget(const std::string& form, const std::string& control) const {
  if (frontEnd_ == nullptr) return nullptr;
  qt::FormWindow* window = frontEnd_->Window(form);
  return window == nullptr ? nullptr : window->Widget(control);
}

QString GuiDriver::WidgetText(const std::string& form, const std::string& control) const {
  QWidget* widget = Widget(form, control);
  if (auto* b = qobject_cast<QAbstractButton*>(widget)) return b->text();
  if (auto* l = qobject_cast<QLabel*>(widget)) return l->text();
  if (auto* e = qobject_cast<QLineEdit*>(widget)) return e->text();
  if (auto* m = qobject_cast<QPlainTextEdit*>(widget)) return m->toPlainText();
  if (auto* g = qobject_cast<QGroupBox*>(widget)) return g->title();
  return {};
}

void GuiDriver::Click(const std::string& control) const {
  if (auto* button = qobject_cast<QAbstractButton*>(Widget("frmMain", control))) button->click();
}

void GuiDriver::Poll() {
  while (next_ < steps.size() && steps[next_].ready()) {
    auto act = steps[next_].act;
    ++next_;
    act();
  }
}

void GuiDriver::Modal(QWidget* dialog) {
  if (onModal && onModal(dialog)) return;
  auto* box = qobject_cast<QMessageBox*>(dialog);
  if (box == nullptr) {
    QTimer::singleShot(0, dialog, [dialog] { dialog->close(); });
    return;
  }
  const QString caption = box->windowTitle();
  asked.push_back(caption);
  int answer = 0;
  if (auto it = answers.find(caption); it != answers.end()) answer = it->second;
  QTimer::singleShot(0, box, [box, answer] {
    auto* button = answer != 0 ? box->findChild<QPushButton*>(QString("answer%1").arg(answer))
                               : nullptr;
    if (button == nullptr) button = qobject_cast<QPushButton*>(box->defaultButton());
    if (button != nullptr) button->click();
  });
}

int GuiDriver::Run(const std::vector<std::string>& args, int timeoutMs) {
  EnsureApplication();
  std::ostringstream out, err;
  std::istringstream in;
  CommandIo io{out, err, in};
  io.displayAvailable = true;
  RunHooks hooks;
  hooks.recordingClock = true;

  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [this] { Poll(); });
  poll.start();
  QTimer guard;
  guard.setSingleShot(true);
  QObject::connect(&guard, &QTimer::timeout, [this] {
    timedOut_ = true;
    if (frontEnd_ != nullptr) frontEnd_->Abandon();
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  guard.start(timeoutMs);

  const int code = RunKorvaneWithFrontEnd(
      args, io, &hooks, [this](const FrontEndRequest&) {
        auto frontEnd = std::make_unique<qt::QtFrontEnd>();
        frontEnd_ = frontEnd.get();
        frontEnd_->onModal = [this](QWidget* dialog) { Modal(dialog); };
        return std::unique_ptr<FrontEnd>(std::move(frontEnd));
      });
  frontEnd_ = nullptr;
  if (!err.str().empty()) std::cerr << err.str();
  return code;
}

}  // namespace korvane::testing
