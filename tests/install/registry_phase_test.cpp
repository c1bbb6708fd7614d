// The registry phase through whole setup runs on a real machine folder: key roots and their
// token quirks, value types and macros, and registry errors that end the run.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/fault_injection.h"
#include "support/reg_text.h"
#include "support/scenario.h"

namespace korvane::testing {
namespace {

constexpr const char* kHkcu = "HKEY_CURRENT_USER";
constexpr const char* kHklm = "HKEY_LOCAL_MACHINE";
constexpr const char* kHkcr = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes";
constexpr const char* kHku = "HKEY_USERS";

std::string RegistryScript(const std::vector<std::vector<std::string>>& entries) {
  std::string script = "[Title]\nSetup=Viewer\n[Registry]\n";
  int n = 1;
  for (const auto& e : entries) {
    const std::string num = std::to_string(n++);
    script += "Key" + num + "=" + e[0] + "\n";
    script += "Name" + num + "=" + e[1] + "\n";
    if (e.size() > 2) script += "Value" + num + "=" + e[2] + "\n";
  }
  return script;
}

TEST(RegistryPhase, RootTokensAndKeyPaths) {
  struct Case {
    const char* keySpec;
    const char* root;
    const char* path;
  };
  const Case cases[] = {
      {"Software\\Maker\\Viewer", kHkcu, "Software\\Maker\\Viewer"},
      {"(Cuser)Software\\Maker\\Explicit", kHkcu, "Software\\Maker\\Explicit"},
      // One backslash on each side is trimmed.
      {"(Local)\\SOFTWARE\\Maker\\Viewer\\", kHklm, "SOFTWARE\\Maker\\Viewer"},
      // A lower-case token still begins with "(": its seven bytes are lost below HKCU.
      {"(local)SOFTWARE\\Maker", kHkcu, "SOFTWARE\\Maker"},
      // ")" as the seventh byte alone makes a token too.
      {"ABCDEF)Soft\\Seven", kHkcu, "Soft\\Seven"},
      {"(Class)ViewerClass", kHkcr, "ViewerClass"},
      {"(Users).DEFAULT\\Software\\Maker", kHku, ".DEFAULT\\Software\\Maker"},
  };
  std::vector<std::vector<std::string>> entries;
  int n = 0;
  for (const Case& c : cases) entries.push_back({c.keySpec, "V" + std::to_string(n++), "x"});

  Scenario scenario;
  scenario.WriteScript(RegistryScript(entries));
  RunResult result = scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(result.Has("message", "text", "レジストリを設定しています．．．"));

  const std::string exported = scenario.RegExport();
  n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keySpec);
    const std::string key = std::string(c.root) + "\\" + c.path;
    EXPECT_EQ(RegValueText(exported, key, "V" + std::to_string(n++)), "\"x\"") << exported;
  }
}

TEST(RegistryPhase, ValueTypesAndMacros) {
  struct Case {
    const char* name;
    const char* valueSpec;
    std::optional<std::string> exported;  // nothing: no value written
  };
  const Case cases[] = {
      {"Path", "(Str)(App)VIEW.EXE", "\"C:\\\\TOOLS\\\\VIEWER\\\\VIEW.EXE\""},
      {"Hex", "(Dwd)$10", "dword:00000010"},
      {"HexAll", "(Dwd)$FFFFFFFF", "dword:ffffffff"},
      {"Decimal", "(Int) 1234", "dword:000004d2"},
      {"Minus", "(Int)-1", "dword:ffffffff"},
      {"Garbage", "(Int)12abc", "dword:00000000"},
      {"NoData", "(Int)", "dword:00000000"},
      {"Expand", "(Exp)(Win)\\TEMP", "hex(2):43,3a,5c,57,49,4e,44,4f,57,53,5c,54,45,4d,50,00"},
      {"Plain", "Hello", "\"Hello\""},
      {"Empty", "", "\"\""},
      {"LowerToken", "(str)x", "\"(str)x\""},
      // The temporary-folder macro is not a registry macro.
      {"Temp", "(Str)(Tmp)\\X", "\"(Tmp)\\\\X\""},
      {"Drives", "(Str)(Boo)|(Set)", "\"C:\\\\|C:\\\\\""},
      {"Binary", "(Bin)01,02", std::nullopt},
  };
  std::vector<std::vector<std::string>> entries;
  for (const Case& c : cases) entries.push_back({"Software\\Maker\\Viewer", c.name, c.valueSpec});
  // Two entries for one name: the second wins.
  entries.push_back({"Software\\Maker\\Viewer", "Twice", "(Str)first"});
  entries.push_back({"Software\\Maker\\Viewer", "Twice", "(Str)second"});
  // A key made only by a (Bin) entry still exists.
  entries.push_back({"Software\\Maker\\OnlyBinary", "Blob", "(Bin)"});

  Scenario scenario;
  scenario.WriteScript(RegistryScript(entries));
  RunResult result = scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\"});
  ASSERT_EQ(result.exitCode, 0) << result.err;

  const std::string exported = scenario.RegExport();
  const std::string key = std::string(kHkcu) + "\\Software\\Maker\\Viewer";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RegValueText(exported, key, c.name), c.exported) << exported;
  }
  EXPECT_EQ(RegValueText(exported, key, "Twice"), "\"second\"");
  EXPECT_TRUE(RegKeyListed(exported, std::string(kHkcu) + "\\Software\\Maker\\OnlyBinary"));
  EXPECT_EQ(RegValueText(exported, std::string(kHkcu) + "\\Software\\Maker\\OnlyBinary", "Blob"),
            std::nullopt);
}

// A registry that refuses one change ends the run there: the error is shown and reported,
// later entries, the uninstall record and the completion do not happen.
TEST(RegistryPhase, RefusedWriteEndsTheRun) {
  struct Case {
    const char* what;
    bool failCreate;
    const char* errorText;
  };
  const Case cases[] = {
      {"value", false, "'Refused' の設定に失敗しました"},
      {"key", true, "ｷｰ Software\\Maker\\Locked の作成に失敗しました"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Scenario scenario;
    scenario.WriteScript(RegistryScript({{"Software\\Maker\\Before", "Done", "(Str)yes"},
                                         {"Software\\Maker\\Locked", "Refused", "(Str)no"},
                                         {"Software\\Maker\\After", "Later", "(Str)no"}}) +
                         "[ExecuteFile]\nFile=NOTEPAD.EXE\n");
    RunHooks hooks = Scenario::DefaultHooks();
    const bool failCreate = c.failCreate;
    hooks.wrapRegistry = [failCreate](Registry& inner) {
      auto faulty = std::make_unique<FaultInjectingRegistry>(inner);
      auto locked = [](const std::string& path) {
        return path.find("Locked") != std::string::npos;
      };
      if (failCreate) {
        faulty->createKeyFault = [locked](RootKey, const std::string& path) -> uint32_t {
          return locked(path) ? kErrorAccessDenied : 0;
        };
      } else {
        faulty->setValueFault = [locked](RootKey, const std::string& path,
                                         const std::string&) -> uint32_t {
          return locked(path) ? kErrorAccessDenied : 0;
        };
      }
      return std::unique_ptr<Registry>(std::move(faulty));
    };
    RunResult result = scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\"}, hooks);

    EXPECT_EQ(result.exitCode, 5);
    EXPECT_TRUE(result.Has("error", "text", c.errorText));
    const std::string exported = scenario.RegExport();
    EXPECT_EQ(RegValueText(exported, std::string(kHkcu) + "\\Software\\Maker\\Before", "Done"),
              "\"yes\"");
    EXPECT_FALSE(RegKeyListed(exported, std::string(kHkcu) + "\\Software\\Maker\\After"));
    EXPECT_FALSE(scenario.Exists("C:\\TOOLS\\VIEWER\\UNSETUP.INI"));
    EXPECT_TRUE(result.Of("execute").empty());
    for (const std::string& caption : result.AskCaptions()) EXPECT_NE(caption, "完了");
  }
}

}  // namespace
}  // namespace korvane::testing
