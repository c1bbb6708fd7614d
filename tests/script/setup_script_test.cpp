// Splitting of script values into fields, numbered keys and the integer conversion.
#include "script/setup_script.h"

#include <gtest/gtest.h>

#include <string>

namespace korvane {
namespace {

TEST(SetupScriptTest, NumberedKey) {
  EXPECT_EQ(NumberedKey("File", 3), "File3");
  EXPECT_EQ(NumberedKey("Folder", 20), "Folder20");
  EXPECT_EQ(NumberedKey("File", 99), "File99");
  EXPECT_EQ(NumberedKey("Message", 1), "Message1");
}

TEST(SetupScriptTest, SplitCopyFile) {
  struct Case {
    std::string value;
    std::string programFolder;
    std::string source;
    std::string target;
    std::string switches;
  };
  const Case cases[] = {
      {"(App)\\SAMPLE.EXE", "A:\\", "A:\\SAMPLE.EXE", "(App)\\SAMPLE.EXE", ""},
      {"(App)\\SAMPLE.EXE", "A:\\SETUP", "A:\\SETUP\\SAMPLE.EXE", "(App)\\SAMPLE.EXE", ""},
      {"(Sys)\\SAMPLE.OC_,/R", "A:\\", "A:\\SAMPLE.OC_", "(Sys)\\AUTO.EXT", ",/R"},
      {"(Dch)(App)\\Data\\BIG.DA_|BIG.DAT", "A:\\", "(Dch)A:\\BIG.DA_", "(App)\\Data\\BIG.DAT", ""},
      {"(App)\\A.TXT|B.TXT", "A:\\", "A:\\A.TXT", "(App)\\B.TXT", ""},
      {"(App)\\A.TXT|\\B.TXT", "A:\\", "A:\\A.TXT", "(App)\\B.TXT", ""},
      {"(App)\\Data\\|B.TXT", "A:\\", "A:\\", "(App)\\Data\\B.TXT", ""},
      // Only the first comma counts; a "|" after it belongs to the switches.
      {"(App)\\A.DLL,/F|X,/R", "A:\\", "A:\\A.DLL", "(App)\\A.DLL", ",/F|X,/R"},
      {"(App)\\A.DLL,", "A:\\", "A:\\A.DLL", "(App)\\A.DLL", ","},
      {"(App)\\A.DL_|A.DLL,/C/R", "A:\\", "A:\\A.DL_", "(App)\\A.DLL", ",/C/R"},
      // "(Dch)" counts only at the very start; lower case is no mark.
      {"(App)\\(Dch)X", "A:\\", "A:\\(Dch)X", "(App)\\(Dch)X", ""},
      {"(dch)(App)\\X", "A:\\", "A:\\X", "(dch)(App)\\X", ""},
      // Without a folder the value is the target as it is; "_" alone has no folder.
      {"X.EXE", "A:\\", "A:\\X.EXE", "X.EXE", ""},
      {"X.EX_", "A:\\", "A:\\X.EX_", "\\AUTO.EXT", ""},
      {"", "A:\\", "A:\\", "", ""},
      {"(Dch)", "A:\\", "(Dch)A:\\", "", ""},
      // Japanese names: ポ (83 7C) holds no "|", ダ (83 5F) ends in no "_", ソ (83 5C) no
      // backslash.
      {"(App)\\レポート.TXT", "A:\\", "A:\\レポート.TXT", "(App)\\レポート.TXT", ""},
      {"(App)\\データ\\ダ", "A:\\", "A:\\ダ", "(App)\\データ\\ダ", ""},
      {"(App)\\ソフト\\表.DA_", "A:\\", "A:\\表.DA_", "(App)\\ソフト\\AUTO.EXT", ""},
      {"(App)\\ソ|表.TXT", "A:\\ソ", "A:\\ソ\\ソ", "(App)\\表.TXT", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value + " from " + c.programFolder);
    const CopyFileFields fields = SplitCopyFile(c.value, c.programFolder);
    EXPECT_EQ(fields.sourcePath, c.source);
    EXPECT_EQ(fields.targetPath, c.target);
    EXPECT_EQ(fields.switches, c.switches);
  }
}

TEST(SetupScriptTest, SplitShortcutName) {
  struct Case {
    std::string name;
    std::string place;
    std::string link;
    std::string folder;
  };
  const Case cases[] = {
      {"(Sta)\\Sample Tool\\Sample Tool,(App)", "(Sta)", "\\Sample Tool\\Sample Tool", "(App)"},
      {"(Dsk)Viewer", "(Dsk)", "Viewer", ""},
      {"Default", "(Sta)", "Default", ""},
      {"Viewer,(App)\\BIN", "(Sta)", "Viewer", "(App)\\BIN"},
      {"Viewer,a,b", "(Sta)", "Viewer", "a,b"},
      // A "(" first or a ")" fifth is taken as a place token, known or not.
      {"(xyz)Viewer", "(xyz)", "Viewer", ""},
      {"(Viewer", "(View", "er", ""},
      {"abcd)Viewer", "abcd)", "Viewer", ""},
      {"(Sen)", "(Sen)", "", ""},
      {"", "(Sta)", "", ""},
      {",C:\\", "(Sta)", "", "C:\\"},
      {"ソフト", "(Sta)", "ソフト", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ShortcutNameFields fields = SplitShortcutName(c.name);
    EXPECT_EQ(fields.placeToken, c.place);
    EXPECT_EQ(fields.linkName, c.link);
    EXPECT_EQ(fields.workingFolder, c.folder);
  }
}

TEST(SetupScriptTest, SplitRegistryKey) {
  struct Case {
    std::string value;
    std::string root;
    std::string path;
  };
  const Case cases[] = {
      {"Software\\Maker\\Viewer", "(Cuser)", "Software\\Maker\\Viewer"},
      {"(Local)\\SOFTWARE\\Maker\\Viewer\\", "(Local)", "SOFTWARE\\Maker\\Viewer"},
      {"(Cuser)Software\\Sample\\Tool", "(Cuser)", "Software\\Sample\\Tool"},
      {"(local)SOFTWARE\\Maker", "(local)", "SOFTWARE\\Maker"},
      {"(Class)", "(Class)", ""},
      {"(Users)\\", "(Users)", ""},
      {"\\\\Software\\\\", "(Cuser)", "\\Software\\"},
      {"Softwa)re\\X", "Softwa)", "re\\X"},
      {"(ab", "(ab", ""},
      {"", "(Cuser)", ""},
      {"Software\\ソ", "(Cuser)", "Software\\ソ"},
      {"Software\\ソ\\", "(Cuser)", "Software\\ソ"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    const RegistryKeyFields fields = SplitRegistryKey(c.value);
    EXPECT_EQ(fields.rootToken, c.root);
    EXPECT_EQ(fields.keyPath, c.path);
  }
}

TEST(SetupScriptTest, SplitRegistryValue) {
  struct Case {
    std::string value;
    std::string type;
    std::string data;
  };
  const Case cases[] = {
      {"(Str)C:\\X", "(Str)", "C:\\X"}, {"(Int)12", "(Int)", "12"},
      {"(Dwd)$10", "(Dwd)", "$10"},     {"(Exp)%windir%", "(Exp)", "%windir%"},
      {"(Bin)00 01", "(Bin)", "00 01"}, {"(Int)", "(Int)", ""},
      {"Hello", "Hello", "Hello"},      {"", "", ""},
      {"(str)x", "(str)", "(str)x"},    {"(Tmp)\\X", "(Tmp)", "(Tmp)\\X"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    const RegistryValueFields fields = SplitRegistryValue(c.value);
    EXPECT_EQ(fields.typeToken, c.type);
    EXPECT_EQ(fields.data, c.data);
  }
}

TEST(SetupScriptTest, SplitRelate) {
  RelateNameFields name = SplitRelateName("smp,Sample Data");
  EXPECT_EQ(name.extension, "smp");
  EXPECT_EQ(name.description, "Sample Data");
  name = SplitRelateName("smp");
  EXPECT_EQ(name.extension, "smp");
  EXPECT_EQ(name.description, "smp File");
  name = SplitRelateName("smp,");
  EXPECT_EQ(name.extension, "smp");
  EXPECT_EQ(name.description, "");
  name = SplitRelateName("smp,A,B");
  EXPECT_EQ(name.description, "A,B");

  EXPECT_EQ(RelateIconLocation("C:\\V\\VIEW.EXE"), "C:\\V\\VIEW.EXE,0");
  EXPECT_EQ(RelateIconLocation("C:\\V\\VIEW.EXE,2"), "C:\\V\\VIEW.EXE,2");
  EXPECT_EQ(RelateIconLocation(""), ",0");
  EXPECT_EQ(RelateProgramPath("C:\\V\\VIEW.EXE,0"), "C:\\V\\VIEW.EXE");
  EXPECT_EQ(RelateProgramPath("C:\\V\\VIEW.EXE"), "C:\\V\\VIEW.EXE");
  EXPECT_EQ(RelateProgramPath(",1"), "");
}

TEST(SetupScriptTest, SplitExecuteFile) {
  ExecuteFields fields = SplitExecuteFile("C:\\V\\README.TXT");
  EXPECT_EQ(fields.file, "C:\\V\\README.TXT");
  EXPECT_EQ(fields.parameters, "");
  fields = SplitExecuteFile("C:\\V\\VIEW.EXE,/s a,b");
  EXPECT_EQ(fields.file, "C:\\V\\VIEW.EXE");
  EXPECT_EQ(fields.parameters, "/s a,b");
}

TEST(SetupScriptTest, TryStrToInt) {
  struct Case {
    std::string text;
    bool ok;
    int32_t value;
  };
  const Case cases[] = {
      {"0", true, 0},
      {"400", true, 400},
      {"  400", true, 400},
      {"+7", true, 7},
      {"-1", true, -1},
      {" -15", true, -15},
      {"007", true, 7},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, INT32_MIN},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"99999999999999999999", false, 0},
      {"$10", true, 16},
      {"$ff", true, 255},
      {"$7FFFFFFF", true, 2147483647},
      {"$FFFFFFFF", true, -1},
      {"$80000000", true, INT32_MIN},
      {"  $1a", true, 26},
      {"$123456789", false, 0},
      {"$", false, 0},
      {"$G", false, 0},
      {"", false, 0},
      {"   ", false, 0},
      {"-", false, 0},
      {"+", false, 0},
      {"12abc", false, 0},
      {"400 ", false, 0},
      {"4 00", false, 0},
      {"1.5", false, 0},
      {"- 1", false, 0},
      {"\t5", false, 0},
      {"１２", false, 0},  // full-width digits are no digits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("[" + c.text + "]");
    int32_t value = 12345;
    EXPECT_EQ(TryStrToInt(c.text, value), c.ok);
    if (c.ok) {
      EXPECT_EQ(value, c.value);
    }
  }
}

}  // namespace
}  // namespace korvane
