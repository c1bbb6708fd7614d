// korvane-gui: the korvane command line with the Qt front-end for runs that choose the GUI.
// Kept apart from korvane so that console and unattended runs never load Qt.
#include <QApplication>
#include <memory>

#include "app/commands.h"
#include "frontend/qt/qt_front_end.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setStyle(QStringLiteral("Windows"));
  return korvane::KorvaneMain(argc, argv, [](const korvane::FrontEndRequest&) {
    return std::unique_ptr<korvane::FrontEnd>(std::make_unique<korvane::qt::QtFrontEnd>());
  });
}
