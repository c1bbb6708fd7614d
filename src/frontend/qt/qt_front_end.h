// The desktop front-end: renders the framework's forms as Qt windows, turns the user's
// clicks and typing into events, and shows message boxes, the folder browser and the
// restart question. It holds no logic of the system.
#pragma once

#include <QObject>
#include <deque>
#include <functional>
#include <map>
#include <memory>

#include "framework/front_end.h"

class QMessageBox;

namespace korvane::qt {

class FormWindow;

class QtFrontEnd : public QObject, public FrontEnd {
  Q_OBJECT

 public:
  QtFrontEnd();
  ~QtFrontEnd() override;

  void ShowForm(Form& form) override;
  void HideForm(Form& form) override;
  UiEvent WaitEvent() override;
  std::optional<UiEvent> PollEvent() override;
  int MessageBox(const Form* owner, const std::string& text, const std::string& caption,
                 int style) override;
  std::optional<std::string> BrowseForFolder(const Form* owner,
                                             const FolderBrowser& browser) override;
  int RestartQuestion(const Form* owner) override;
  Place ScreenSize() override;
  Place TextSize(const FontSpec& font, const std::string& text) override;

  /// The window of a form while it is shown, or nullptr (tests, screenshots).
  FormWindow* Window(const std::string& formName) const;
  /// Gives up: the next wait for an event ends the program's input.
  void Abandon() { quit_ = true; }
  /// Called with every modal box or dialog just before it runs (tests answer them here).
  std::function<void(QWidget* dialog)> onModal;

 private:
  QWidget* OwnerWidget(const Form* owner) const;
  void Push(UiEvent event);

  std::map<std::string, std::unique_ptr<FormWindow>> windows_;
  std::deque<UiEvent> queue_;
  bool quit_ = false;
};

}  // namespace korvane::qt
