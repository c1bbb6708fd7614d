// The unattended front-end over a small stand-in of the main window driven by the real
// Application: the presses a user would make, scripted actions firing when their trigger
// comes to match, Ctrl-C pressing the abort button, and an end to the input when the window
// will not go on (never a hang).
#include "frontend/console/unattended_front_end.h"

#include <gtest/gtest.h>

#include <sstream>

#include "framework/application.h"
#include "framework/form.h"
#include "framework/message_box.h"
#include "startup/main_window.h"

namespace korvane {
namespace {

// The main window's controls and captions with a run of `steps` steps that shows one
// message per step, processes pending events after each, and stops on an abort.
class RunForm : public Form {
 public:
  explicit RunForm(Application& app)
      : Form("frmMain", "test"),
        app_(app),
        lblMessage(AddControl("lblMessage", ControlKind::Label, nullptr, {})),
        btnEvent(AddControl("btnEvent", ControlKind::Button, nullptr, {}, kCaptionSetupStart)),
        btnEnd(AddControl("btnEnd", ControlKind::Button, nullptr, {}, kCaptionSetupEnd)),
        txtFolder(AddControl("txtFolder", ControlKind::Edit, nullptr, {}, "C:\\APP\\")) {}

  void Click(Control& control) override {
    log.push_back("click " + control.Name() + " " + control.Caption());
    if (&control == &btnEnd) {
      SetModalResult(1);
      return;
    }
    if (btnEvent.Caption() == kCaptionAbort) {
      if (app_.MessageBox("abort?", "中断の確認", kStyleQuestion) == kIdYes) aborted = true;
      return;
    }
    btnEvent.SetCaption(kCaptionAbort);
    btnEnd.SetEnabled(false);
    log.push_back("folder " + txtFolder.Text());
    for (int step = 1; step <= steps && !aborted; ++step) {
      lblMessage.SetCaption(messages.empty() ? "step " + std::to_string(step)
                                             : messages[(step - 1) % messages.size()]);
      app_.ProcessMessages();
      log.push_back("step " + std::to_string(step));
    }
    SetModalResult(1);
  }
  bool FormCloseQuery() override { return !refuseClose; }

  Application& app_;
  Control& lblMessage;
  Control& btnEvent;
  Control& btnEnd;
  Control& txtFolder;
  std::vector<std::string> log;
  std::vector<std::string> messages;
  int steps = 3;
  bool aborted = false;
  bool refuseClose = false;
};

struct Fixture {
  explicit Fixture(UnattendedSettings settings) : frontEnd(std::move(settings), warnings) {}
  std::ostringstream warnings;
  UnattendedFrontEnd frontEnd;
  Transcript transcript;
  Application app{frontEnd, transcript};
  RunForm form{app};
};

TEST(UnattendedFrontEndTest, PressesStartAfterPuttingTheFolderIn) {
  UnattendedSettings settings;
  settings.dir = "D:\\TOOLS\\";
  Fixture f(settings);
  EXPECT_EQ(f.app.ShowModal(f.form), 1);
  EXPECT_EQ(f.form.log,
            (std::vector<std::string>{"click btnEvent " + std::string(kCaptionSetupStart),
                                      "folder D:\\TOOLS\\", "step 1", "step 2", "step 3"}));
  EXPECT_TRUE(f.warnings.str().empty());
}

TEST(UnattendedFrontEndTest, OptionsOfUnusableControlsWarnOnce) {
  UnattendedSettings settings;
  settings.dir = "D:\\TOOLS\\";
  settings.overwrite = false;
  Fixture f(settings);
  f.form.txtFolder.SetEnabled(false);
  f.app.ShowModal(f.form);
  EXPECT_EQ(f.form.log[1], "folder C:\\APP\\");
  // One line for the folder, one for the missing overwrite box.
  const std::string warnings = f.warnings.str();
  EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'), 2) << warnings;
  EXPECT_NE(warnings.find("--dir"), std::string::npos);
  EXPECT_NE(warnings.find("C:\\APP\\"), std::string::npos);
}

TEST(UnattendedFrontEndTest, CtrlCDuringTheRunPressesTheAbortButton) {
  std::atomic<bool> interrupted{false};
  UnattendedSettings settings;
  settings.interrupted = &interrupted;
  Fixture f(settings);
  f.form.steps = 5;
  // Ctrl-C arrives while step 2 is shown.
  struct Raise : FormObserver {
    std::atomic<bool>& flag;
    explicit Raise(std::atomic<bool>& f) : flag(f) {}
    void ControlChanged(const Control& c, ControlProperty) override {
      if (c.Name() == "lblMessage" && c.Caption() == "step 2") flag = true;
    }
  } raise(interrupted);
  f.form.AddObserver(&raise);
  f.app.ShowModal(f.form);
  EXPECT_TRUE(f.form.aborted);
  EXPECT_EQ(f.form.log.back(), "step 2");
  EXPECT_FALSE(interrupted.load());
}

TEST(UnattendedFrontEndTest, ActionsFireWhenTheirTriggerComesToMatch) {
  UnattendedSettings settings;
  ScriptedAction edit;  // before the start, while the folder is usable
  edit.whenButtonCaption = kCaptionSetupStart;
  edit.setText = "txtFolder";
  edit.text = "E:\\";
  ScriptedAction abort;
  abort.whenMessageContains = "copy B";
  abort.click = "btnEvent";
  abort.times = 2;
  settings.actions = {edit, abort};
  settings.answers = {{"中断の確認", kIdNo}};
  Fixture f(settings);
  f.form.steps = 6;
  f.form.messages = {"copy A", "copy B", "copy B", "copy A", "copy B", "copy A"};
  int asks = 0;
  f.app.ShowModal(f.form);
  EXPECT_EQ(f.form.log[1], "folder E:\\");
  // "copy B" shown at steps 2-3 (one match) and 5: two clicks on 中断(&A), both answered No.
  for (const auto& line : f.form.log)
    asks += line == "click btnEvent " + std::string(kCaptionAbort);
  EXPECT_EQ(asks, 2);
  EXPECT_FALSE(f.form.aborted);
  EXPECT_EQ(f.form.log.back(), "step 6");
}

TEST(UnattendedFrontEndTest, AWindowThatWillNotEndEndsTheInput) {
  UnattendedSettings settings;
  Fixture f(settings);
  f.form.btnEvent.SetEnabled(false);  // a failed start-up: only the end button
  f.form.refuseClose = true;
  EXPECT_EQ(f.app.ShowModal(f.form), 2);
  int presses = 0;
  for (const auto& line : f.form.log) presses += line.rfind("click btnEnd", 0) == 0;
  EXPECT_GE(presses, 1);
  EXPECT_LE(presses, 3);
}

TEST(UnattendedFrontEndTest, NothingToDoIsQuitAndPollingNeverBlocks) {
  UnattendedSettings settings;
  Fixture f(settings);
  f.frontEnd.ShowForm(f.form);
  f.form.btnEvent.SetEnabled(false);
  f.form.btnEnd.SetEnabled(false);
  EXPECT_FALSE(f.frontEnd.PollEvent().has_value());
  EXPECT_EQ(f.frontEnd.WaitEvent().kind, UiEvent::Kind::Quit);
}

}  // namespace
}  // namespace korvane
