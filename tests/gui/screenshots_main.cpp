// Takes screenshots of the background and main windows in each state, for people to look at:
// the four start-up states, a copy in progress, a question box and the failure details.
// Usage: korvane_screenshots OUTDIR (under Xvfb the whole screen is taken, boxes included).
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "frontend/qt/form_window.h"
#include "frontend/qt/qt_front_end.h"
#include "gui_driver.h"
#include "support/scenario.h"

using korvane::testing::GuiDriver;
using korvane::testing::Q;
using korvane::testing::Scenario;
using korvane::testing::Sjis;

namespace {

QString outDir;
int taken = 0;

void Shoot(GuiDriver& d, const char* name) {
  QApplication::processEvents();
  QPixmap pixmap;
  if (QGuiApplication::platformName() == QStringLiteral("xcb")) {
    pixmap = QGuiApplication::primaryScreen()->grabWindow(0);
  } else if (QWidget* main = d.frontEnd()->Window("frmMain")) {
    pixmap = main->grab();
  }
  const QString path = outDir + "/" + name + ".png";
  if (pixmap.save(path)) {
    ++taken;
    std::printf("%s\n", path.toUtf8().constData());
  }
}

bool Caption(GuiDriver& d, const char* caption) {
  QWidget* w = d.Widget("frmMain", "btnEvent");
  return w != nullptr && d.WidgetText("frmMain", "btnEvent") == Q(caption);
}

void WriteSample(Scenario& s) {
  s.WriteScript(Sjis(
      "[Title]\nSetup=サンプル ツール\n"
      "[TopMessage]\nMessage1=サンプル ツールをセットアップします．\n"
      "[Readme]\nFile=README.TXT\nTitle=はじめにお読みください\n"
      "[DefaultFolder]\nFolder=(Prg)\\サンプル\n"
      "[CopyFile]\nFile1=(App)\\APP.EXE\nFile2=(App)\\NOFOLDER\\DATA.TXT\n"
      "File3=(Dch)(App)\\DISK2.TXT\n"
      "[ShortCut]\nMake1=(App)\\APP.EXE\nName1=(Dsk)サンプル\n"));
  s.WritePackageFile("README.TXT",
                     Sjis("サンプル ツール\r\n\r\nこのプログラムは表示の確認用です．\r\n"));
  s.WritePackageFile("APP.EXE", "app");
  s.WritePackageFile("DATA.TXT", "data");
  s.WritePackageFile("DISK2.TXT", "disk two");
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setStyle(QStringLiteral("Windows"));
  outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("build/screenshots");
  QDir().mkpath(outDir);

  {  // Setup with readme, setup ready, a question, a copy in progress, failure details.
    Scenario s;
    WriteSample(s);
    GuiDriver d;
    d.answers = {{Q("フォルダ作成"), 6}, {Q("空き容量不足"), 6}, {Q("警告"), 6}, {Q("完了"), 1}};
    d.onModal = [&](QWidget* dialog) {
      if (dialog->windowTitle() != Q("ディスク交換")) return false;
      QTimer::singleShot(50, dialog, [&d, dialog] {
        Shoot(d, "5-question");
        dialog->findChild<QPushButton*>(QStringLiteral("answer1"))->click();
        QTimer::singleShot(0, [&d] { Shoot(d, "6-copying"); });
      });
      return true;
    };
    d.steps = {
        {[&] { return Caption(d, "セットアップ続行(&C)"); },
         [&] { Shoot(d, "2-setup-with-readme"); d.Click("btnEvent"); }},
        {[&] { return Caption(d, "セットアップ開始(&S)"); },
         [&] { Shoot(d, "3-setup"); d.Click("btnEvent"); }},
        {[&] { return Caption(d, "続行(&C)"); },
         [&] { Shoot(d, "7-failure-details"); d.Click("btnEvent"); }},
    };
    d.Run({"--machine", s.MachineDir(), "setup", s.PackageDir(), "--gui", "--log",
           s.Root() + "/log.jsonl"});
  }
  {  // Failed start-up: the record named by the argument does not exist.
    Scenario s;
    s.WriteScript(Sjis("[Title]\nSetup=サンプル\n"));
    GuiDriver d;
    d.answers = {{Q("終了確認"), 6}};
    d.steps = {{[&] { return d.WidgetText("frmMain", "btnEnd") == Q("終了(&E)"); },
                [&] { Shoot(d, "1-failed-start-up"); d.Click("btnEnd"); }}};
    d.Run({"--machine", s.MachineDir(), "unsetup", "C:\\NONE\\UNSETUP.INI", "--gui"});
  }
  {  // Uninstall ready.
    Scenario s;
    s.Run({"init"});
    s.Write("C:\\APP\\UNSETUP.INI",
            Sjis("[Title]\r\nUnSetup=サンプル ツール\r\n[SetupFolder]\r\nFolder=C:\\APP\\\r\n"));
    GuiDriver d;
    d.answers = {{Q("終了確認"), 6}};
    d.steps = {{[&] { return Caption(d, "アンセットアップ開始(&S)"); },
                [&] { Shoot(d, "4-uninstall"); d.Click("btnEnd"); }}};
    d.Run({"--machine", s.MachineDir(), "unsetup", "C:\\APP\\UNSETUP.INI", "--gui"});
  }
  return taken == 7 ? 0 : 1;
}
