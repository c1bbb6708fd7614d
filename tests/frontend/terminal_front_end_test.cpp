// The terminal front-end driven through `korvane setup --console` with typed lines: the menu,
// editing the folder, questions at the prompt, and the end of the input.
#include "frontend/console/terminal_front_end.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/commands.h"
#include "support/scenario.h"

namespace korvane {
namespace {

using testing::Scenario;

struct TerminalRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

TerminalRun RunTyped(Scenario& scenario, const std::string& typed,
                     std::vector<std::string> extra = {}) {
  std::vector<std::string> args{"--machine", scenario.MachineDir(), "setup", scenario.PackageDir()};
  args.insert(args.end(), extra.begin(), extra.end());
  std::ostringstream out;
  std::ostringstream err;
  std::istringstream in(typed);
  CommandIo io(out, err, in);
  io.inputIsTerminal = true;
  RunHooks hooks = Scenario::DefaultHooks();
  TerminalRun run;
  run.exitCode = RunKorvane(args, io, &hooks);
  run.out = out.str();
  run.err = err.str();
  return run;
}

void WritePackage(Scenario& scenario) {
  scenario.WriteScript(
      "[DefaultFolder]\nFolder=(Prg)\\Viewer\n[CopyFile]\nFile1=(App)\\VIEW.EXE\n"
      "[ShortCut]\nMake1=(App)\\VIEW.EXE\nName1=(Dsk)Viewer\n");
  scenario.WritePackageFile("VIEW.EXE", "MZ");
}

TEST(TerminalFrontEndTest, AUserEditsTheFolderStartsAndAnswers) {
  Scenario scenario;
  WritePackage(scenario);
  // Folder, uncheck the desktop shortcut, start, Yes to creating the folder, OK to the end.
  TerminalRun run = RunTyped(scenario, "f\nC:\\Tools\\View\\\n1\n\ny\n\n");
  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  // The user sees UTF-8 texts, the buttons of the questions and the menu.
  EXPECT_NE(run.out.find("\xE3\x82\xBB\xE3\x83\x83\xE3\x83\x88"), std::string::npos);  // セット
  EXPECT_NE(run.out.find("[Y]es/[N]o"), std::string::npos);
  EXPECT_NE(run.out.find("[f] edit the folder"), std::string::npos);
  EXPECT_NE(run.out.find("[1] [x]"), std::string::npos);
  EXPECT_NE(run.out.find("[1] [ ]"), std::string::npos);
  EXPECT_TRUE(scenario.Exists("C:\\Tools\\View\\VIEW.EXE"));
  EXPECT_FALSE(scenario.Exists("C:\\WINDOWS\\デスクトップ\\Viewer.lnk"));
}

TEST(TerminalFrontEndTest, TheFolderBrowserWalksTheMachinesDrives) {
  Scenario scenario;
  WritePackage(scenario);
  // Browse: open C:\, open WINDOWS, up again, choose C:\; then end and confirm.
  TerminalRun run = RunTyped(scenario, "b\n1\n2\n..\n.\nq\ny\n");
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_NE(run.out.find("[2] WINDOWS"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("[2] SYSTEM"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find(": C:\\\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("[Y]es/[N]o"), std::string::npos);
}

TEST(TerminalFrontEndTest, NoToTheFolderQuestionStopsTheRun) {
  Scenario scenario;
  WritePackage(scenario);
  TerminalRun run = RunTyped(scenario, "\nn\n\n");
  EXPECT_EQ(run.exitCode, 2) << run.out;
  EXPECT_FALSE(scenario.Exists("C:\\Program Files\\Viewer\\VIEW.EXE"));
}

TEST(TerminalFrontEndTest, TheEndOfTheInputEndsTheProgramWithoutARun) {
  Scenario scenario;
  WritePackage(scenario);
  TerminalRun run = RunTyped(scenario, "", {"--log", "-"});
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_NE(run.out.find("{\"event\":\"end\",\"exit\":0}"), std::string::npos);
  EXPECT_FALSE(scenario.Exists("C:\\Program Files\\Viewer\\VIEW.EXE"));
}

}  // namespace
}  // namespace korvane
