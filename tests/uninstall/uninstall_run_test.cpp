// The uninstall run through the real `unsetup` command on a fresh machine: which recorded files
// are spared, asked about or deleted, the order of folder removal, shortcut folders, registry
// keys and associations, the installed-programs entry, the failure lines and the report.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/scenario.h"

namespace korvane::testing {
namespace {

constexpr const char* kRecord = "C:\\APP\\UNSETUP.INI";
constexpr const char* kSharedFileCaption = "ファイル削除の確認";
constexpr const char* kUninstallKey =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr const char* kPrograms = "C:\\WINDOWS\\ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ";

std::string Crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// A record of the setup folder C:\APP at C:\APP\UNSETUP.INI: the given file entries, then the
// record itself as a setup run leaves it, and the further sections.
void WriteRecord(Scenario& s, const std::vector<std::string>& files,
                 const std::string& sections = {}, const std::string& setupFolderKeys = {}) {
  std::string text = "[SetupFolder]\nFolder=C:\\APP\n" + setupFolderKeys + "[DeleteFile]\n";
  int n = 0;
  for (const std::string& file : files) text += "File" + std::to_string(++n) + "=" + file + "\n";
  text += "File" + std::to_string(++n) + "=" + kRecord + "\n";
  text += sections;
  s.Write(kRecord, Crlf(text));
}

// Imports REGEDIT4 text (code page 932) into the machine's registry.
void ImportRegistry(Scenario& s, const std::string& text) {
  const std::string path = s.Root() + "/import.reg";
  std::ofstream(path, std::ios::binary) << Utf8("REGEDIT4\n\n" + text);
  ASSERT_EQ(s.Run({"reg", "import", path}).exitCode, 0);
}

bool HasKey(Scenario& s, const std::string& fullKey) {
  return s.RegExport().find("[" + fullKey + "]") != std::string::npos;
}

RunResult Unsetup(Scenario& s, std::vector<std::string> args = {}) {
  return s.Unsetup(kRecord, args);
}

// The [DeleteFile] rules: a DLL or OCX file inside the Windows or system folder is spared
// unless the switch written first is /F or /C; /L keeps any file.
TEST(UninstallRunTest, SharedFilesAreSparedAskedOrDeletedByTheFirstSwitch) {
  struct Case {
    const char* path;
    const char* switches;
    const char* answer;  // to the shared-file question, or nullptr
    bool asked;
    bool remains;
  };
  const Case cases[] = {
      {"C:\\WINDOWS\\SYSTEM\\SHARED.DLL", "", nullptr, false, true},
      {"C:\\WINDOWS\\SYSTEM\\SHARED.DLL", ",/F", nullptr, false, false},
      {"C:\\WINDOWS\\SYSTEM\\SHARED.DLL", ",/C", "Yes", true, false},
      {"C:\\WINDOWS\\SYSTEM\\SHARED.DLL", ",/C", "No", true, true},
      {"C:\\WINDOWS\\SYSTEM\\SHARED.DLL", ",/R/C", nullptr, false, true},
      {"C:\\WINDOWS\\SYSTEM\\SHARED.DLL", ",/R,/F", nullptr, false, true},
      {"c:\\windows\\system\\shared.dll", "", nullptr, false, true},
      {"C:\\WINDOWS\\VIEW.OCX", "", nullptr, false, true},
      {"C:\\WINDOWSAPPS\\X.DLL", "", nullptr, false, true},
      {"C:\\TOOLS\\X.DLL", "", nullptr, false, false},
      {"C:\\TOOLS\\X.DLL", ",/L", nullptr, false, true},
      {"C:\\TOOLS\\README.TXT", ",/C", "Yes", true, false},
      {"C:\\WINDOWS\\VIEW.INI", "", nullptr, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + c.switches + (c.answer ? c.answer : ""));
    Scenario s;
    s.Write(c.path, "payload");
    WriteRecord(s, {std::string(c.path) + c.switches});
    std::vector<std::string> args;
    if (c.answer) args = {"--answer", Utf8(std::string(kSharedFileCaption) + "=" + c.answer)};
    const RunResult result = Unsetup(s, args);

    EXPECT_EQ(result.exitCode, 0);  // a spared or kept file is no failure
    EXPECT_EQ(s.Exists(c.path), c.remains);
    const std::vector<nlohmann::json> asks = result.Of("ask");
    int shared = 0;
    for (const nlohmann::json& ask : asks) {
      if (RunResult::Text(ask, "caption") != kSharedFileCaption) continue;
      ++shared;
      EXPECT_EQ(ask["style"], 36);
      EXPECT_EQ(RunResult::Text(ask, "text"),
                std::string(c.path) +
                    "\r\rこのファイルを削除してもよろしいですか？\r\r<<　注意　>>\r"
                    "DLL・OCXなどは他のプログラムでも使用される可能性があります．\r"
                    "確実に使用されないことがわかっている場合のみ削除してください．");
    }
    EXPECT_EQ(shared, c.asked ? 1 : 0);
    EXPECT_FALSE(s.Exists(kRecord));
    EXPECT_FALSE(s.Exists("C:\\APP"));
  }
}

// A path listed twice is handled once, by its first entry that is not spared: a spared DLL entry
// does not hide a later "/F" entry of the same file, and a later duplicate is no second deletion
// (which would fail as a missing file).
TEST(UninstallRunTest, DuplicateFileEntriesAreHandledOnce) {
  Scenario s;
  s.Write("C:\\WINDOWS\\SYSTEM\\SHARED.DLL", "dll");
  s.Write("C:\\APP\\VIEW.EXE", "exe");
  s.Write("C:\\APP\\KEEP.TXT", "txt");
  WriteRecord(
      s,
      {"C:\\WINDOWS\\SYSTEM\\SHARED.DLL", "c:\\windows\\system\\shared.dll,/F", "C:\\APP\\VIEW.EXE",
       "c:\\app\\view.exe,/L", "C:\\APP\\KEEP.TXT,/L", "C:\\APP\\KEEP.TXT"},
      "[DeleteFolder]\nFolder1=C:\\APP\\\n");
  const RunResult result = Unsetup(s, {"--answer", Utf8("警告=Yes")});

  EXPECT_FALSE(s.Exists("C:\\WINDOWS\\SYSTEM\\SHARED.DLL"));
  EXPECT_FALSE(s.Exists("C:\\APP\\VIEW.EXE"));
  EXPECT_TRUE(s.Exists("C:\\APP\\KEEP.TXT"));
  // Only the kept file holds the folders: no "<File> " line.
  const std::vector<nlohmann::json> details = result.Of("details");
  ASSERT_EQ(details.size(), 1u);
  const std::string log = RunResult::Text(details[0], "text");
  EXPECT_EQ(log.find("<File> "), std::string::npos) << Utf8(log);
  EXPECT_NE(log.find("<Folder> C:\\APP\\\r\n"), std::string::npos) << Utf8(log);
  EXPECT_NE(log.find("<SetupFolder> C:\\APP\r\n"), std::string::npos) << Utf8(log);
}

TEST(UninstallRunTest, RunWithoutFailuresCompletesWithoutReport) {
  Scenario s;
  s.Write("C:\\APP\\VIEW.EXE", "exe");
  WriteRecord(s, {"C:\\APP\\VIEW.EXE"});
  const RunResult result = Unsetup(s);

  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.AskCaptions(), std::vector<std::string>{"完了"});
  const std::vector<std::string> messages = result.Messages();
  ASSERT_FALSE(messages.empty());
  EXPECT_NE(std::find(messages.begin(), messages.end(),
                      "アンセットアップ（アンインストール）を行っています．．．"),
            messages.end());
  EXPECT_EQ(messages.back(), "アンセットアップを完了しました．");
  EXPECT_TRUE(result.Has("ask", "text", "アンセットアップを完了しました．"));
  EXPECT_TRUE(result.Has("ask", "style", 64));
  EXPECT_FALSE(s.Exists("C:\\APP\\VIEW.EXE"));
  EXPECT_FALSE(s.Exists("C:\\APP"));
}

// Later [DeleteFolder] keys are removed first, so that a folder made inside an earlier one goes
// before it.
TEST(UninstallRunTest, NestedFoldersAreRemovedInnerFirst) {
  Scenario s;
  s.Write("C:\\TOOLS\\VIEWER\\DATA\\X.DAT", "x");
  WriteRecord(s, {"C:\\TOOLS\\VIEWER\\DATA\\X.DAT"},
              "[DeleteFolder]\nFolder1=C:\\TOOLS\\VIEWER\\\nFolder2=C:\\TOOLS\\VIEWER\\DATA\\\n");
  const RunResult result = Unsetup(s);

  EXPECT_EQ(result.exitCode, 0);
  EXPECT_FALSE(s.Exists("C:\\TOOLS\\VIEWER"));
  EXPECT_TRUE(s.Exists("C:\\TOOLS"));
}

// The folder of a shortcut goes when it is empty, unless it is one of the shell's folders
// (desktop, programs, StartUp, SendTo) or a StartUp or SendTo folder by name.
TEST(UninstallRunTest, ShortcutFoldersGoOnlyWhenTheyAreProgramGroups) {
  Scenario s;
  const std::string programs = kPrograms;
  const std::string group = programs + "\\VIEWER\\VIEW.LNK";
  const std::string inPrograms = programs + "\\VIEW.LNK";
  const std::string startUp = programs + "\\ｽﾀｰﾄｱｯﾌﾟ\\VIEW.LNK";
  const std::string sendTo = "C:\\WINDOWS\\SendTo\\VIEW.LNK";
  const std::string desktop = "C:\\WINDOWS\\デスクトップ\\VIEW.LNK";
  const std::string otherSendTo = "C:\\TOOLS\\SENDTO\\VIEW.LNK";
  const std::vector<std::string> links = {group, inPrograms, startUp, sendTo, desktop, otherSendTo};
  std::string sections = "[DeleteShortCut]\n";
  int n = 0;
  for (const std::string& link : links) {
    s.Write(link, "lnk");
    sections += "File" + std::to_string(++n) + "=" + link + "\n";
  }
  WriteRecord(s, {}, sections);
  // Opening the machine makes its missing standard folders again, so the folders are looked at
  // on the host before anything else opens it.
  const std::vector<std::string> kept = {programs, programs + "\\ｽﾀｰﾄｱｯﾌﾟ", "C:\\WINDOWS\\SendTo",
                                         "C:\\WINDOWS\\デスクトップ", "C:\\TOOLS\\SENDTO"};
  std::vector<std::string> keptHost;
  for (const std::string& folder : kept) keptHost.push_back(s.HostPath(folder));
  const std::string groupHost = s.HostPath(programs + "\\VIEWER");
  const RunResult result = Unsetup(s);

  for (size_t i = 0; i < kept.size(); ++i) {
    EXPECT_TRUE(std::filesystem::is_directory(keptHost[i])) << Utf8(kept[i]);
  }
  EXPECT_FALSE(std::filesystem::exists(groupHost));
  EXPECT_EQ(result.exitCode, 0);
  for (const std::string& link : links) EXPECT_FALSE(s.Exists(link)) << Utf8(link);
}

TEST(UninstallRunTest, GroupFolderWithOtherShortcutsStays) {
  Scenario s;
  const std::string programs = kPrograms;
  s.Write(programs + "\\VIEWER\\VIEW.LNK", "lnk");
  s.Write(programs + "\\VIEWER\\OTHER.LNK", "lnk");
  WriteRecord(s, {}, "[DeleteShortCut]\nFile1=" + programs + "\\VIEWER\\VIEW.LNK\n");
  EXPECT_EQ(Unsetup(s).exitCode, 0);
  EXPECT_FALSE(s.Exists(programs + "\\VIEWER\\VIEW.LNK"));
  EXPECT_TRUE(s.Exists(programs + "\\VIEWER\\OTHER.LNK"));
}

// Failed steps give their tag line and the system's error line; a folder that still holds a
// file is reported as not empty, the setup folder too.
TEST(UninstallRunTest, FailedStepsAreReportedWithTheirLines) {
  Scenario s;
  s.Write("C:\\APP\\USER.TXT", "mine");
  WriteRecord(s, {"C:\\APP\\GONE.TXT"},
              "[DeleteFolder]\nFolder1=C:\\APP\\\n"
              "[DeleteShortCut]\nFile1=C:\\APP\\GONE.LNK\n");
  const RunResult result = Unsetup(s, {"--answer", Utf8("警告=Yes")});

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.AskCaptions(), (std::vector<std::string>{"警告", "完了"}));
  EXPECT_TRUE(result.Has("ask", "style", 52));
  EXPECT_TRUE(
      result.Has("ask", "text",
                 "アンセットアップ（アンインストール）の過程で，一部の処理が失敗しました．\r"
                 "詳細を表示しますか？"));
  EXPECT_TRUE(result.Has("message", "text", "一部の処理に失敗しました．"));

  const std::vector<nlohmann::json> details = result.Of("details");
  ASSERT_EQ(details.size(), 1u);
  EXPECT_EQ(RunResult::Text(details[0], "caption"), "削除処理失敗　詳細表示");
  const std::string log = RunResult::Text(details[0], "text");
  const std::string notFound = "指定されたファイルが見つかりません。";
  const std::string notEmpty = "ディレクトリが空ではありません。";
  const std::vector<std::string> lines = {
      "<File> C:\\APP\\GONE.TXT\r\n" + notFound,
      "<ShortCut> C:\\APP\\GONE.LNK\r\n" + notFound,
      "<Folder> C:\\APP\\\r\n" + notEmpty,
      "<SetupFolder> C:\\APP\r\n" + notEmpty,
  };
  size_t from = 0;
  for (const std::string& line : lines) {
    const size_t at = log.find(line, from);
    EXPECT_NE(at, std::string::npos) << Utf8(line) << " in order in\n" << Utf8(log);
    if (at != std::string::npos) from = at + line.size();
  }
  EXPECT_TRUE(log.ends_with("\r\n"));

  // The details are closed with the continue button; the start caption comes back.
  EXPECT_TRUE(result.Has("button", "caption", "続行(&C)"));
  const std::vector<nlohmann::json> buttons = result.Of("button");
  std::string lastEventCaption;
  for (const nlohmann::json& b : buttons) {
    if (RunResult::Text(b, "name") == "btnEvent") lastEventCaption = RunResult::Text(b, "caption");
  }
  EXPECT_EQ(lastEventCaption, "アンセットアップ開始(&S)");
  EXPECT_TRUE(s.Exists("C:\\APP\\USER.TXT"));
}

TEST(UninstallRunTest, ReportAnsweredNoSkipsTheDetails) {
  Scenario s;
  WriteRecord(s, {"C:\\APP\\GONE.TXT"});
  const RunResult result = Unsetup(s, {"--answer", Utf8("警告=No")});

  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.AskCaptions(), (std::vector<std::string>{"警告", "完了"}));
  EXPECT_TRUE(result.Of("details").empty());
  EXPECT_FALSE(result.Has("button", "caption", "続行(&C)"));
}

// The installed-programs section goes: [ProgramID] ID names it, else [SetupFolder] ProgramID.
TEST(UninstallRunTest, InstalledProgramsSectionIsRemoved) {
  struct Case {
    const char* sections;
    const char* setupFolderKeys;
    const char* removed;  // or ""
  };
  const Case cases[] = {
      {"[ProgramID]\nID=VIEWER\n", "", "VIEWER"},
      {"", "ProgramID=VIEWER\n", "VIEWER"},
      {"[ProgramID]\nID=\n", "ProgramID=VIEWER\n", "VIEWER"},
      {"[ProgramID]\nID=EDITOR\n", "ProgramID=VIEWER\n", "EDITOR"},
      {"[ProgramID]\nID=\n", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.sections) + c.setupFolderKeys);
    Scenario s;
    const std::string installed = "C:\\WINDOWS\\KORVANE.INI";
    s.Write(installed, "[VIEWER]\r\nFolder=C:\\APP\r\n[EDITOR]\r\nFolder=C:\\EDIT\\\r\n");
    WriteRecord(s, {}, c.sections, c.setupFolderKeys);
    EXPECT_EQ(Unsetup(s).exitCode, 0);
    for (const char* id : {"VIEWER", "EDITOR"}) {
      EXPECT_EQ(s.Profile(installed, id, "Folder").empty(), std::string(id) == c.removed) << id;
    }
  }
}

// Root tokens are exact; without one the whole entry is a key below HKEY_CURRENT_USER. A key
// goes with every key below it, and its parent stays.
TEST(UninstallRunTest, RecordedRegistryKeysAreDeletedBelowTheirRoots) {
  Scenario s;
  std::string deep = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker\\Deep";
  std::string import;
  for (int level = 0; level < 12; ++level) {
    deep += "\\L" + std::to_string(level);
    import += "[" + deep + "]\n\"V\"=\"x\"\n\n";
  }
  import +=
      "[HKEY_CURRENT_USER\\SOFTWARE\\Maker\\Viewer\\Settings]\n\"A\"=\"1\"\n\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker\\Viewer]\n\"A\"=\"1\"\n\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker\\Lower]\n\"A\"=\"1\"\n\n"
      "[HKEY_CLASSES_ROOT\\vwr_auto_file\\shell\\open\\command]\n@=\"C:\\\\APP\\\\VIEW.EXE\"\n\n"
      "[HKEY_USERS\\.DEFAULT\\Software\\Maker]\n\"A\"=\"1\"\n\n";
  ImportRegistry(s, import);
  WriteRecord(s, {},
              "[DeleteRegistry]\n"
              "Key1=SOFTWARE\\Maker\\Viewer\n"
              "Key2=(Local)SOFTWARE\\Maker\\Deep\n"
              "Key3=(Class)vwr_auto_file\n"
              "Key4=(Users).DEFAULT\\Software\\Maker\n"
              "Key5=(local)SOFTWARE\\Maker\\Lower\n");
  EXPECT_EQ(Unsetup(s).exitCode, 0);

  EXPECT_FALSE(HasKey(s, "HKEY_CURRENT_USER\\SOFTWARE\\Maker\\Viewer"));
  EXPECT_TRUE(HasKey(s, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker\\Viewer"));
  const std::string all = s.RegExport();
  EXPECT_EQ(all.find("SOFTWARE\\Maker\\Deep"), std::string::npos);
  EXPECT_EQ(all.find("vwr_auto_file"), std::string::npos);
  EXPECT_FALSE(HasKey(s, "HKEY_USERS\\.DEFAULT\\Software\\Maker"));
  EXPECT_TRUE(HasKey(s, "HKEY_USERS\\.DEFAULT\\Software"));
  // "(local)" is no root token: the entry names a key below HKEY_CURRENT_USER.
  EXPECT_TRUE(HasKey(s, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Maker\\Lower"));
}

// Entries that name no key, or the Uninstall key as a whole, must delete nothing.
TEST(UninstallRunTest, EntriesNamingNoKeyDeleteNothing) {
  struct Case {
    const char* sections;
  };
  const Case cases[] = {
      {"[DeleteRegistry]\nKey1=(Local)\nKey2=(Cuser)\\\nKey3=\\\\\nKey4=(Class)\\\\\\\n"
       "[UnSetupRegistryKey]\nKey=\n"},
      {"[UnSetupRegistryKey]\nKey=\\\n"},
      {"[UnSetupRegistryKey]\nKey=SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\\n"},
      {"[UnSetupRegistryKey]\nKey=software\\microsoft\\windows\\currentversion\\uninstall\n"},
      {""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sections);
    Scenario s;
    ImportRegistry(s,
                   "[HKEY_CURRENT_USER\\Software\\Other]\n\"A\"=\"1\"\n\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\n\"A\"=\"1\"\n\n"
                   "[HKEY_CLASSES_ROOT\\.other]\n@=\"otherfile\"\n\n"
                   "[" +
                       std::string(kUninstallKey) + "Other]\n\"DisplayName\"=\"Other\"\n\n");
    const std::string before = s.RegExport();
    WriteRecord(s, {}, c.sections);
    EXPECT_EQ(Unsetup(s).exitCode, 0);
    EXPECT_EQ(s.RegExport(), before);
  }
}

TEST(UninstallRunTest, UninstallEntryOfTheRecordGoesAndOthersStay) {
  Scenario s;
  ImportRegistry(s, "[" + std::string(kUninstallKey) +
                        "Viewer]\n\"DisplayName\"=\"Viewer\"\n\n"
                        "[" +
                        std::string(kUninstallKey) + "Other]\n\"DisplayName\"=\"Other\"\n\n");
  WriteRecord(s, {},
              "[UnSetupRegistryKey]\n"
              "Key=SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Viewer\n");
  EXPECT_EQ(Unsetup(s).exitCode, 0);
  EXPECT_FALSE(HasKey(s, std::string(kUninstallKey) + "Viewer"));
  EXPECT_TRUE(HasKey(s, std::string(kUninstallKey) + "Other"));
}

// A former default value is written back; an empty one deletes the extension key with what is
// below it; a key that is gone is not made again. The class key stays unless it is named.
TEST(UninstallRunTest, AssociationsAreRestoredOrRemoved) {
  Scenario s;
  ImportRegistry(s,
                 "[HKEY_CLASSES_ROOT\\.txt]\n@=\"txt_auto_file\"\n\n"
                 "[HKEY_CLASSES_ROOT\\.vwr]\n@=\"vwr_auto_file\"\n\n"
                 "[HKEY_CLASSES_ROOT\\.vwr\\ShellNew]\n\"NullFile\"=\"\"\n\n"
                 "[HKEY_CLASSES_ROOT\\vwr_auto_file]\n@=\"vwr File\"\n\n");
  WriteRecord(s, {}, "[RestoreRelate]\nKey1=txt,txtfile\nKey2=vwr,\nKey3=abc,abcfile\n");
  EXPECT_EQ(Unsetup(s).exitCode, 0);

  const std::string txt = s.RegExport("HKEY_CLASSES_ROOT\\.txt");
  EXPECT_NE(txt.find("@=\"txtfile\""), std::string::npos) << Utf8(txt);
  EXPECT_FALSE(HasKey(s, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.vwr"));
  EXPECT_FALSE(HasKey(s, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.abc"));
  EXPECT_TRUE(HasKey(s, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\vwr_auto_file"));
}

}  // namespace
}  // namespace korvane::testing
