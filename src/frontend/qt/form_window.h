// Renders one form of the framework as a Qt window: a widget per control at its place, kept
// in step with the form through its change notifications. User actions become UiEvents;
// nothing here decides what they mean.
#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <string>

#include "framework/form.h"
#include "framework/front_end.h"

namespace korvane::qt {

class FormWindow : public QWidget, public FormObserver {
  Q_OBJECT

 public:
  using EventSink = std::function<void(UiEvent)>;

  FormWindow(Form& form, EventSink sink, QWidget* parent = nullptr);
  ~FormWindow() override;

  Form& form() const { return form_; }
  /// The widget of a control, or nullptr.
  QWidget* Widget(const std::string& controlName) const;
  /// Lets the window close (the framework hides it); the user's close is always refused.
  void AllowClose() { closeAllowed_ = true; }

  void ControlChanged(const Control& control, ControlProperty property) override;
  void FormChanged(const Form& form, FormProperty property) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QWidget* MakeWidget(Control& control, QWidget* parent);
  void Apply(const Control& control, QWidget* widget);

  Form& form_;
  EventSink sink_;
  std::map<std::string, QWidget*> widgets_;
  bool closeAllowed_ = false;
  bool syncing_ = false;
};

/// The installed font that stands for a font name of the forms.
QFont MapFont(const FontSpec& wanted);

}  // namespace korvane::qt
