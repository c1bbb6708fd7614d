// Folder macro replacement and the three resolution sets: one backslash joins a folder to
// what follows, tokens are case-sensitive, and each place resolves only its own macros.
#include "script/folder_macros.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane {
namespace {

TEST(FolderMacrosTest, ReplaceMacro) {
  struct Case {
    std::string text;
    std::string token;
    std::string value;
    std::string expected;
  };
  const Case cases[] = {
      {"(App)\\BIN\\X.EXE", "(App)", "C:\\Tools\\App\\", "C:\\Tools\\App\\BIN\\X.EXE"},
      {"(App)\\BIN\\X.EXE", "(App)", "C:\\Tools\\App", "C:\\Tools\\App\\BIN\\X.EXE"},
      {"(App)", "(App)", "C:\\Tools\\App", "C:\\Tools\\App\\"},
      {"(App)\\", "(App)", "C:\\Tools\\App", "C:\\Tools\\App\\"},
      {"(App)X", "(App)", "C:\\Tools\\App", "C:\\Tools\\App\\X"},
      {"(App)\\\\X", "(App)", "C:\\Tools\\App", "C:\\Tools\\App\\\\X"},
      {"(app)\\X", "(App)", "C:\\Tools\\App", "(app)\\X"},
      {"X(App)", "(App)", "D:", "XD:\\"},
      {"(App)\\X", "(App)", "", "\\X"},
      {"(App)", "(App)", "", "\\"},
      {"", "(App)", "C:\\A", ""},
      {"(App)\\X", "", "C:\\A", "(App)\\X"},
      // Every occurrence, each joined by one backslash.
      {"(App)\\A;(App)B", "(App)", "C:\\T\\", "C:\\T\\A;C:\\T\\B"},
      {"(App)(App)", "(App)", "C:\\T", "C:\\T\\C:\\T\\"},
      // A value holding the token is inserted as it is, and the search goes on behind it.
      {"(App)\\X", "(App)", "C:\\(App)", "C:\\(App)\\X"},
      {"(App)\\X;(App)", "(App)", "(App)", "(App)\\X;(App)\\"},
      // A folder ending in ソ (83 5C) still gets its own backslash.
      {"(App)\\X.EXE", "(App)", "C:\\ソ", "C:\\ソ\\X.EXE"},
      {"(App)", "(App)", "C:\\図表\\", "C:\\図表\\"},
      {"(App)表.TXT", "(App)", "C:\\機能", "C:\\機能\\表.TXT"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " " + c.token + "=" + c.value);
    EXPECT_EQ(ReplaceMacro(c.text, c.token, c.value), c.expected);
  }
}

class ResolveMacrosTest : public ::testing::Test {
 protected:
  MacroFolders folders_{"D:\\Tools\\Viewer", "C:\\Program Files", "C:\\WINDOWS",
                        "C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\TEMP\\"};
};

TEST_F(ResolveMacrosTest, AllSeven) {
  struct Case {
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"(App)\\BIN\\X.EXE", "D:\\Tools\\Viewer\\BIN\\X.EXE"},
      {"(Prg)\\Tool", "C:\\Program Files\\Tool"},
      {"(Win)\\X.INI", "C:\\WINDOWS\\X.INI"},
      {"(Sys)\\X.DLL", "C:\\WINDOWS\\SYSTEM\\X.DLL"},
      {"(Tmp)\\X.TMP", "C:\\WINDOWS\\TEMP\\X.TMP"},
      {"(Boo)AUTOEXEC.BAT", "C:\\AUTOEXEC.BAT"},
      {"(Boo)\\AUTOEXEC.BAT", "C:\\AUTOEXEC.BAT"},
      {"(Set)\\DATA", "D:\\DATA"},
      {"(Dch)(App)\\X", "(Dch)D:\\Tools\\Viewer\\X"},
      {"(Dsk)(Sta)(Str)(Cuser)", "(Dsk)(Sta)(Str)(Cuser)"},
      {"(SYS)\\X", "(SYS)\\X"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ResolveAllMacros(c.text, folders_), c.expected);
  }
}

TEST_F(ResolveMacrosTest, EarlierValuesAreResolvedByLaterTokens) {
  // The setup folder holds later tokens; they are replaced in their turn.
  folders_.setupFolder = "(Prg)\\Viewer";
  EXPECT_EQ(ResolveAllMacros("(App)\\X", folders_), "C:\\Program Files\\Viewer\\X");
  folders_.setupFolder = "(Win)";
  EXPECT_EQ(ResolveAllMacros("(App)", folders_), "C:\\WINDOWS\\");
  // A later value never sees earlier tokens again: (Tmp) holding (App) keeps it.
  folders_.setupFolder = "D:\\V";
  folders_.tempFolder = "(App)";
  EXPECT_EQ(ResolveAllMacros("(Tmp)X", folders_), "(App)\\X");
}

TEST_F(ResolveMacrosTest, RegistrySetKeepsTmp) {
  EXPECT_EQ(ResolveRegistryMacros("(Str)(Tmp)\\LOG", folders_), "(Str)(Tmp)\\LOG");
  EXPECT_EQ(ResolveRegistryMacros("(Str)(App)VIEW.EXE", folders_),
            "(Str)D:\\Tools\\Viewer\\VIEW.EXE");
  EXPECT_EQ(ResolveRegistryMacros("(Exp)(Win)\\TEMP", folders_), "(Exp)C:\\WINDOWS\\TEMP");
  EXPECT_EQ(ResolveRegistryMacros("(Prg)(Sys)(Boo)(Set)", folders_),
            "C:\\Program Files\\C:\\WINDOWS\\SYSTEM\\C:\\D:\\");
}

TEST_F(ResolveMacrosTest, ProposedFolderSetLeavesAppTmpAndSet) {
  EXPECT_EQ(ResolveProposedFolderMacros("(Prg)\\Sample Tool", folders_),
            "C:\\Program Files\\Sample Tool");
  EXPECT_EQ(ResolveProposedFolderMacros("(Boo)Tools", folders_), "C:\\Tools");
  EXPECT_EQ(ResolveProposedFolderMacros("(Win)(Sys)", folders_),
            "C:\\WINDOWS\\C:\\WINDOWS\\SYSTEM\\");
  EXPECT_EQ(ResolveProposedFolderMacros("(App)\\(Tmp)\\(Set)", folders_), "(App)\\(Tmp)\\(Set)");
}

TEST_F(ResolveMacrosTest, DrivesAreTwoBytesAndABackslash) {
  // Windows folder C:\WINDOWS: (Boo) is C:\.
  EXPECT_EQ(ResolveAllMacros("(Boo)", folders_), "C:\\");
  folders_.windowsFolder = "E:\\WIN98";
  folders_.setupFolder = "F:";
  EXPECT_EQ(ResolveAllMacros("(Boo)|(Set)", folders_), "E:\\|F:\\");
  folders_.setupFolder = "";
  EXPECT_EQ(ResolveAllMacros("(Set)X", folders_), "\\X");
}

}  // namespace
}  // namespace korvane
