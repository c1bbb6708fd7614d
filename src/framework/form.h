// A form: its controls, caption, enabled state and modal result, and the handlers that the
// Application's modal loop calls. Forms hold logic; front-ends only render and deliver events.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/control.h"

namespace korvane {

class Form;
class KorvaneError;

enum class FormProperty { Caption, Enabled, Visible, ModalResult, Place };

// Notified of every change a form or its controls go through (front-ends, transcript).
class FormObserver {
 public:
  virtual ~FormObserver() = default;
  virtual void ControlChanged(const Control& control, ControlProperty property) = 0;
  virtual void FormChanged(const Form& form, FormProperty property) {}
};

class Form {
 public:
  Form(std::string name, std::string caption);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result);
  /// Window place: for a fixed window its client size; for a maximized one its whole size.
  const Place& GetPlace() const { return place_; }
  void SetPlace(const Place& place);

  // Window look, set once by the form.
  bool maximized = false;
  bool fixedBorder = true;
  bool systemMenu = true;      // the only border icon a form may have here
  bool closeCommandEnabled = true;
  bool centered = false;
  uint32_t color = 0xC0C0C0;   // 0xRRGGBB
  FontSpec font;

  /// Makes a control owned by this form; parent nullptr means the form itself.
  Control& AddControl(std::string name, ControlKind kind, Control* parent, Place place,
                      std::string caption = {});
  /// The control of that name, or nullptr.
  Control* FindControl(std::string_view name) const;
  /// Controls in creation order (parents before children).
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }

  void AddObserver(FormObserver* observer);
  void RemoveObserver(FormObserver* observer);

  // Handlers, called by the Application.
  virtual void FormCreate() {}
  virtual void FormActivate() {}
  virtual void FormResize() {}
  /// The close check: true when the form may close.
  virtual bool FormCloseQuery() { return true; }
  virtual void FormClose() {}
  /// A click on a usable control.
  virtual void Click(Control& control) {}
  /// An error escaped a handler; its box has been shown already.
  virtual void HandlerFailed(const KorvaneError& error) {}

  // Called by Control on every change.
  void NotifyControlChanged(const Control& control, ControlProperty property);

 private:
  void NotifyFormChanged(FormProperty property);

  std::string name_;
  std::string caption_;
  bool enabled_ = true;
  bool visible_ = false;
  int modalResult_ = 0;
  Place place_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<FormObserver*> observers_;
};

}  // namespace korvane
