// The shell on the real machine: special folders from machine.ini, links that the real
// lnkinfo reads back, opening files through the host's openers (stand-ins put on PATH), and
// the restart record.
#include "platform/shell.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/encoding.h"
#include "platform/service_machine.h"

namespace korvane {
namespace {

using testing::ReportField;
using testing::RunTool;
using testing::ShellQuote;
using testing::TempMachine;

constexpr const char* kPrograms = "C:\\WINDOWS\\ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ";

class ShellTest : public ::testing::Test {
 protected:
  Shell& shell() { return *m_.platform().shell; }
  std::string LnkInfo(const std::string& windowsPath) {
    std::string out;
    EXPECT_EQ(RunTool("lnkinfo -c windows-932 " + ShellQuote(m_.Host(windowsPath)), out), 0) << out;
    return out;
  }
  static std::string Utf8(const std::string& cp932) { return *Cp932ToUtf8(cp932); }
  TempMachine m_;
};

TEST_F(ShellTest, SpecialFoldersComeFromTheMachineSettings) {
  struct Case {
    int csidl;
    const char* path;
  };
  const Case cases[] = {{kCsidlDesktop, "C:\\WINDOWS\\デスクトップ"},
                        {kCsidlPrograms, kPrograms},
                        {kCsidlStartup, "C:\\WINDOWS\\ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ\\ｽﾀｰﾄｱｯﾌﾟ"},
                        {kCsidlSendTo, "C:\\WINDOWS\\SendTo"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.csidl);
    std::string path;
    ASSERT_TRUE(shell().GetSpecialFolderPath(c.csidl, path));
    EXPECT_EQ(path, c.path);
  }
  std::string path = "unchanged";
  EXPECT_FALSE(shell().GetSpecialFolderPath(5, path));  // My Documents: not configured
  EXPECT_EQ(path, "unchanged");
}

TEST_F(ShellTest, WritesLinksThatLnkinfoReadsBack) {
  m_.Write("C:\\Program Files\\ビューア\\VIEW.EXE", std::string(1234, 'x'));
  std::string group = std::string(kPrograms) + "\\ビューア";
  std::filesystem::create_directories(m_.Host(group));

  struct Case {
    const char* name;
    std::string link;
    std::string target;
    std::string folder;
    const char* relative;
    const char* size;
  };
  const Case cases[] = {
      {"in a group", group + "\\ビューア.lnk", "C:\\Program Files\\ビューア\\VIEW.EXE",
       "C:\\Program Files\\ビューア\\", "..\\..\\..\\..\\Program Files\\ビューア\\VIEW.EXE",
       "1234 bytes"},
      {"missing target", "C:\\WINDOWS\\デスクトップ\\表示.lnk", "C:\\表示\\ソフト.EXE",
       "C:\\WINDOWS\\", "..\\..\\表示\\ソフト.EXE", "0 bytes"},
      {"folder target", "C:\\WINDOWS\\SendTo\\Files.lnk", "C:\\Program Files",
       "C:\\Program Files\\", "..\\..\\Program Files", "0 bytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(shell().CreateShellLink(c.link, c.target, c.folder));
    ASSERT_TRUE(m_.Exists(c.link));
    std::string report = LnkInfo(c.link);
    EXPECT_EQ(ReportField(report, "Local path"), Utf8(c.target)) << report;
    EXPECT_EQ(ReportField(report, "Working directory"), Utf8(c.folder));
    EXPECT_EQ(ReportField(report, "Relative path"), Utf8(c.relative));
    EXPECT_EQ(ReportField(report, "File size"), c.size);
  }
  std::string folderReport = LnkInfo("C:\\WINDOWS\\SendTo\\Files.lnk");
  EXPECT_NE(folderReport.find("Is directory (FILE_ATTRIBUTE_DIRECTORY)"), std::string::npos);
}

TEST_F(ShellTest, RelativeTargetsAreMadeFullAsSetPathDoes) {
  ASSERT_EQ(m_.platform().files->SetCurrentDirectory("C:\\WINDOWS"), 0u);
  struct Case {
    const char* target;
    const char* stored;
  };
  const Case cases[] = {
      {"..\\Program Files\\ビューア\\VIEW.EXE", "C:\\Program Files\\ビューア\\VIEW.EXE"},
      {"NOTEPAD.EXE", "C:\\WINDOWS\\NOTEPAD.EXE"},
      {"\\TOOLS\\.\\A.EXE", "C:\\TOOLS\\A.EXE"},
      {"C:\\A\\..\\..\\B.EXE", "C:\\B.EXE"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    ASSERT_TRUE(shell().CreateShellLink("C:\\WINDOWS\\SendTo\\R.lnk", c.target, "C:\\"));
    EXPECT_EQ(ReportField(LnkInfo("C:\\WINDOWS\\SendTo\\R.lnk"), "Local path"), Utf8(c.stored));
  }
}

TEST_F(ShellTest, ASaveIntoAMissingFolderLeavesNoFileAndNoComplaint) {
  std::string link = std::string(kPrograms) + "\\Missing Group\\X.lnk";
  EXPECT_TRUE(shell().CreateShellLink(link, "C:\\X.EXE", "C:\\"));
  EXPECT_FALSE(m_.Exists(link));
}

// Puts stand-ins of the host's openers on PATH for one test.
class OpenerTest : public ShellTest {
 protected:
  void SetUp() override {
    bin_ = m_.Root() + "/bin";
    std::filesystem::create_directories(bin_);
    const char* path = std::getenv("PATH");
    savedPath_ = path ? path : "";
    ::setenv("PATH", bin_.c_str(), 1);
  }
  void TearDown() override { ::setenv("PATH", savedPath_.c_str(), 1); }

  // A stand-in that writes its arguments, one a line, to NAME.args once it ran.
  void Install(const std::string& name) {
    std::string script = bin_ + "/" + name;
    std::ofstream(script) << "#!/bin/sh\nPATH=/usr/bin:/bin\nprintf '%s\\n' \"$@\" > "
                          << ShellQuote(Record(name) + ".tmp") << " && mv "
                          << ShellQuote(Record(name) + ".tmp") << " " << ShellQuote(Record(name))
                          << "\n";
    ::chmod(script.c_str(), 0755);
  }
  std::string Record(const std::string& name) { return bin_ + "/" + name + ".args"; }
  // The arguments the stand-in got; the started program is not waited for, so look a while.
  std::string Arguments(const std::string& name) {
    for (int i = 0; i < 1000 && !std::filesystem::exists(Record(name)); ++i) {
      ::usleep(10000);
    }
    std::ifstream in(Record(name));
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string bin_;
  std::string savedPath_;
};

TEST_F(OpenerTest, WithoutOpenersNothingStarts) {
  m_.Write("C:\\Program Files\\A\\README.TXT", "read me");
  m_.Write("C:\\Program Files\\A\\A.EXE", "MZ");
  EXPECT_EQ(shell().ShellExecute("C:\\Program Files\\A\\README.TXT", ""), 31);
  EXPECT_EQ(shell().ShellExecute("C:\\Program Files\\A\\A.EXE", "x"), 31);
  EXPECT_EQ(shell().ShellExecute("C:\\Program Files\\A\\MISSING.TXT", ""), 2);
  EXPECT_EQ(shell().ShellExecute("C:\\NOFOLDER\\A.EXE", ""), 2);
}

TEST_F(OpenerTest, DocumentsGoToXdgOpenAndProgramsToWine) {
  Install("xdg-open");
  Install("wine");
  m_.Write("C:\\Program Files\\ビューア\\README.TXT", "read me");
  m_.Write("C:\\WINDOWS\\NOTEPAD.EXE", "MZ");

  EXPECT_EQ(shell().ShellExecute("C:\\Program Files\\ビューア\\readme.txt", ""), 42);
  EXPECT_EQ(Arguments("xdg-open"), m_.Host("C:\\Program Files\\ビューア\\README.TXT") + "\n");

  // A bare program name is found in the Windows folder; parameters split as Windows does.
  EXPECT_EQ(shell().ShellExecute("notepad.exe", "\"C:\\My Docs\\a.txt\" x,y"), 42);
  EXPECT_EQ(Arguments("wine"), m_.Host("C:\\WINDOWS\\NOTEPAD.EXE") + "\nC:\\My Docs\\a.txt\nx,y\n");
}

TEST_F(OpenerTest, AddressesGoToXdgOpenAsTheyAre) {
  EXPECT_EQ(shell().ShellExecute("http://example.invalid/", ""), 31);
  Install("xdg-open");
  EXPECT_EQ(shell().ShellExecute("http://example.invalid/a?b=1", ""), 42);
  EXPECT_EQ(Arguments("xdg-open"), "http://example.invalid/a?b=1\n");
}

TEST_F(ShellTest, RestartRequestIsRecordedAndNotificationsAreQuiet) {
  EXPECT_FALSE(m_.machine().RestartRequested());
  shell().ChangeNotify(kShcneAssocChanged);
  shell().RequestRestart();
  EXPECT_TRUE(m_.machine().RestartRequested());
}

}  // namespace
}  // namespace korvane
