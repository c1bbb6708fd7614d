// Qt rendering of the framework: windows per form, a queue of user events that the
// framework's modal loop drains, and the modal boxes. Every decision stays in the core.
#include "frontend/qt/qt_front_end.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "framework/form.h"
#include "framework/message_box.h"
#include "frontend/qt/folder_browser_dialog.h"
#include "frontend/qt/form_window.h"
#include "frontend/qt/qt_text.h"

namespace korvane::qt {

QtFrontEnd::QtFrontEnd() {
  connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { quit_ = true; });
}

QtFrontEnd::~QtFrontEnd() = default;

void QtFrontEnd::Push(UiEvent event) { queue_.push_back(std::move(event)); }

Place QtFrontEnd::ScreenSize() {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    return Place{0, 0, area.width(), area.height()};
  }
  return Place{0, 0, 1024, 768};
}

Place QtFrontEnd::TextSize(const FontSpec& font, const std::string& text) {
  const QFontMetrics metrics(MapFont(font));
  const QSize size = metrics.boundingRect(QRect(), Qt::AlignLeft | Qt::AlignTop, ToQString(text)).size();
  return Place{0, 0, size.width(), size.height()};
}

void QtFrontEnd::ShowForm(Form& form) {
  auto window = std::make_unique<FormWindow>(form, [this](UiEvent e) { Push(std::move(e)); });
  FormWindow* raw = window.get();
  windows_[form.Name()] = std::move(window);
  if (form.maximized) {
    raw->showMaximized();
  } else {
    // A second window is modal over the ones before it, as the main window is over the
    // background window.
    if (windows_.size() > 1) raw->setWindowModality(Qt::ApplicationModal);
    raw->show();
    if (form.centered) {
      const Place screen = ScreenSize();
      raw->move((screen.width - raw->frameGeometry().width()) / 2,
                (screen.height - raw->frameGeometry().height()) / 2);
    }
    raw->raise();
    raw->activateWindow();
  }
  QCoreApplication::processEvents();
}

void QtFrontEnd::HideForm(Form& form) {
  auto it = windows_.find(form.Name());
  if (it == windows_.end()) return;
  it->second->AllowClose();
  it->second->close();
  windows_.erase(it);
  QCoreApplication::processEvents();
}

UiEvent QtFrontEnd::WaitEvent() {
  while (queue_.empty()) {
    if (quit_ || QApplication::topLevelWidgets().isEmpty()) return UiEvent{};
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  UiEvent event = std::move(queue_.front());
  queue_.pop_front();
  return event;
}

std::optional<UiEvent> QtFrontEnd::PollEvent() {
  if (queue_.empty()) QCoreApplication::processEvents(QEventLoop::AllEvents);
  if (queue_.empty()) return std::nullopt;
  UiEvent event = std::move(queue_.front());
  queue_.pop_front();
  return event;
}

QWidget* QtFrontEnd::OwnerWidget(const Form* owner) const {
  if (owner != nullptr) {
    if (FormWindow* window = Window(owner->Name())) return window;
  }
  // Boxes are owned by the topmost window shown, normally the main window.
  QWidget* last = nullptr;
  for (const auto& [name, window] : windows_) {
    if (!window->form().maximized) return window.get();
    last = window.get();
  }
  return last;
}

FormWindow* QtFrontEnd::Window(const std::string& formName) const {
  auto it = windows_.find(formName);
  return it == windows_.end() ? nullptr : it->second.get();
}

int QtFrontEnd::MessageBox(const Form* owner, const std::string& text,
                           const std::string& caption, int style) {
  QMessageBox box(OwnerWidget(owner));
  box.setObjectName(QStringLiteral("messageBox"));
  box.setWindowTitle(ToQString(caption));
  box.setText(ToQString(text));
  switch (style & kMbIconMask) {
    case kMbIconError: box.setIcon(QMessageBox::Critical); break;
    case kMbIconQuestion: box.setIcon(QMessageBox::Question); break;
    case kMbIconExclamation: box.setIcon(QMessageBox::Warning); break;
    case kMbIconInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
  }
  // Captions of the Japanese system's buttons; the answer numbers are the system's.
  std::map<QAbstractButton*, int> answers;
  auto add = [&](const QString& label, QMessageBox::ButtonRole role, int answer) {
    QPushButton* button = box.addButton(label, role);
    button->setObjectName(QString("answer%1").arg(answer));
    answers[button] = answer;
    return button;
  };
  QPushButton* first = nullptr;
  switch (style & kMbButtonMask) {
    case kMbYesNo:
      first = add(QStringLiteral("はい(&Y)"), QMessageBox::YesRole, kIdYes);
      add(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole, kIdNo);
      break;
    case kMbOkCancel:
      first = add(QStringLiteral("OK"), QMessageBox::AcceptRole, kIdOk);
      add(QStringLiteral("キャンセル"), QMessageBox::RejectRole, kIdCancel);
      break;
    default:
      first = add(QStringLiteral("OK"), QMessageBox::AcceptRole, kIdOk);
      break;
  }
  box.setDefaultButton(first);
  if (onModal) onModal(&box);
  box.exec();
  auto it = answers.find(box.clickedButton());
  if (it != answers.end()) return it->second;
  // Closed without a button: Cancel where the box has one, else its only answer.
  return (style & kMbButtonMask) == kMbOkCancel ? kIdCancel
         : (style & kMbButtonMask) == kMbYesNo  ? kIdNo
                                                : kIdOk;
}

std::optional<std::string> QtFrontEnd::BrowseForFolder(const Form* owner,
                                                       const FolderBrowser& browser) {
  FolderBrowserDialog dialog(browser, OwnerWidget(owner));
  if (onModal) onModal(&dialog);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.SelectedPath();
}

int QtFrontEnd::RestartQuestion(const Form* owner) {
  QMessageBox box(OwnerWidget(owner));
  box.setObjectName(QStringLiteral("restartQuestion"));
  box.setWindowTitle(QStringLiteral("システム設定の変更"));
  box.setText(QStringLiteral("新しい設定を有効にするには，Windows を再起動する必要があります．\n"
                             "今すぐ再起動しますか？"));
  box.setIcon(QMessageBox::Question);
  QPushButton* yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
  yes->setObjectName(QStringLiteral("answer6"));
  QPushButton* no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
  no->setObjectName(QStringLiteral("answer7"));
  box.setDefaultButton(yes);
  if (onModal) onModal(&box);
  box.exec();
  return box.clickedButton() == yes ? kIdYes : kIdNo;
}

}  // namespace korvane::qt
