// The shortcut phase through whole setup runs: the place tokens and "Default", subfolders of a
// link name, working folders, the shortcut options, the undo list, and the link files as an
// independent reader (lnkinfo) sees them.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "support/scenario.h"

namespace korvane::testing {
namespace {

// The special folders of a new machine.
const std::string kDesktop = "C:\\WINDOWS\\デスクトップ";
const std::string kPrograms = "C:\\WINDOWS\\ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ";
const std::string kStartup = "C:\\WINDOWS\\ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ\\ｽﾀｰﾄｱｯﾌﾟ";
const std::string kSendTo = "C:\\WINDOWS\\SendTo";
const std::string kRecord = "C:\\TOOLS\\VIEWER\\UNSETUP.INI";
const std::string kStepText = "ショートカットを作成しています．．．\rCreateTarget -> ";

std::string Record(Scenario& scenario, int n) {
  return scenario.Profile(kRecord, "DeleteShortCut", "File" + std::to_string(n));
}

// lnkinfo's report of a link file (UTF-8; the paths compared below are ASCII).
std::string LnkInfo(const std::string& hostPath) {
  const std::string command = "LC_ALL=C.UTF-8 lnkinfo -c windows-932 '" + hostPath + "' 2>&1";
  std::string out;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return out;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0) out.append(buffer.data(), n);
  return out;
}

// The value of one "Label : value" line of lnkinfo's report, or "<missing>".
std::string LnkField(const std::string& info, const std::string& label) {
  size_t at = info.find("\t" + label + "\t");
  if (at == std::string::npos) return "<missing>";
  size_t colon = info.find(": ", at);
  size_t end = info.find('\n', at);
  if (colon == std::string::npos || colon > end) return "<missing>";
  return info.substr(colon + 2, end - colon - 2);
}

TEST(ShortcutPhase, PlaceTokensDefaultNameAndUndoList) {
  Scenario scenario;
  scenario.WriteScript(
      "[Title]\nSetup=Viewer\n[Extend]\nSetupSpeed=123\n[ShortCut]\n"
      "Make1=(App)\\VIEW.EXE\nName1=(Dsk)Viewer\n"
      "Make2=(App)\\VIEW.EXE\nName2=(Sta)Viewer\n"
      "Make3=(App)\\VIEW.EXE\nName3=(Sup)Viewer\n"
      "Make4=(App)\\VIEW.EXE\nName4=(Sen)Viewer\n"
      "Make5=(App)\\PROG.EXE\n"                       // no Name: "Default"
      "Make6=(App)\\VIEW.EXE\nName6=(Xyz)Other\n"     // unknown token: programs folder
      "Make7=(App)\\VIEW.EXE\nName7=Plain\n"          // no token: "(Sta)" in front
      "Make8=(App)\\VIEW.EXE\nName8=(Sta)viewer\n");  // the same file again, other case
  RunResult result = scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\"});
  ASSERT_EQ(result.exitCode, 0) << result.err;

  const std::vector<std::string> expected = {
      kDesktop + "\\Viewer.lnk", kPrograms + "\\Viewer.lnk",   kStartup + "\\Viewer.lnk",
      kSendTo + "\\Viewer.lnk",  kPrograms + "\\PROG.EXE.lnk", kPrograms + "\\Other.lnk",
      kPrograms + "\\Plain.lnk",
  };
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(Utf8(expected[i]));
    EXPECT_TRUE(scenario.Exists(expected[i]));
    EXPECT_EQ(Record(scenario, static_cast<int>(i) + 1), expected[i]);
  }
  // The second Viewer.lnk of the programs folder took no slot of its own.
  EXPECT_EQ(Record(scenario, static_cast<int>(expected.size()) + 1), "");

  EXPECT_TRUE(result.Has("message", "text",
                         kStepText + "C:\\TOOLS\\VIEWER\\PROG.EXE\rCreating -> PROG.EXE"));
  // A SetupSpeed pause after each shortcut (the registry, association and record phases of
  // this script have none). Equal step texts in a row show as one message.
  int pauses = 0;
  bool inPhase = false;
  for (const auto& event : result.events) {
    if (event["event"] == "message") {
      const std::string text = RunResult::Text(event, "text");
      if (text.rfind(kStepText, 0) == 0) inPhase = true;
      if (text == "アンセットアップ情報を作成しています．．．") inPhase = false;
    } else if (event["event"] == "pause" && inPhase) {
      EXPECT_EQ(event["ms"], 123);
      ++pauses;
    }
  }
  EXPECT_EQ(pauses, 8);
}

TEST(ShortcutPhase, SubfoldersAndWorkingFoldersAsLnkinfoReadsThem) {
  Scenario scenario;
  scenario.WriteScript(
      "[Title]\nSetup=Viewer\n[ShortCut]\n"
      "Make1=(App)\\VIEW.EXE\nName1=(Sta)Viewer Group\\Tools\\Viewer,(App)\n"
      "Make2=(App)\\BIN\\VIEW.EXE\nName2=(Sup)Viewer,(App)NOWHERE\n"
      "Make3=(Win)\\NOTEPAD.EXE\nName3=(Sen)Notepad\n");
  RunResult result = scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\"});
  ASSERT_EQ(result.exitCode, 0) << result.err;

  struct Case {
    std::string link;
    const char* target;
    const char* workingFolder;
  };
  const Case cases[] = {
      // The missing group folders are made first.
      {kPrograms + "\\Viewer Group\\Tools\\Viewer.lnk", "C:\\TOOLS\\VIEWER\\VIEW.EXE",
       "C:\\TOOLS\\VIEWER\\"},
      // A working folder that does not exist gives way to the target's folder.
      {kStartup + "\\Viewer.lnk", "C:\\TOOLS\\VIEWER\\BIN\\VIEW.EXE", "C:\\TOOLS\\VIEWER\\BIN\\"},
      // No working folder: the target's folder; the target itself need not exist.
      {kSendTo + "\\Notepad.lnk", "C:\\WINDOWS\\NOTEPAD.EXE", "C:\\WINDOWS\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.link));
    ASSERT_TRUE(scenario.Exists(c.link));
    const std::string info = LnkInfo(scenario.HostPath(c.link));
    EXPECT_EQ(LnkField(info, "Local path"), c.target) << info;
    EXPECT_EQ(LnkField(info, "Working directory"), c.workingFolder) << info;
  }
  // Only the link file is recorded, not the folders made for it.
  EXPECT_EQ(Record(scenario, 1), cases[0].link);
  EXPECT_EQ(scenario.Profile(kRecord, "DeleteFolder", "Folder1").find("Viewer Group"),
            std::string::npos);
}

TEST(ShortcutPhase, DesktopOptionOffDropsOnlyDesktopEntries) {
  Scenario scenario;
  scenario.WriteScript(
      "[Title]\nSetup=Viewer\n[ShortCut]\n"
      "Make1=(App)\\VIEW.EXE\nName1=(Sta)Viewer\n"
      "Make2=(App)\\VIEW.EXE\nName2=(Dsk)Viewer\n"
      "Make3=(App)\\VIEW.EXE\nName3=(Sup)Viewer\n"
      "Make4=(App)\\VIEW.EXE\nName4=Plain\n");
  RunResult result =
      scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\", "--shortcuts", "startmenu,startup,sendto"});
  ASSERT_EQ(result.exitCode, 0) << result.err;

  EXPECT_FALSE(scenario.Exists(kDesktop + "\\Viewer.lnk"));
  EXPECT_EQ(Record(scenario, 1), kPrograms + "\\Viewer.lnk");
  EXPECT_EQ(Record(scenario, 2), kStartup + "\\Viewer.lnk");
  EXPECT_EQ(Record(scenario, 3), kPrograms + "\\Plain.lnk");
  EXPECT_EQ(Record(scenario, 4), "");
}

TEST(ShortcutPhase, EarlierRecordOfTheSameShortcutKeepsOneSlot) {
  Scenario scenario;
  scenario.WriteScript(
      "[Title]\nSetup=Viewer\n[ShortCut]\nMake1=(App)\\VIEW.EXE\nName1=(Sta)Viewer\n");
  ASSERT_EQ(scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\"}).exitCode, 0);
  RunResult second = scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\"});
  ASSERT_EQ(second.exitCode, 0) << second.err;
  EXPECT_EQ(Record(scenario, 1), kPrograms + "\\Viewer.lnk");
  EXPECT_EQ(Record(scenario, 2), "");
}

}  // namespace
}  // namespace korvane::testing
