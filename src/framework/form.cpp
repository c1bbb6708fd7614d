// Form: owns its controls, keeps caption, enabled state, visibility, place and modal result,
// and tells its observers of every real change. The modal loop lives in Application, the
// logic in the derived forms.
#include "framework/form.h"

#include <algorithm>
#include <utility>

namespace korvane {

Form::Form(std::string name, std::string caption)
    : name_(std::move(name)), caption_(std::move(caption)) {}

Form::~Form() = default;

void Form::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  NotifyFormChanged(FormProperty::Caption);
}

void Form::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  NotifyFormChanged(FormProperty::Enabled);
}

void Form::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  NotifyFormChanged(FormProperty::Visible);
}

void Form::SetModalResult(int result) {
  if (modalResult_ == result) return;
  modalResult_ = result;
  NotifyFormChanged(FormProperty::ModalResult);
}

void Form::SetPlace(const Place& place) {
  if (place_ == place) return;
  place_ = place;
  NotifyFormChanged(FormProperty::Place);
}

Control& Form::AddControl(std::string name, ControlKind kind, Control* parent, Place place,
                          std::string caption) {
  controls_.push_back(
      std::make_unique<Control>(*this, std::move(name), kind, parent, place, std::move(caption)));
  Control& control = *controls_.back();
  control.font = font;
  return control;
}

Control* Form::FindControl(std::string_view name) const {
  for (const auto& control : controls_) {
    if (control->Name() == name) return control.get();
  }
  return nullptr;
}

void Form::AddObserver(FormObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
    observers_.push_back(observer);
  }
}

void Form::RemoveObserver(FormObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void Form::NotifyControlChanged(const Control& control, ControlProperty property) {
  // A copy, so that an observer may detach itself while being told.
  const auto observers = observers_;
  for (auto* observer : observers) observer->ControlChanged(control, property);
}

void Form::NotifyFormChanged(FormProperty property) {
  const auto observers = observers_;
  for (auto* observer : observers) observer->FormChanged(*this, property);
}

}  // namespace korvane
