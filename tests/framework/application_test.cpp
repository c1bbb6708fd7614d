// The modal loop, the close check, pending events with re-entrant clicks, errors escaping
// handlers, and the boxes, driven by a scripted front-end over a small test form.
#include "framework/application.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/errors.h"
#include "framework/form.h"
#include "framework/scripted_front_end.h"

namespace korvane {
namespace {

using testing::LineTranscript;
using testing::ScriptedFrontEnd;

// A form whose handlers log what they do; its btnRun handler is a "run" that processes
// pending events between its steps, as the real runs do.
class LogForm : public Form {
 public:
  explicit LogForm(Application& app)
      : Form("frmLog", "Log"),
        app_(app),
        btnRun(AddControl("btnRun", ControlKind::Button, nullptr, {})),
        btnStop(AddControl("btnStop", ControlKind::Button, nullptr, {})),
        chkOption(AddControl("chkOption", ControlKind::CheckBox, nullptr, {})),
        txtName(AddControl("txtName", ControlKind::Edit, nullptr, {})),
        lblNote(AddControl("lblNote", ControlKind::Label, nullptr, {})),
        grpFrame(AddControl("grpFrame", ControlKind::GroupBox, nullptr, {})),
        btnInner(AddControl("btnInner", ControlKind::Button, &grpFrame, {})) {}

  void FormActivate() override { log.push_back("activate"); }
  bool FormCloseQuery() override {
    log.push_back("closequery");
    if (refuseCloses > 0) {
      --refuseCloses;
      return false;
    }
    return true;
  }
  void FormClose() override { log.push_back("close"); }
  void Click(Control& control) override {
    log.push_back("click " + control.Name() + (control.Checked() ? " checked" : ""));
    if (onClick) onClick(control);
    if (&control == &btnRun) {
      for (int step = 1; step <= runSteps; ++step) {
        log.push_back("step " + std::to_string(step));
        app_.ProcessMessages();
        if (stopRequested) break;
      }
      log.push_back("run end");
    } else if (&control == &btnStop) {
      stopRequested = true;
      SetModalResult(1);
    }
  }
  void HandlerFailed(const KorvaneError& error) override {
    log.push_back(std::string("failed ") + error.what());
  }

  Application& app_;
  Control& btnRun;
  Control& btnStop;
  Control& chkOption;
  Control& txtName;
  Control& lblNote;
  Control& grpFrame;
  Control& btnInner;
  std::vector<std::string> log;
  std::function<void(Control&)> onClick;
  int refuseCloses = 0;
  int runSteps = 3;
  bool stopRequested = false;
};

class ApplicationTest : public ::testing::Test {
 protected:
  ScriptedFrontEnd frontEnd;
  LineTranscript transcript;
  Application app{frontEnd, transcript};
  LogForm form{app};
};

TEST_F(ApplicationTest, ModalResultEndsTheLoopThroughCloseQueryAndClose) {
  frontEnd.Click("btnStop");
  EXPECT_EQ(app.ShowModal(form), 1);
  EXPECT_EQ(form.log,
            (std::vector<std::string>{"activate", "click btnStop", "closequery", "close"}));
  EXPECT_EQ(frontEnd.shownForms, std::vector<std::string>{"frmLog"});
  EXPECT_EQ(frontEnd.hiddenForms, std::vector<std::string>{"frmLog"});
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(app.ModalForm(), nullptr);
}

TEST_F(ApplicationTest, RefusedCloseDropsTheRequestAndTheLoopGoesOn) {
  form.refuseCloses = 1;
  frontEnd.Click("btnStop");
  frontEnd.Click("chkOption");
  frontEnd.Click("btnStop");
  EXPECT_EQ(app.ShowModal(form), 1);
  EXPECT_EQ(form.log, (std::vector<std::string>{"activate", "click btnStop", "closequery",
                                                "click chkOption checked", "click btnStop",
                                                "closequery", "close"}));
}

TEST_F(ApplicationTest, ModalResultIsZeroAgainAfterARefusedClose) {
  form.refuseCloses = 1;
  frontEnd.Click("btnStop");
  int resultAfterRefusal = -1;
  form.onClick = [&](Control& control) {
    if (&control == &form.chkOption) resultAfterRefusal = form.ModalResult();
  };
  frontEnd.Click("chkOption");
  frontEnd.Quit();
  app.ShowModal(form);
  EXPECT_EQ(resultAfterRefusal, 0);
}

TEST_F(ApplicationTest, ClickDuringARunRunsItsHandlerInsideProcessMessages) {
  // The stop click is waiting while the run works: it is handled at the run's first step,
  // and the window closes only after the run has returned.
  frontEnd.Click("btnRun");
  frontEnd.Click("btnStop");
  EXPECT_EQ(app.ShowModal(form), 1);
  EXPECT_EQ(form.log,
            (std::vector<std::string>{"activate", "click btnRun", "step 1", "click btnStop",
                                      "run end", "closequery", "close"}));
}

TEST_F(ApplicationTest, ProcessMessagesHandlesEverythingWaitingThenReturns) {
  frontEnd.Click("btnRun");
  frontEnd.Click("chkOption");
  frontEnd.Click("chkOption");
  frontEnd.Click("btnInner");
  app.ShowModal(form);
  EXPECT_EQ(form.log,
            (std::vector<std::string>{"activate", "click btnRun", "step 1",
                                      "click chkOption checked", "click chkOption",
                                      "click btnInner", "step 2", "step 3", "run end", "close"}));
}

TEST_F(ApplicationTest, WhatTheUserCannotReachIgnoresEvents) {
  struct Case {
    const char* name;
    std::function<void(LogForm&)> arrange;
    const char* control;
  };
  const Case cases[] = {
      {"disabled button", [](LogForm& f) { f.btnStop.SetEnabled(false); }, "btnStop"},
      {"hidden button", [](LogForm& f) { f.btnStop.SetVisible(false); }, "btnStop"},
      {"disabled frame", [](LogForm& f) { f.grpFrame.SetEnabled(false); }, "btnInner"},
      {"hidden frame", [](LogForm& f) { f.grpFrame.SetVisible(false); }, "btnInner"},
      {"unknown control", [](LogForm&) {}, "btnNowhere"},
      {"label", [](LogForm&) {}, "lblNote"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedFrontEnd fe;
    LineTranscript tr;
    Application application(fe, tr);
    LogForm f(application);
    c.arrange(f);
    fe.Click(c.control);
    EXPECT_EQ(application.ShowModal(f), 2);
    EXPECT_EQ(f.log, (std::vector<std::string>{"activate", "close"}));
  }
}

TEST_F(ApplicationTest, TypingAndCheckingChangeOnlyUsableControlsOfTheirKind) {
  frontEnd.Type("txtName", "C:\\APPS\\");
  frontEnd.Check("chkOption", true);
  frontEnd.Type("lblNote", "typed");
  frontEnd.Check("btnRun", true);
  app.ShowModal(form);
  EXPECT_EQ(form.txtName.Text(), "C:\\APPS\\");
  EXPECT_TRUE(form.chkOption.Checked());
  EXPECT_EQ(form.lblNote.Caption(), "");
  EXPECT_FALSE(form.btnRun.Checked());
  // Setting by typing or checking runs no click handler.
  EXPECT_EQ(form.log, (std::vector<std::string>{"activate", "close"}));

  ScriptedFrontEnd fe;
  Application application(fe, transcript);
  LogForm disabled(application);
  disabled.txtName.SetEnabled(false);
  disabled.chkOption.SetEnabled(false);
  fe.Type("txtName", "C:\\X\\");
  fe.Check("chkOption", true);
  application.ShowModal(disabled);
  EXPECT_EQ(disabled.txtName.Text(), "");
  EXPECT_FALSE(disabled.chkOption.Checked());
}

TEST_F(ApplicationTest, EndOfInputReturnsTwoWithTheCloseActionsButNoQuestion) {
  frontEnd.Click("chkOption");
  EXPECT_EQ(app.ShowModal(form), 2);
  EXPECT_TRUE(app.InputEnded());
  EXPECT_EQ(form.log, (std::vector<std::string>{"activate", "click chkOption checked", "close"}));
}

TEST_F(ApplicationTest, EndOfInputInsideARunStopsDispatchingAndEndsAfterTheRun) {
  frontEnd.Click("btnRun");
  frontEnd.Quit();
  frontEnd.Click("btnStop");  // never delivered: the input has ended before it
  EXPECT_EQ(app.ShowModal(form), 2);
  EXPECT_EQ(form.log, (std::vector<std::string>{"activate", "click btnRun", "step 1", "step 2",
                                                "step 3", "run end", "close"}));
}

TEST_F(ApplicationTest, ErrorInAHandlerIsShownReportedAndHandedToTheForm) {
  app.SetTitle("Korvane");
  form.onClick = [](Control& control) {
    if (control.Name() == "btnInner") throw RegistryError("'Path' の設定に失敗しました");
  };
  frontEnd.Click("btnInner");
  frontEnd.Click("btnStop");
  EXPECT_EQ(app.ShowModal(form), 1);
  ASSERT_EQ(frontEnd.boxes.size(), 1u);
  EXPECT_EQ(frontEnd.boxes[0].caption, "Korvane");
  EXPECT_EQ(frontEnd.boxes[0].text, "'Path' の設定に失敗しました");
  EXPECT_EQ(frontEnd.boxes[0].style, 16);
  EXPECT_EQ(transcript.lines,
            (std::vector<std::string>{"ask|Korvane|'Path' の設定に失敗しました|16|1",
                                      "error|'Path' の設定に失敗しました"}));
  EXPECT_EQ(form.log, (std::vector<std::string>{"activate", "click btnInner",
                                                "failed 'Path' の設定に失敗しました",
                                                "click btnStop", "closequery", "close"}));
}

TEST_F(ApplicationTest, ErrorInsideANestedClickEndsOnlyThatHandler) {
  form.onClick = [](Control& control) {
    if (control.Name() == "btnInner") throw AssertionFault("GetVersionEx() Error!");
  };
  frontEnd.Click("btnRun");
  frontEnd.Click("btnInner");
  app.ShowModal(form);
  EXPECT_EQ(form.log, (std::vector<std::string>{"activate", "click btnRun", "step 1",
                                                "click btnInner", "failed GetVersionEx() Error!",
                                                "step 2", "step 3", "run end", "close"}));
}

TEST_F(ApplicationTest, ErrorInActivationIsShownAndTheLoopRuns) {
  class FailingForm : public LogForm {
   public:
    using LogForm::LogForm;
    void FormActivate() override { throw RegistryError("ｷｰ X の作成に失敗しました"); }
  };
  FailingForm failing(app);
  frontEnd.Click("btnStop");
  EXPECT_EQ(app.ShowModal(failing), 1);
  EXPECT_EQ(failing.log.front(), "failed ｷｰ X の作成に失敗しました");
  EXPECT_EQ(transcript.Of("error").size(), 1u);
}

TEST_F(ApplicationTest, BoxesAndTheRestartQuestionAreReported) {
  frontEnd.Answer("上書き確認", 7);
  EXPECT_EQ(app.MessageBox("text\rline", "上書き確認", 36), 7);
  EXPECT_EQ(app.MessageBox("ok?", "警告", 48), 1);
  frontEnd.Answer("restart", 6);
  EXPECT_EQ(app.RestartQuestion(), 6);
  EXPECT_EQ(transcript.lines, (std::vector<std::string>{"ask|上書き確認|text\rline|36|7",
                                                        "ask|警告|ok?|48|1", "restart|6"}));
}

TEST_F(ApplicationTest, ShowModalStartsWithModalResultZeroAndActivatesEachShow) {
  form.SetModalResult(1);
  frontEnd.Click("btnStop");
  EXPECT_EQ(app.ShowModal(form), 1);
  EXPECT_EQ(form.log.front(), "activate");
  EXPECT_EQ(form.log[1], "click btnStop");
}

TEST(FrontEndTextSize, EstimatesHalfThePixelsPerByteAndPixelsPlusThreePerLine) {
  ScriptedFrontEnd frontEnd;
  FontSpec font;
  font.pixels = 16;
  struct Case {
    const char* text;
    int width;
    int height;
  };
  const Case cases[] = {
      {"", 0, 19},
      {"Korvane", 56, 19},
      {"Korvane Setup\rby us", 104, 38},
      {"ab\r\ncdef\r", 32, 57},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const Place size = frontEnd.TextSize(font, c.text);
    EXPECT_EQ(size.width, c.width);
    EXPECT_EQ(size.height, c.height);
  }
}

}  // namespace
}  // namespace korvane
