// The machine folder a command uses, and host paths inside the machine's drives as Windows
// paths.
#include "app/machine_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/scenario.h"

namespace korvane {
namespace {

TEST(MachinePathsTest, TheMachineFolderComesFromTheOptionThenTheEnvironment) {
  std::ostringstream out, err;
  std::istringstream in;
  CommandIo io(out, err, in);
  io.environmentMachine = "/env/machine";
  io.dataHome = "/home/u/.local/share";
  EXPECT_EQ(ChooseMachineDir("/opt/m", io), "/opt/m");
  EXPECT_EQ(ChooseMachineDir("", io), "/env/machine");
  io.environmentMachine.clear();
  EXPECT_EQ(ChooseMachineDir("", io), "/home/u/.local/share/korvane/machine");
  io.dataHome.clear();
  EXPECT_EQ(ChooseMachineDir("", io), "");
  EXPECT_EQ(ChooseMachineDir("rel/m", io),
            (std::filesystem::current_path() / "rel/m").lexically_normal().string());
}

TEST(MachinePathsTest, HostPathsInsideADriveBecomeWindowsPaths) {
  testing::Scenario scenario;
  ASSERT_EQ(scenario.Run({"init"}).exitCode, 0);
  const std::string c = scenario.MachineDir() + "/drive_c";
  std::filesystem::create_directories(c + "/APP");
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {c + "/APP/UNSETUP.INI", "C:\\APP\\UNSETUP.INI"},
      {c + "/APP/../APP/./UNSETUP.INI", "C:\\APP\\UNSETUP.INI"},
      {c + "/APP/\xE8\xA1\xA8.INI", "C:\\APP\\表.INI"},  // UTF-8 host name
      {c, "C:\\"},
      {scenario.Root() + "/pkg/UNSETUP.INI", std::nullopt},
      {c + "_other/UNSETUP.INI", std::nullopt},  // a sibling whose name starts alike
  };
  for (const auto& [host, expected] : cases) {
    SCOPED_TRACE(host);
    std::string windows;
    bool ok = HostToWindowsPath(scenario.MachineDir(), host, windows);
    EXPECT_EQ(ok ? std::optional<std::string>(windows) : std::nullopt, expected);
  }
}

TEST(MachinePathsTest, UpperCaseLeavesDoubleByteCharactersAlone) {
  // ア is 83 41 and ヂ is 83 61: folding the second byte would make them equal.
  EXPECT_EQ(UpperSjis("abcア"), "ABCア");
  EXPECT_EQ(UpperSjis("ヂx"), "ヂX");
  EXPECT_NE(UpperSjis("ア"), UpperSjis("ヂ"));
}

}  // namespace
}  // namespace korvane
