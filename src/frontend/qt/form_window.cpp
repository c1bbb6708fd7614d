// Builds Qt widgets for a form's controls and mirrors every change of the model into them.
// The widgets never hold state of their own that the logic reads.
#include "frontend/qt/form_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include "frontend/qt/qt_text.h"

namespace korvane::qt {
namespace {

QColor ToColor(uint32_t rgb) { return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

QFont MapFont(const FontSpec& wanted) {
  const QString name = ToQString(wanted.name);
  QString family = QStringLiteral("Noto Sans CJK JP");
  if (wanted.fixedPitch || name == QStringLiteral("ＭＳ ゴシック")) {
    family = QStringLiteral("Noto Sans Mono CJK JP");
  } else if (name.contains(QStringLiteral("Times"))) {
    family = QStringLiteral("DejaVu Serif");
  }
  QFont font(family);
  font.setPixelSize(wanted.pixels);
  font.setItalic(wanted.italic);
  if (wanted.fixedPitch) font.setStyleHint(QFont::Monospace);
  return font;
}

FormWindow::FormWindow(Form& form, EventSink sink, QWidget* parent)
    : QWidget(parent), form_(form), sink_(std::move(sink)) {
  setObjectName(QString::fromStdString(form.Name()));
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  if (form.systemMenu) flags |= Qt::WindowSystemMenuHint;
  setWindowFlags(flags);
  setFont(MapFont(form.font));
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, ToColor(form.color));
  setPalette(palette);
  setWindowTitle(ToQString(form.Caption()));

  for (const auto& control : form.Controls()) {
    QWidget* parentWidget = this;
    if (control->Parent() != nullptr) parentWidget = widgets_.at(control->Parent()->Name());
    QWidget* widget = MakeWidget(*control, parentWidget);
    widgets_[control->Name()] = widget;
    Apply(*control, widget);
  }
  // Later controls are drawn over earlier ones, as the form lists them.
  for (const auto& control : form.Controls()) widgets_[control->Name()]->raise();
  const Place& place = form.GetPlace();
  if (form.fixedBorder && !form.maximized && place.width > 0) {
    setFixedSize(place.width, place.height);
  } else if (place.width > 0) {
    resize(place.width, place.height);
  }
  form.AddObserver(this);
}

FormWindow::~FormWindow() { form_.RemoveObserver(this); }

QWidget* FormWindow::Widget(const std::string& controlName) const {
  auto it = widgets_.find(controlName);
  return it == widgets_.end() ? nullptr : it->second;
}

QWidget* FormWindow::MakeWidget(Control& control, QWidget* parent) {
  const std::string name = control.Name();
  QWidget* widget = nullptr;
  switch (control.Kind()) {
    case ControlKind::Label: {
      auto* label = new QLabel(parent);
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(control.wordWrap);
      label->setAlignment(control.centered ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
      widget = label;
      break;
    }
    case ControlKind::Button: {
      auto* button = new QPushButton(parent);
      connect(button, &QPushButton::clicked, this,
              [this, name] { sink_(UiEvent{UiEvent::Kind::Click, name, {}, false}); });
      widget = button;
      break;
    }
    case ControlKind::CheckBox: {
      auto* box = new QCheckBox(parent);
      connect(box, &QCheckBox::clicked, this, [this, name, box](bool) {
        // The model toggles; the widget shows what the model says once it has.
        box->setChecked(form_.FindControl(name)->Checked());
        sink_(UiEvent{UiEvent::Kind::Click, name, {}, false});
      });
      widget = box;
      break;
    }
    case ControlKind::GroupBox:
      widget = new QGroupBox(parent);
      // A group box paints its face, so one shown over others (the readme frame) hides them.
      widget->setAutoFillBackground(true);
      break;
    case ControlKind::Edit: {
      auto* edit = new QLineEdit(parent);
      connect(edit, &QLineEdit::textEdited, this, [this, name](const QString& text) {
        sink_(UiEvent{UiEvent::Kind::SetText, name, FromQString(text), false});
      });
      widget = edit;
      break;
    }
    case ControlKind::Memo: {
      auto* memo = new QPlainTextEdit(parent);
      memo->setReadOnly(control.readOnly);
      memo->setVerticalScrollBarPolicy(control.verticalScroll ? Qt::ScrollBarAlwaysOn
                                                              : Qt::ScrollBarAsNeeded);
      memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
      widget = memo;
      break;
    }
    case ControlKind::ProgressBar: {
      auto* bar = new QProgressBar(parent);
      bar->setTextVisible(false);
      widget = bar;
      break;
    }
  }
  widget->setObjectName(QString::fromStdString(name));
  widget->setFont(MapFont(control.font));
  if (control.font.color != 0 || control.transparent) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, ToColor(control.font.color));
    widget->setPalette(palette);
  }
  if (control.transparent) widget->setAttribute(Qt::WA_TranslucentBackground);
  if (control.Kind() == ControlKind::CheckBox) {
    // A disabled box still shows its check, greyed, as the classic look does.
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(128, 128, 128));
    palette.setColor(QPalette::Disabled, QPalette::Base, QColor(192, 192, 192));
    widget->setPalette(palette);
  }
  return widget;
}

void FormWindow::Apply(const Control& control, QWidget* widget) {
  syncing_ = true;
  const QString caption = ToCaption(control.Caption());
  switch (control.Kind()) {
    case ControlKind::Label: {
      auto* label = static_cast<QLabel*>(widget);
      label->setText(caption);
      break;
    }
    case ControlKind::Button:
      static_cast<QPushButton*>(widget)->setText(caption);
      break;
    case ControlKind::CheckBox: {
      auto* box = static_cast<QCheckBox*>(widget);
      box->setText(caption);
      box->setChecked(control.Checked());
      break;
    }
    case ControlKind::GroupBox:
      static_cast<QGroupBox*>(widget)->setTitle(caption);
      break;
    case ControlKind::Edit: {
      auto* edit = static_cast<QLineEdit*>(widget);
      if (edit->text() != caption) edit->setText(caption);
      break;
    }
    case ControlKind::Memo: {
      auto* memo = static_cast<QPlainTextEdit*>(widget);
      if (memo->toPlainText() != caption) memo->setPlainText(caption);
      break;
    }
    case ControlKind::ProgressBar: {
      auto* bar = static_cast<QProgressBar*>(widget);
      bar->setRange(control.minimum, control.maximum);
      bar->setValue(control.Position());
      break;
    }
  }
  widget->setEnabled(control.Enabled());
  const Place& place = control.GetPlace();
  widget->setGeometry(place.left, place.top, place.width, place.height);
  widget->setVisible(control.Visible());
  syncing_ = false;
}

void FormWindow::ControlChanged(const Control& control, ControlProperty) {
  if (QWidget* widget = Widget(control.Name())) Apply(control, widget);
}

void FormWindow::FormChanged(const Form& form, FormProperty property) {
  if (property == FormProperty::Caption) setWindowTitle(ToQString(form.Caption()));
}

void FormWindow::closeEvent(QCloseEvent* event) {
  // The close command of the forms is disabled: only the framework closes a window.
  if (closeAllowed_) {
    event->accept();
  } else {
    event->ignore();
  }
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
  // Escape would close a dialog; these windows close only through their buttons.
  if (event->key() == Qt::Key_Escape) return;
  QWidget::keyPressEvent(event);
}

}  // namespace korvane::qt
