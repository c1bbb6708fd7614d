// Control: plain properties with a change notification to the owning form. A setter notifies
// only when the value really changes, so observers (transcript, renderers) see real changes.
// No drawing and no event handling happens here.
#include "framework/control.h"

#include <utility>

#include "framework/form.h"

namespace korvane {

Control::Control(Form& owner, std::string name, ControlKind kind, Control* parent, Place place,
                 std::string caption)
    : owner_(owner),
      name_(std::move(name)),
      kind_(kind),
      parent_(parent),
      place_(place),
      caption_(std::move(caption)) {}

void Control::SetCaption(const std::string& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  Changed(ControlProperty::Caption);
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Changed(ControlProperty::Enabled);
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Changed(ControlProperty::Visible);
}

void Control::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  Changed(ControlProperty::Checked);
}

void Control::SetPosition(int position) {
  if (position < minimum) position = minimum;
  if (position > maximum) position = maximum;
  if (position_ == position) return;
  position_ = position;
  Changed(ControlProperty::Position);
}

void Control::SetPlace(const Place& place) {
  if (place_ == place) return;
  place_ = place;
  Changed(ControlProperty::Place);
}

bool Control::Showing() const {
  for (const Control* c = this; c != nullptr; c = c->parent_) {
    if (!c->visible_) return false;
  }
  return true;
}

bool Control::Usable() const {
  for (const Control* c = this; c != nullptr; c = c->parent_) {
    if (!c->visible_ || !c->enabled_) return false;
  }
  return owner_.Enabled();
}

void Control::Changed(ControlProperty property) { owner_.NotifyControlChanged(*this, property); }

}  // namespace korvane
