// The desktop GUI clicked through on Qt's offscreen platform: a whole installation, the abort
// question, the folder browser, and every control at its place.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QPalette>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "frontend/qt/folder_browser_dialog.h"
#include "frontend/qt/form_window.h"
#include "frontend/qt/qt_front_end.h"
#include "gui_driver.h"
#include "support/scenario.h"

namespace korvane::testing {
namespace {

constexpr int kYes = 6;
constexpr int kNo = 7;
constexpr int kOk = 1;

std::vector<std::string> SetupArgs(Scenario& s, const std::string& log) {
  return {"--machine", s.MachineDir(), "setup", s.PackageDir(), "--gui", "--log", log};
}

bool Shows(GuiDriver& d, const char* control, const char* cp932Caption, bool enabled = true) {
  QWidget* w = d.Widget("frmMain", control);
  return w != nullptr && w->isEnabled() == enabled && d.WidgetText("frmMain", control) == Q(cp932Caption);
}

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApplication(); }
  Scenario s;
};

TEST_F(GuiTest, WholeInstallationClickedThrough) {
  s.WriteScript(Sjis(
      "[Title]\nSetup=サンプル\n"
      "[Extend]\nSetupSpeed=1\n"
      "[Readme]\nFile=README.TXT\nTitle=お読みください\n"
      "[DefaultFolder]\nFolder=(Prg)\\Sample\n"
      "[CopyFile]\nFile1=(App)\\APP.EXE\nFile2=(App)\\NOFOLDER\\DATA.TXT\n"
      "File3=(Dch)(App)\\DISK2.TXT\n"
      "[Relate]\nName1=smp,Sample\nFile1=(App)\\APP.EXE\n"));
  s.WritePackageFile("README.TXT", Sjis("はじめにお読みください。\r\n"));
  s.WritePackageFile("APP.EXE", "app");
  s.WritePackageFile("DATA.TXT", "data");
  s.WritePackageFile("DISK2.TXT", "disk two");

  GuiDriver d;
  d.answers = {{Q("フォルダ作成"), kYes}, {Q("空き容量不足"), kYes}, {Q("ディスク交換"), kOk},
               {Q("関連付けの確認"), kYes}, {Q("警告"), kYes}, {Q("完了"), kOk}};
  bool readmeShown = false, detailsShown = false;
  d.steps = {
      {[&] { return Shows(d, "btnEvent", "セットアップ続行(&C)"); },
       [&] {
         readmeShown = d.Widget("frmMain", "fraReadme")->isVisible() &&
                       d.WidgetText("frmMain", "txtReadme").contains(Q("はじめに"));
         d.Click("btnEvent");
       }},
      {[&] { return Shows(d, "btnEvent", "セットアップ開始(&S)"); }, [&] { d.Click("btnEvent"); }},
      {[&] { return Shows(d, "btnEvent", "続行(&C)"); },
       [&] {
         detailsShown = d.Widget("frmMain", "fraReadme")->isVisible() &&
                        d.WidgetText("frmMain", "txtReadme").contains(QStringLiteral("<File> "));
         d.Click("btnEvent");
       }},
  };
  const int code = d.Run(SetupArgs(s, s.Root() + "/log.jsonl"));
  EXPECT_FALSE(d.TimedOut());
  EXPECT_TRUE(d.Done());
  EXPECT_EQ(code, 0);  // the GUI keeps the program's exit code 0
  EXPECT_TRUE(readmeShown);
  EXPECT_TRUE(detailsShown);
  EXPECT_EQ(d.asked, (std::vector<QString>{Q("フォルダ作成"), Q("ディスク交換"),
                                           Q("関連付けの確認"), Q("警告"), Q("完了")}));
  EXPECT_TRUE(s.Exists("C:\\Program Files\\Sample\\APP.EXE"));
  EXPECT_TRUE(s.Exists("C:\\Program Files\\Sample\\DISK2.TXT"));
  EXPECT_TRUE(s.Exists("C:\\Program Files\\Sample\\UNSETUP.INI"));
}

TEST_F(GuiTest, AbortAnsweredNoThenYes) {
  s.WriteScript(Sjis(
      "[DefaultFolder]\nFolder=C:\\APP\n"
      "[CopyFile]\nFile1=(Dch)(App)\\A.TXT\nFile2=(Dch)(App)\\B.TXT\nFile3=(Dch)(App)\\C.TXT\n"));
  for (const char* f : {"A.TXT", "B.TXT", "C.TXT"}) s.WritePackageFile(f, f);
  GuiDriver d;
  d.answers = {{Q("フォルダ作成"), kYes}, {Q("空き容量不足"), kYes}};
  int disks = 0;
  d.onModal = [&](QWidget* dialog) {
    const QString caption = dialog->windowTitle();
    if (caption == Q("ディスク交換")) {
      d.asked.push_back(caption);
      ++disks;
      QTimer::singleShot(0, dialog, [&d, dialog] {
        dialog->findChild<QPushButton*>(QStringLiteral("answer1"))->click();
        // The abort button is pressed while the run goes on after the box.
        QTimer::singleShot(0, [&d] { d.Click("btnEvent"); });
      });
      return true;
    }
    if (caption == Q("中断の確認")) {
      d.asked.push_back(caption);
      const int answer = disks == 1 ? kNo : kYes;
      QTimer::singleShot(0, dialog, [dialog, answer] {
        dialog->findChild<QPushButton*>(QString("answer%1").arg(answer))->click();
      });
      return true;
    }
    return false;
  };
  d.steps = {{[&] { return Shows(d, "btnEvent", "セットアップ開始(&S)"); },
              [&] { d.Click("btnEvent"); }}};
  d.Run(SetupArgs(s, s.Root() + "/log.jsonl"));
  EXPECT_FALSE(d.TimedOut());
  EXPECT_EQ(d.asked, (std::vector<QString>{Q("フォルダ作成"), Q("ディスク交換"), Q("中断の確認"),
                                           Q("ディスク交換"), Q("中断の確認")}));
  EXPECT_TRUE(s.Exists("C:\\APP\\A.TXT"));
  EXPECT_FALSE(s.Exists("C:\\APP\\C.TXT"));
  EXPECT_FALSE(s.Exists("C:\\APP\\UNSETUP.INI"));  // an aborted run writes no record
}

TEST_F(GuiTest, FolderBrowserChoosesAFolder) {
  s.WriteScript(Sjis("[DefaultFolder]\nFolder=C:\\APP\n"));
  GuiDriver d;
  d.answers = {{Q("終了確認"), kYes}};
  QString chosenFolder;
  d.onModal = [&](QWidget* dialog) {
    auto* browser = qobject_cast<qt::FolderBrowserDialog*>(dialog);
    if (browser == nullptr) return false;
    QTimer::singleShot(0, browser, [browser] {
      QTreeWidget* tree = browser->tree();
      QTreeWidgetItem* drive = tree->topLevelItem(0);
      drive->setExpanded(true);
      for (int i = 0; i < drive->childCount(); ++i) {
        if (drive->child(i)->text(0) == QStringLiteral("WINDOWS")) tree->setCurrentItem(drive->child(i));
      }
      browser->accept();
    });
    return true;
  };
  d.steps = {
      {[&] { return Shows(d, "btnRefer", "参照(&R)"); }, [&] { d.Click("btnRefer"); }},
      {[&] { return d.WidgetText("frmMain", "txtFolder") != QStringLiteral("C:\\APP\\"); },
       [&] {
         chosenFolder = d.WidgetText("frmMain", "txtFolder");
         d.Click("btnEnd");
       }},
  };
  d.Run(SetupArgs(s, s.Root() + "/log.jsonl"));
  EXPECT_FALSE(d.TimedOut());
  EXPECT_EQ(chosenFolder, QStringLiteral("C:\\WINDOWS\\"));
}

struct ExpectedPlace {
  const char* name;
  int left, top, width, height;
};

TEST_F(GuiTest, EveryControlAtItsPlace) {
  s.WriteScript(Sjis("[DefaultFolder]\nFolder=C:\\APP\n"));
  const ExpectedPlace places[] = {
      {"grpMessage", 8, 8, 473, 113},       {"lblMessage", 8, 16, 457, 89},
      {"fraStatus", 8, 64, 457, 41},        {"prgStatus", 8, 16, 353, 17},
      {"lblStatus", 368, 16, 80, 17},       {"grpSetupFolder", 8, 128, 473, 49},
      {"txtFolder", 8, 16, 401, 24},        {"btnRefer", 416, 16, 49, 25},
      {"grpOption", 8, 184, 473, 89},       {"chkOverWrite", 8, 16, 457, 17},
      {"fraShortCut", 8, 40, 457, 41},      {"chkSCutDesktop", 8, 16, 105, 17},
      {"chkSCutStartMenu", 120, 16, 105, 17}, {"chkSCutStartUp", 232, 16, 105, 17},
      {"chkSCutSendTo", 344, 16, 105, 17},  {"fraReadme", 8, 8, 473, 265},
      {"txtReadme", 8, 16, 457, 241},       {"btnEvent", 64, 280, 161, 25},
      {"btnEnd", 272, 280, 153, 25},
  };
  GuiDriver d;
  d.answers = {{Q("終了確認"), kYes}};
  bool checked = false;
  d.steps = {{[&] { return Shows(d, "btnEvent", "セットアップ開始(&S)"); },
              [&] {
                checked = true;
                for (const auto& p : places) {
                  SCOPED_TRACE(p.name);
                  QWidget* w = d.Widget("frmMain", p.name);
                  ASSERT_NE(w, nullptr);
                  EXPECT_EQ(w->geometry(), QRect(p.left, p.top, p.width, p.height));
                }
                QWidget* main = d.frontEnd()->Window("frmMain");
                EXPECT_EQ(main->size(), QSize(489, 313));
                EXPECT_FALSE(main->windowFlags() & Qt::WindowCloseButtonHint);
                EXPECT_FALSE(main->windowFlags() & Qt::WindowMinimizeButtonHint);
                QWidget* back = d.frontEnd()->Window("frmBack");
                EXPECT_EQ(back->palette().color(QPalette::Window), QColor(0, 128, 128));
                EXPECT_EQ(d.Widget("frmBack", "lblBackTitle2")->pos(), QPoint(18, 18));
                EXPECT_EQ(d.Widget("frmBack", "lblBackTitle1")->pos(), QPoint(16, 16));
                d.Click("btnEnd");
              }}};
  d.Run(SetupArgs(s, s.Root() + "/log.jsonl"));
  EXPECT_FALSE(d.TimedOut());
  EXPECT_TRUE(checked);
}

}  // namespace
}  // namespace korvane::testing
