// A control of a form as a plain object: the properties that the forms' logic reads and
// writes, and a change notification to the owning form. No drawing happens here.
#pragma once

#include <cstdint>
#include <string>

namespace korvane {

class Form;

enum class ControlKind { Label, Button, CheckBox, GroupBox, Edit, Memo, ProgressBar };

enum class ControlProperty { Caption, Enabled, Visible, Checked, Position, Place };

struct Place {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Place&) const = default;
};

// Font as the form designer gave it; front-ends map the name to an installed font.
struct FontSpec {
  std::string name = "ＭＳ Ｐゴシック";  // code page 932
  int pixels = 12;
  bool italic = false;
  bool fixedPitch = false;
  uint32_t color = 0x000000;  // 0xRRGGBB
};

class Control {
 public:
  Control(Form& owner, std::string name, ControlKind kind, Control* parent, Place place,
          std::string caption);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  ControlKind Kind() const { return kind_; }
  Control* Parent() const { return parent_; }
  Form& Owner() const { return owner_; }

  // Caption (labels, buttons, group boxes, check boxes) and Text (edits, memos) share storage.
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  const std::string& Text() const { return caption_; }
  void SetText(const std::string& text) { SetCaption(text); }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  int Position() const { return position_; }
  void SetPosition(int position);
  const Place& GetPlace() const { return place_; }
  void SetPlace(const Place& place);

  /// Visible itself and every parent visible.
  bool Showing() const;
  /// Enabled itself and every parent enabled, and showing: a user can act on it.
  bool Usable() const;

  // Look, set once by the form that makes the control.
  FontSpec font;
  bool autoSize = false;
  bool transparent = false;
  bool centered = false;        // text centred both ways (lblStatus)
  bool readOnly = false;        // memos
  bool verticalScroll = false;  // memos
  bool wordWrap = false;        // multi-line labels
  int minimum = 0;              // progress bars
  int maximum = 100;
  int step = 1;

 private:
  void Changed(ControlProperty property);

  Form& owner_;
  std::string name_;
  ControlKind kind_;
  Control* parent_;
  Place place_;
  std::string caption_;
  bool enabled_ = true;
  bool visible_ = true;
  bool checked_ = false;
  int position_ = 0;
};

}  // namespace korvane
