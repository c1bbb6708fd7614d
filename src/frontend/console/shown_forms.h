// The forms a front-end is showing, in the order they were shown, with a lookup of controls
// by name (the most recently shown form first). Observes them while they are shown; the
// forms must outlive it or be hidden first.
#pragma once

#include <algorithm>
#include <string_view>
#include <vector>

#include "framework/form.h"

namespace korvane {

class ShownForms {
 public:
  // Forms outlive no front-end here: the program (and its forms) ends before the front-end,
  // so nothing is detached on destruction.
  explicit ShownForms(FormObserver* observer) : observer_(observer) {}
  ShownForms(const ShownForms&) = delete;
  ShownForms& operator=(const ShownForms&) = delete;

  void Show(Form& form) {
    if (std::find(forms_.begin(), forms_.end(), &form) != forms_.end()) return;
    forms_.push_back(&form);
    form.AddObserver(observer_);
  }
  void Hide(Form& form) {
    auto it = std::find(forms_.begin(), forms_.end(), &form);
    if (it == forms_.end()) return;
    form.RemoveObserver(observer_);
    forms_.erase(it);
  }
  /// The control of that name on a shown form, or nullptr.
  Control* Find(std::string_view name) const {
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) {
      if (Control* control = (*it)->FindControl(name)) return control;
    }
    return nullptr;
  }
  /// The caption of a control, or "" when no shown form has it.
  std::string CaptionOf(std::string_view name) const {
    Control* control = Find(name);
    return control ? control->Caption() : std::string();
  }
  /// Whether a user could act on the control now.
  bool Usable(std::string_view name) const {
    Control* control = Find(name);
    return control != nullptr && control->Usable() && control->Owner().Enabled();
  }
  const std::vector<Form*>& Forms() const { return forms_; }

 private:
  FormObserver* observer_;
  std::vector<Form*> forms_;
};

}  // namespace korvane
