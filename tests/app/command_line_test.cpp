// Parsing of the korvane command line: which command, where its arguments land, the run
// options with their conversions, and the lines that are refused.
#include "app/command_line.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

ParsedCommand Parse(const std::vector<std::string>& args) {
  ParsedCommand command;
  std::string error;
  EXPECT_TRUE(ParseCommandLine(args, command, error)) << error;
  return command;
}

TEST(CommandLineTest, CommandsAndTheirArguments) {
  auto setup = Parse({"--machine", "/m", "setup", "/pkg", "arg one"});
  EXPECT_EQ(setup.kind, CommandKind::Setup);
  EXPECT_EQ(setup.machine, "/m");
  EXPECT_EQ(setup.packageDir, "/pkg");
  EXPECT_EQ(setup.argument, "arg one");
  EXPECT_TRUE(setup.hasArgument);
  EXPECT_EQ(setup.packageDrive, 'Q');

  auto bare = Parse({"setup"});
  EXPECT_EQ(bare.packageDir, ".");
  EXPECT_FALSE(bare.hasArgument);

  // --machine may follow the command too.
  EXPECT_EQ(Parse({"programs", "--machine", "/m2"}).machine, "/m2");
  EXPECT_EQ(Parse({"unsetup", "C:\\APP\\UNSETUP.INI"}).record, "C:\\APP\\UNSETUP.INI");
  EXPECT_EQ(Parse({"remove", "Viewer"}).name, "Viewer");
  EXPECT_EQ(Parse({"reg", "export"}).kind, CommandKind::RegExport);
  EXPECT_EQ(Parse({"reg", "export", "HKEY_CLASSES_ROOT\\.txt"}).key, "HKEY_CLASSES_ROOT\\.txt");
  EXPECT_EQ(Parse({"reg", "import", "x.reg"}).file, "x.reg");
  EXPECT_EQ(Parse({"path", "c:\\windows"}).windowsPath, "c:\\windows");
  EXPECT_EQ(Parse({"init"}).kind, CommandKind::Init);
  EXPECT_EQ(Parse({"--help"}).kind, CommandKind::Help);
  EXPECT_EQ(Parse({"setup", "--help"}).kind, CommandKind::Help);
  EXPECT_EQ(Parse({"--version"}).kind, CommandKind::Version);
}

TEST(CommandLineTest, TextsReachTheProgramInCodePage932) {
  // UTF-8 on the command line: "説明.TXT" and the caption 上書き確認.
  auto command = Parse({"setup", "/p", "\xE8\xAA\xAC\xE6\x98\x8E.TXT", "--answer",
                        "\xE4\xB8\x8A\xE6\x9B\xB8\xE3\x81\x8D\xE7\xA2\xBA\xE8\xAA\x8D=yes", "--dir",
                        "C:\\\xE9\x81\x93\xE5\x85\xB7"});
  EXPECT_EQ(command.argument, "説明.TXT");
  EXPECT_EQ(command.run.answers, (std::map<std::string, int>{{"上書き確認", 6}}));
  EXPECT_EQ(command.run.dir, std::optional<std::string>("C:\\道具"));
}

TEST(CommandLineTest, RunOptions) {
  auto command = Parse({"setup", "/p", "--unattended", "--overwrite", "no", "--shortcuts",
                        "desktop,sendto", "--answer", "A=OK", "--answer", "Restart=Yes", "--log",
                        "-", "--pace", "--package-drive", "r:", "--answers", "f.ini"});
  EXPECT_EQ(command.run.frontEnd, FrontEndChoice::Unattended);
  EXPECT_EQ(command.run.overwrite, std::optional<bool>(false));
  EXPECT_EQ(command.run.shortcuts, (std::optional<std::vector<bool>>({true, false, false, true})));
  EXPECT_EQ(command.run.answers, (std::map<std::string, int>{{"A", 1}, {"restart", 6}}));
  EXPECT_EQ(command.run.logFile, "-");
  EXPECT_TRUE(command.run.pace);
  EXPECT_EQ(command.packageDrive, 'R');
  EXPECT_EQ(command.answersFile, "f.ini");
  EXPECT_FALSE(command.run.dir.has_value());

  EXPECT_EQ(Parse({"unsetup", "r", "--shortcuts", "all"}).run.shortcuts,
            (std::optional<std::vector<bool>>({true, true, true, true})));
  EXPECT_EQ(Parse({"remove", "n", "--shortcuts", "none"}).run.shortcuts,
            (std::optional<std::vector<bool>>({false, false, false, false})));
  EXPECT_EQ(Parse({"setup", "--gui"}).run.frontEnd, FrontEndChoice::Gui);
  EXPECT_EQ(Parse({"setup", "--console"}).run.frontEnd, FrontEndChoice::Console);
  EXPECT_EQ(Parse({"setup"}).run.frontEnd, FrontEndChoice::Automatic);
}

TEST(CommandLineTest, WrongCommandLinesAreRefused) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"frobnicate"},
      {"unsetup"},
      {"remove"},
      {"path"},
      {"reg"},
      {"reg", "import"},
      {"programs", "extra"},
      {"setup", "p", "a", "b"},
      {"setup", "--overwrite", "maybe"},
      {"setup", "--shortcuts", "desktop,taskbar"},
      {"setup", "--answer", "上書き確認"},
      {"setup", "--answer", "X=Perhaps"},
      {"setup", "--gui", "--unattended"},
      {"setup", "--package-drive", "QQ"},
      {"setup", "--package-drive", "C:"},
      {"setup", "--log", ""},
      {"programs", "--unattended"},
      {"unsetup", "r", "--package-drive", "R:"},
      {"--no-such-option"},
  };
  for (const auto& args : cases) {
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    SCOPED_TRACE(joined);
    ParsedCommand command;
    std::string error;
    EXPECT_FALSE(ParseCommandLine(args, command, error));
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace korvane
