// The background window: its version caption from the FileVersion text, its look, the layout
// numbers for a window size, and the first resize that lays it out only once.
#include "startup/background_window.h"

#include <gtest/gtest.h>

#include <string>

#include "startup/program.h"
#include "startup/startup_fixture.h"

namespace korvane {
namespace {

using testing::MachineTest;

TEST(VersionCaptionTest, BuildsTheCaptionFromTheFileVersion) {
  struct Case {
    const char* version;
    const char* caption;
  };
  const Case cases[] = {
      {"1.7.0.1695", "Korvane Version1.70(Build:1695)"},
      {"1.0", "Korvane Version1.(Build:0)"},
      {"", "Korvane Version.(Build:)"},
      {"2", "Korvane Version.(Build:2)"},
      {"1.2.3", "Korvane Version1.2(Build:3)"},
      {"10.20.30.40.50", "Korvane Version10.2030(Build:40.50)"},
      {"..", "Korvane Version.(Build:)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    EXPECT_EQ(VersionCaption(c.version), c.caption);
  }
}

TEST(CreditTextTest, TwoLinesNamingTheProduct) {
  const std::string credit = kCreditText;
  const size_t cr = credit.find('\r');
  ASSERT_NE(cr, std::string::npos);
  EXPECT_EQ(credit.find('\r', cr + 1), std::string::npos);
  EXPECT_EQ(credit.rfind("Korvane ", 0), 0u);
  EXPECT_GT(credit.size(), cr + 1);
}

using BackgroundWindowTest = MachineTest;

TEST_F(BackgroundWindowTest, LookAndFirstState) {
  WriteScript("");
  const TfrmBack& b = MakeProgram().frmBack;
  EXPECT_EQ(b.Caption(), "Korvane");
  EXPECT_FALSE(b.Enabled());
  EXPECT_FALSE(b.Visible());
  EXPECT_TRUE(b.maximized && b.fixedBorder && !b.systemMenu);
  EXPECT_EQ(b.color, 0x008080u);
  EXPECT_EQ(b.lblBackTitle2.GetPlace(), (Place{79, 16, 58, 32}));
  EXPECT_EQ(b.lblBackTitle1.GetPlace(), (Place{16, 16, 57, 32}));
  for (const Control* title : {&b.lblBackTitle1, &b.lblBackTitle2}) {
    EXPECT_EQ(title->font.pixels, 32);
    EXPECT_TRUE(title->font.italic && title->transparent && title->Visible());
    EXPECT_EQ(title->Caption(), "");
  }
  for (const Control* credit : {&b.lblPrgTitle1, &b.lblPrgTitle2}) {
    EXPECT_EQ(credit->font.name, "Times New Roman");
    EXPECT_EQ(credit->font.pixels, 16);
    EXPECT_TRUE(credit->font.italic && credit->autoSize && !credit->Visible());
    EXPECT_EQ(credit->Caption(), "BackTitle");
  }
  EXPECT_EQ(b.lblBackTitle1.font.color, 0xFFFFFFu);
  EXPECT_EQ(b.lblPrgTitle1.font.color, 0xFFFFFFu);
  EXPECT_EQ(b.lblBackTitle2.font.color, 0x0000FFu);
  EXPECT_EQ(b.lblPrgTitle2.font.color, 0x0000FFu);
}

TEST_F(BackgroundWindowTest, LayoutNumbers) {
  WriteScript("");
  TfrmBack& b = MakeProgram().frmBack;
  b.Layout(1024, 768);
  const Place credit = frontEnd.TextSize(b.lblPrgTitle1.font, kCreditText);
  EXPECT_EQ(b.lblBackTitle1.GetPlace(), (Place{16, 16, 1000, 32}));
  EXPECT_EQ(b.lblBackTitle2.GetPlace(), (Place{18, 18, 1000, 32}));
  const Place title1 = b.lblPrgTitle1.GetPlace();
  EXPECT_EQ(title1.width, credit.width + 8);
  EXPECT_EQ(title1.height, credit.height);
  EXPECT_EQ(title1.left + title1.width, 1024 - 24);
  EXPECT_EQ(title1.top + title1.height, 768 - 48);
  EXPECT_FALSE(b.lblPrgTitle1.autoSize);
  EXPECT_TRUE(b.lblPrgTitle2.autoSize);
  EXPECT_EQ(b.lblPrgTitle2.GetPlace(),
            (Place{title1.left + 2, title1.top + 2, credit.width, credit.height}));
  EXPECT_EQ(b.lblPrgTitle1.Caption(), kCreditText);
  EXPECT_EQ(b.lblPrgTitle2.Caption(), kCreditText);
  EXPECT_TRUE(b.lblPrgTitle1.Visible() && b.lblPrgTitle2.Visible());
}

TEST_F(BackgroundWindowTest, OnlyTheFirstResizeLaysOutAndRunsTheMainWindow) {
  WriteScript("");
  Program& p = MakeProgram();
  frontEnd.Click("btnEnd");
  ASSERT_TRUE(p.Run());
  const Place credit = p.frmBack.lblPrgTitle1.GetPlace();

  p.frmBack.SetPlace({0, 0, 640, 480});
  p.frmBack.FormResize();
  EXPECT_EQ(p.frmBack.lblPrgTitle1.GetPlace(), credit);
  EXPECT_EQ(p.frmBack.lblBackTitle1.GetPlace().width, 1000);
  EXPECT_EQ(frontEnd.shownForms, (std::vector<std::string>{"frmBack", "frmMain"}));
}

TEST_F(BackgroundWindowTest, WithoutVersionDataTheCaptionStays) {
  WriteScript("");
  options.programVersion = "";
  Program& p = MakeProgram();
  frontEnd.Click("btnEnd");
  ASSERT_TRUE(p.Run());
  EXPECT_EQ(p.frmBack.Caption(), "Korvane");
}

}  // namespace
}  // namespace korvane
