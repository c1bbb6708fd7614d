// The association phase through whole setup runs: the question, the four keys below
// HKEY_CLASSES_ROOT, quoting, the restore entries of the uninstall record and their limits,
// and a former default value that is not a string.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/fault_injection.h"
#include "support/reg_text.h"
#include "support/scenario.h"

namespace korvane::testing {
namespace {

constexpr const char* kClasses = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\";
constexpr const char* kCaption = "関連付けの確認";

std::string Default(Scenario& scenario, const std::string& key) {
  return RegValueText(scenario.RegExport(), kClasses + key, "").value_or("<none>");
}

std::string RestoreEntry(Scenario& scenario, const std::string& setupFolder, int n) {
  return scenario.Profile(setupFolder + "\\UNSETUP.INI", "RestoreRelate",
                          "Key" + std::to_string(n));
}

void Import(Scenario& scenario, const std::string& regText) {
  scenario.WritePackageFile("import.reg", regText);
  RunResult result = scenario.Run({"reg", "import", scenario.PackageDir() + "/import.reg"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
}

TEST(AssociationPhase, AnsweredYesWritesTheFourKeys) {
  Scenario scenario;
  scenario.WriteScript(
      "[Title]\nSetup=Viewer\n[Relate]\n"
      "Name1=vwr,Viewer Document\nFile1=(App)\\VIEW.EXE\n"
      "Name2=vwx\nFile2=(App)\\VIEW.EXE,2\n");
  RunResult result = scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\"});
  ASSERT_EQ(result.exitCode, 0) << result.err;

  bool asked = false;
  for (const auto& ask : result.Of("ask")) {
    if (RunResult::Text(ask, "caption") != kCaption) continue;
    EXPECT_EQ(ask["style"], 36);
    if (!asked) {
      EXPECT_EQ(RunResult::Text(ask, "text"),
                "拡張子 *.vwr を\rC:\\TOOLS\\VIEWER\\VIEW.EXE\rに関連付けします．よろしいですか？");
    }
    asked = true;
  }
  EXPECT_TRUE(asked);
  EXPECT_TRUE(result.Has("message", "text", "関連付けを設定しています．．．"));

  struct Case {
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {".vwr", "\"vwr_auto_file\""},
      {"vwr_auto_file", "\"Viewer Document\""},
      {"vwr_auto_file\\DefaultIcon", "\"C:\\\\TOOLS\\\\VIEWER\\\\VIEW.EXE,0\""},
      {"vwr_auto_file\\shell\\open\\command", "\"C:\\\\TOOLS\\\\VIEWER\\\\VIEW.EXE %1\""},
      // Without a description the class is "vwx File"; the icon index stays.
      {"vwx_auto_file", "\"vwx File\""},
      {"vwx_auto_file\\DefaultIcon", "\"C:\\\\TOOLS\\\\VIEWER\\\\VIEW.EXE,2\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(Default(scenario, c.key), c.value);
  }
  // Neither extension had a key before: the restore entries hold nothing after the comma.
  EXPECT_EQ(RestoreEntry(scenario, "C:\\TOOLS\\VIEWER\\", 1), "vwr,");
  EXPECT_EQ(RestoreEntry(scenario, "C:\\TOOLS\\VIEWER\\", 2), "vwx,");
}

TEST(AssociationPhase, ProgramPathWithBlankIsQuotedOnlyInTheCommand) {
  Scenario scenario;
  scenario.WriteScript("[Title]\nSetup=Viewer\n[Relate]\nName1=vwr\nFile1=(App)\\VIEW.EXE\n");
  RunResult result = scenario.Setup({"--dir", "C:\\Program Files\\Viewer\\"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(Default(scenario, "vwr_auto_file\\shell\\open\\command"),
            "\"\\\"C:\\\\Program Files\\\\Viewer\\\\VIEW.EXE\\\" %1\"");
  EXPECT_EQ(Default(scenario, "vwr_auto_file\\DefaultIcon"),
            "\"C:\\\\Program Files\\\\Viewer\\\\VIEW.EXE,0\"");
}

TEST(AssociationPhase, AnsweredNoChangesAndRecordsNothing) {
  Scenario scenario;
  Import(scenario, "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\.txt]\n@=\"txtfile\"\n\n");
  scenario.WriteScript("[Title]\nSetup=Viewer\n[Relate]\nName1=txt\nFile1=(App)\\VIEW.EXE\n");
  // Answers go through a file: it is UTF-8 whatever the harness does with arguments.
  scenario.WritePackageFile("answers.ini", Utf8("[Answers]\n関連付けの確認=No\n"));
  RunResult result = scenario.Setup(
      {"--dir", "C:\\TOOLS\\VIEWER\\", "--answers", scenario.PackageDir() + "/answers.ini"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(result.Has("ask", "caption", kCaption));
  EXPECT_EQ(Default(scenario, ".txt"), "\"txtfile\"");
  EXPECT_FALSE(RegKeyListed(scenario.RegExport(), std::string(kClasses) + "txt_auto_file"));
  EXPECT_EQ(RestoreEntry(scenario, "C:\\TOOLS\\VIEWER\\", 1), "");
}

// The first installation's restore entry survives a second installation into the same folder,
// so that uninstalling puts back what was there before either.
TEST(AssociationPhase, FormerAssociationIsRecordedOnce) {
  Scenario scenario;
  Import(scenario, "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\.txt]\n@=\"txtfile\"\n\n");
  scenario.WriteScript("[Title]\nSetup=Viewer\n[Relate]\nName1=TXT,Text\nFile1=(App)\\VIEW.EXE\n");
  ASSERT_EQ(scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\"}).exitCode, 0);
  EXPECT_EQ(RestoreEntry(scenario, "C:\\TOOLS\\VIEWER\\", 1), "TXT,txtfile");
  EXPECT_EQ(Default(scenario, ".TXT"), "\"TXT_auto_file\"");

  // Again, with the extension in other letters: still the one entry from before the first.
  scenario.WriteScript("[Title]\nSetup=Viewer\n[Relate]\nName1=txt,Text\nFile1=(App)\\VIEW.EXE\n");
  ASSERT_EQ(scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\"}).exitCode, 0);
  EXPECT_EQ(RestoreEntry(scenario, "C:\\TOOLS\\VIEWER\\", 1), "TXT,txtfile");
  EXPECT_EQ(RestoreEntry(scenario, "C:\\TOOLS\\VIEWER\\", 2), "");
}

TEST(AssociationPhase, SixthExtensionIsAssociatedButNotRecorded) {
  Scenario scenario;
  scenario.Write("C:\\TOOLS\\VIEWER\\UNSETUP.INI",
                 "[RestoreRelate]\r\nKey1=aa,\r\nKey2=bb,\r\nKey3=cc,\r\nKey4=dd,\r\nKey5=ee,\r\n");
  scenario.WriteScript("[Title]\nSetup=Viewer\n[Relate]\nName1=ff\nFile1=(App)\\VIEW.EXE\n");
  RunResult result = scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(Default(scenario, ".ff"), "\"ff_auto_file\"");
  for (int n = 1; n <= 5; ++n) {
    EXPECT_EQ(RestoreEntry(scenario, "C:\\TOOLS\\VIEWER\\", n).rfind("ff", 0), std::string::npos);
  }
}

// Registry errors of the phase end the run at that entry: its class is not written, and
// neither the record nor the completion follows.
TEST(AssociationPhase, RegistryErrorsEndTheRun) {
  struct Case {
    const char* what;
    bool nonStringDefault;  // else the registry refuses writes below the class
    const char* errorText;
  };
  const Case cases[] = {
      {"former default not a string", true, "'' のﾃﾞｰﾀ型が不正です"},
      {"write refused", false, "'' の設定に失敗しました"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Scenario scenario;
    if (c.nonStringDefault) {
      Import(scenario, "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\.vwr]\n@=dword:00000001\n\n");
    }
    scenario.WriteScript("[Title]\nSetup=Viewer\n[Relate]\nName1=vwr\nFile1=(App)\\VIEW.EXE\n");
    RunHooks hooks = Scenario::DefaultHooks();
    if (!c.nonStringDefault) {
      hooks.wrapRegistry = [](Registry& inner) {
        auto faulty = std::make_unique<FaultInjectingRegistry>(inner);
        faulty->setValueFault = [](RootKey, const std::string& path,
                                   const std::string&) -> uint32_t {
          return path.find("vwr_auto_file") != std::string::npos ? kErrorAccessDenied : 0;
        };
        return std::unique_ptr<Registry>(std::move(faulty));
      };
    }
    RunResult result = scenario.Setup({"--dir", "C:\\TOOLS\\VIEWER\\"}, hooks);
    EXPECT_EQ(result.exitCode, 5);
    EXPECT_TRUE(result.Has("error", "text", c.errorText));
    EXPECT_EQ(RegValueText(scenario.RegExport(), std::string(kClasses) + "vwr_auto_file", ""),
              std::nullopt);
    EXPECT_FALSE(scenario.Exists("C:\\TOOLS\\VIEWER\\UNSETUP.INI"));
    EXPECT_FALSE(result.Has("ask", "caption", "完了"));
  }
}

}  // namespace
}  // namespace korvane::testing
