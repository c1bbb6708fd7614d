// Controls and forms as plain objects: change notifications only on real changes, the
// reach of a control through its parents, and the observers' attachment.
#include "framework/form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/control.h"

namespace korvane {
namespace {

class Recorder : public FormObserver {
 public:
  std::vector<std::string> seen;
  void ControlChanged(const Control& control, ControlProperty property) override {
    seen.push_back(control.Name() + ":" + std::to_string(static_cast<int>(property)));
  }
  void FormChanged(const Form& form, FormProperty property) override {
    seen.push_back(form.Name() + ":form" + std::to_string(static_cast<int>(property)));
  }
};

TEST(FormTest, ObserversHearOnlyRealChanges) {
  Form form("frmTest", "Title");
  Control& button = form.AddControl("btnGo", ControlKind::Button, nullptr, {1, 2, 3, 4}, "Go");
  Recorder recorder;
  form.AddObserver(&recorder);
  form.AddObserver(&recorder);  // attached once only

  button.SetCaption("Go");
  button.SetEnabled(true);
  button.SetVisible(true);
  button.SetChecked(false);
  button.SetPosition(0);
  button.SetPlace({1, 2, 3, 4});
  form.SetCaption("Title");
  form.SetModalResult(0);
  EXPECT_TRUE(recorder.seen.empty());

  button.SetCaption("Stop");
  button.SetText("Stop");
  button.SetEnabled(false);
  button.SetChecked(true);
  form.SetEnabled(false);
  form.SetModalResult(1);
  EXPECT_EQ(recorder.seen, (std::vector<std::string>{"btnGo:0", "btnGo:1", "btnGo:3",
                                                     "frmTest:form1", "frmTest:form3"}));

  form.RemoveObserver(&recorder);
  button.SetCaption("Again");
  EXPECT_EQ(recorder.seen.size(), 5u);
}

TEST(FormTest, PositionStaysInTheControlsRange) {
  Form form("frmTest", "");
  Control& bar = form.AddControl("prgBar", ControlKind::ProgressBar, nullptr, {});
  Recorder recorder;
  form.AddObserver(&recorder);
  bar.SetPosition(150);
  EXPECT_EQ(bar.Position(), 100);
  bar.SetPosition(-3);
  EXPECT_EQ(bar.Position(), 0);
  EXPECT_EQ(recorder.seen.size(), 2u);
}

TEST(FormTest, ReachThroughParentsAndForm) {
  Form form("frmTest", "");
  Control& frame = form.AddControl("grpOuter", ControlKind::GroupBox, nullptr, {});
  Control& inner = form.AddControl("grpInner", ControlKind::GroupBox, &frame, {});
  Control& box = form.AddControl("chkBox", ControlKind::CheckBox, &inner, {});
  EXPECT_TRUE(box.Showing());
  EXPECT_TRUE(box.Usable());

  frame.SetVisible(false);
  EXPECT_FALSE(box.Showing());
  EXPECT_FALSE(box.Usable());
  frame.SetVisible(true);

  inner.SetEnabled(false);
  EXPECT_TRUE(box.Showing());
  EXPECT_FALSE(box.Usable());
  inner.SetEnabled(true);

  form.SetEnabled(false);
  EXPECT_FALSE(box.Usable());
  form.SetEnabled(true);

  EXPECT_EQ(form.FindControl("chkBox"), &box);
  EXPECT_EQ(form.FindControl("chkbox"), nullptr);
  EXPECT_EQ(box.Parent(), &inner);
  EXPECT_EQ(&box.Owner(), &form);
}

TEST(FormTest, ControlsTakeTheFormsFontWhenMade) {
  Form form("frmTest", "");
  form.font.pixels = 14;
  Control& label = form.AddControl("lblA", ControlKind::Label, nullptr, {});
  EXPECT_EQ(label.font.pixels, 14);
  EXPECT_EQ(label.font.name, "ＭＳ Ｐゴシック");
}

}  // namespace
}  // namespace korvane
