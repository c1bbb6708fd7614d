// The uninstall record phase and the merge of an earlier record, through whole runs: the record,
// KORVANE.INI and the uninstall entry byte for byte, the uninstaller copy by date, a second
// installation into the same folder, uninstall key names that must not name the Uninstall key,
// and a registry that refuses the uninstall entry.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "install/setup_run_support.h"
#include "platform/fault_injection.h"
#include "platform/posix/posix_machine.h"

namespace korvane::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kSetupExe = "MZ placeholder of the installer program";

// A value of the machine's registry as stored (type and raw bytes), read after the run.
struct StoredValue {
  uint32_t code = 0;
  uint32_t type = 0;
  std::string data;
};
StoredValue ReadValue(Scenario& s, RootKey root, const std::string& path, const std::string& name) {
  posix::MachineOptions options;
  options.machineDir = s.MachineDir();
  std::string error;
  auto machine = posix::Machine::Open(options, error);
  StoredValue value;
  if (!machine) {
    ADD_FAILURE() << error;
    return value;
  }
  value.code = machine->platform().registry->QueryValue(root, path, name, value.type, value.data);
  return value;
}

TEST(UninstallRecord, FirstInstallationWritesRecordInstalledProgramsAndEntryByteForByte) {
  Scenario s;
  s.WritePackageFile("SETUP.EXE", kSetupExe);
  s.WritePackageFile("VIEW.EXE", "MZ viewer");
  s.WritePackageFile("VIEW.DAT", "data");
  s.WriteScript(
      "[Title]\nSetup=Viewer\nUnSetup=Viewer アンセットアップ\nUnSetupKey=ViewerKey\n"
      "[ProgramID]\nID=VIEWER\n[DefaultFolder]\nFolder=C:\\Tools\\Viewer\\\n"
      "[MakeFolder]\nFolder1=(App)\\DATA\n"
      "[CopyFile]\nFile1=(App)\\VIEW.EXE,/L\nFile2=(App)\\DATA\\VIEW.DAT\n"
      "[ShortCut]\nMake1=(App)\\VIEW.EXE\nName1=(Sta)Viewer\n"
      "[Relate]\nName1=vwr,Viewer Document\nFile1=(App)\\VIEW.EXE\n"
      "[DeleteRegistry]\nKey1=(Cuser)Software\\Maker\\Viewer\nKey2=(Class)vwr_auto_file\n");
  RunResult r = s.Setup();
  ASSERT_EQ(r.exitCode, 0) << r.err;

  const std::string shortcut =
      s.Profile("C:\\Tools\\Viewer\\UNSETUP.INI", "DeleteShortCut", "File1");
  EXPECT_NE(shortcut.find("Viewer.lnk"), std::string::npos) << shortcut;
  const std::string expected =
      "[Information]\r\n"
      "Message1=Korvane UnSetup(UnInstall) Initialize File\r\n"
      "Message2=！！！　警告　！！！\r\n"
      "Message3=このファイルをエディタなどで書き換えたり，削除しないでください．\r\n"
      "Message4=書き換えた場合，アンセットアップ動作の保証はできません．\r\n"
      "\r\n[Title]\r\nUnSetup=Viewer アンセットアップ\r\n"
      "\r\n[SetupFolder]\r\nFolder=C:\\Tools\\Viewer\\\r\n"
      "\r\n[ProgramID]\r\nID=VIEWER\r\n"
      "\r\n[DeleteFolder]\r\nFolder1=C:\\Tools\\Viewer\\DATA\\\r\n"
      "\r\n[DeleteFile]\r\n"
      "File1=C:\\Tools\\Viewer\\VIEW.EXE,/L\r\n"
      "File2=C:\\Tools\\Viewer\\DATA\\VIEW.DAT\r\n"
      "File3=C:\\Tools\\Viewer\\UNSETUP.INI\r\n"
      "\r\n[DeleteShortCut]\r\nFile1=" +
      shortcut +
      "\r\n"
      "\r\n[DeleteRegistry]\r\nKey1=(Cuser)Software\\Maker\\Viewer\r\nKey2=(Class)vwr_auto_file\r\n"
      "\r\n[RestoreRelate]\r\nKey1=vwr,\r\n"
      "\r\n[UnSetupRegistryKey]\r\n"
      "Key=SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ViewerKey\r\n";
  EXPECT_EQ(s.Read("C:\\Tools\\Viewer\\UNSETUP.INI"), expected);
  EXPECT_EQ(s.Read("C:\\WINDOWS\\KORVANE.INI"), "[VIEWER]\r\nFolder=C:\\Tools\\Viewer\\\r\n");
  EXPECT_EQ(s.Read("C:\\WINDOWS\\UNKORVANE.EXE"), kSetupExe);

  const std::string key = std::string(kUninstall) + "\\ViewerKey";
  StoredValue name = ReadValue(s, RootKey::LocalMachine, key, "DisplayName");
  EXPECT_EQ(name.code, 0u);
  EXPECT_EQ(name.type, kRegSz);
  EXPECT_EQ(name.data, std::string("ViewerKey") + '\0');
  StoredValue command = ReadValue(s, RootKey::LocalMachine, key, "UninstallString");
  EXPECT_EQ(command.type, kRegSz);
  EXPECT_EQ(command.data,
            std::string("C:\\WINDOWS\\UNKORVANE.EXE \"C:\\Tools\\Viewer\\UNSETUP.INI\"") + '\0');
  EXPECT_EQ(
      s.Run({"programs"}).out,
      "ViewerKey\tViewerKey\tC:\\WINDOWS\\UNKORVANE.EXE \"C:\\Tools\\Viewer\\UNSETUP.INI\"\n");
}

TEST(UninstallRecord, FolderWithoutBackslashKeepsItsTextAndGetsOneBeforeTheRecordName) {
  Scenario s;
  s.Write("C:\\Tools\\Viewer\\KEEP.TXT", "");
  s.WriteScript("[Title]\nSetup=Viewer\n[ProgramID]\nID=VIEWER\n");
  RunResult r = s.Setup({"--dir", "C:\\Tools\\Viewer"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::string record = "C:\\Tools\\Viewer\\UNSETUP.INI";
  EXPECT_EQ(s.Profile(record, "SetupFolder", "Folder"), "C:\\Tools\\Viewer");
  EXPECT_EQ(s.Profile(record, "DeleteFile", "File1"), record);
  EXPECT_EQ(s.Profile("C:\\WINDOWS\\KORVANE.INI", "VIEWER", "Folder"), "C:\\Tools\\Viewer");
  EXPECT_EQ(
      ReadValue(s, RootKey::LocalMachine, std::string(kUninstall) + "\\Viewer", "UninstallString")
          .data,
      std::string("C:\\WINDOWS\\UNKORVANE.EXE \"") + record + "\"" + '\0');
}

TEST(UninstallRecord, EmptyProgramIdWritesAnEmptyIdAndNoInstalledProgramsEntry) {
  Scenario s;
  s.WriteScript("[Title]\nSetup=Viewer\n[DefaultFolder]\nFolder=C:\\APP\\\n");
  RunResult r = s.Setup();
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(s.Read("C:\\APP\\UNSETUP.INI").find("\r\n[ProgramID]\r\nID=\r\n"), std::string::npos);
  EXPECT_FALSE(s.Exists("C:\\WINDOWS\\KORVANE.INI"));
}

TEST(UninstallRecord, UninstallerCopyIsRefreshedOnlyFromANewerSetupProgram) {
  enum class Existing { None, Older, Same, Newer };
  struct Case {
    const char* name;
    bool setupExe;
    Existing existing;
    bool copied;
  };
  const Case cases[] = {
      {"no uninstaller yet", true, Existing::None, true},
      {"older uninstaller", true, Existing::Older, true},
      {"as old", true, Existing::Same, false},
      {"newer uninstaller", true, Existing::Newer, false},
      {"no SETUP.EXE beside the program", false, Existing::None, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scenario s;
    s.WriteScript("[Title]\nSetup=Viewer\n[DefaultFolder]\nFolder=C:\\APP\\\n");
    if (c.setupExe) s.WritePackageFile("SETUP.EXE", kSetupExe);
    if (c.existing != Existing::None) {
      s.Write("C:\\WINDOWS\\UNKORVANE.EXE", "earlier uninstaller");
      const auto stamp = fs::last_write_time(fs::path(s.PackageDir()) / "SETUP.EXE");
      const auto shift = c.existing == Existing::Older   ? -std::chrono::hours(24)
                         : c.existing == Existing::Newer ? std::chrono::hours(24)
                                                         : std::chrono::hours(0);
      fs::last_write_time(s.HostPath("C:\\WINDOWS\\UNKORVANE.EXE"), stamp + shift);
    }
    RunResult r = s.Setup();
    EXPECT_EQ(r.exitCode, 0) << r.err;  // never a failure line
    if (c.copied) {
      EXPECT_EQ(s.Read("C:\\WINDOWS\\UNKORVANE.EXE"), kSetupExe);
    } else if (c.existing != Existing::None) {
      EXPECT_EQ(s.Read("C:\\WINDOWS\\UNKORVANE.EXE"), "earlier uninstaller");
    } else {
      EXPECT_FALSE(s.Exists("C:\\WINDOWS\\UNKORVANE.EXE"));
    }
    // The entry names the uninstaller copy whatever happened to it.
    EXPECT_EQ(
        ReadValue(s, RootKey::LocalMachine, std::string(kUninstall) + "\\Viewer", "UninstallString")
            .data,
        std::string("C:\\WINDOWS\\UNKORVANE.EXE \"C:\\APP\\UNSETUP.INI\"") + '\0');
  }
}

TEST(UninstallRecord, SecondInstallationMergesTheEarlierRecord) {
  Scenario s;
  for (const char* name : {"A.TXT", "B.TXT", "C.TXT"}) s.WritePackageFile(name, name);
  s.WriteScript(
      "[Title]\nSetup=Viewer\n[DefaultFolder]\nFolder=C:\\APP\\\n[MakeFolder]\n"
      "Folder1=(App)\\DATA\n[CopyFile]\nFile1=(App)\\A.TXT,/L\nFile2=(App)\\B.TXT\n"
      "[DeleteRegistry]\nKey1=(Cuser)Software\\Maker\n");
  ASSERT_EQ(s.Setup().exitCode, 0);

  s.WriteScript(
      "[Title]\nSetup=Viewer\n[DefaultFolder]\nFolder=C:\\APP\\\n[MakeFolder]\n"
      "Folder1=(App)\\data\nFolder2=(App)\\MORE\n[CopyFile]\nFile1=(App)\\B.TXT\n"
      "File2=(App)\\a.txt\nFile3=(App)\\C.TXT\n"
      "[DeleteRegistry]\nKey1=(Cuser)software\\maker\nKey2=(Local)SOFTWARE\\Maker\n");
  RunResult r = s.Setup();
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Asks(r, "フォルダ作成").empty());

  const std::string record = "C:\\APP\\UNSETUP.INI";
  auto value = [&](const char* section, const std::string& key) {
    return s.Profile(record, section, key);
  };
  EXPECT_EQ(value("DeleteFolder", "Folder1"), "C:\\APP\\DATA\\");
  EXPECT_EQ(value("DeleteFolder", "Folder2"), "C:\\APP\\MORE\\");
  EXPECT_EQ(value("DeleteFolder", "Folder3"), "");
  // The earlier entries keep their slots; switches are those of this installation.
  EXPECT_EQ(value("DeleteFile", "File1"), "C:\\APP\\a.txt");
  EXPECT_EQ(value("DeleteFile", "File2"), "C:\\APP\\B.TXT");
  EXPECT_EQ(value("DeleteFile", "File3"), "C:\\APP\\UNSETUP.INI");
  EXPECT_EQ(value("DeleteFile", "File4"), "C:\\APP\\C.TXT");
  EXPECT_EQ(value("DeleteFile", "File5"), "");
  EXPECT_EQ(value("DeleteRegistry", "Key1"), "(Cuser)Software\\Maker");
  EXPECT_EQ(value("DeleteRegistry", "Key2"), "(Local)SOFTWARE\\Maker");
  EXPECT_EQ(value("DeleteRegistry", "Key3"), "");
}

TEST(UninstallRecord, RecordNamedInTheFileListIsNotAddedAgain) {
  Scenario s;
  s.WritePackageFile("UNSETUP.INI", "[Note]\r\nx=1\r\n");
  s.WriteScript(
      "[DefaultFolder]\nFolder=C:\\APP\\\n[MakeFolder]\nFolder1=(App)\\DOC\n"
      "[CopyFile]\nFile1=(App)\\DOC\\UNSETUP.INI\n");
  RunResult r = s.Setup();
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(s.Profile("C:\\APP\\UNSETUP.INI", "DeleteFile", "File1"), "C:\\APP\\DOC\\UNSETUP.INI");
  EXPECT_EQ(s.Profile("C:\\APP\\UNSETUP.INI", "DeleteFile", "File2"), "");
}

TEST(UninstallRecord, UninstallKeyNameAndItsEmptyForms) {
  struct Case {
    const char* name;
    const char* title;
    const char* key;  // "" for no entry at all
  };
  const Case cases[] = {
      {"UnSetupKey given", "Setup=Viewer\nUnSetup=Viewer Remover\nUnSetupKey=ViewerKey\n",
       "ViewerKey"},
      {"UnSetupKey missing: the uninstall title", "Setup=Viewer\nUnSetup=Viewer Remover\n",
       "Viewer Remover"},
      {"UnSetupKey present but empty", "Setup=Viewer\nUnSetupKey=\n", ""},
      {"every title empty", "Setup=\n", ""},
      {"backslash only", "Setup=Viewer\nUnSetupKey=\\\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scenario s;
    s.WriteScript(std::string("[Title]\n") + c.title + "[DefaultFolder]\nFolder=C:\\APP\\\n");
    RunResult r = s.Setup();
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string record = s.Read("C:\\APP\\UNSETUP.INI");
    EXPECT_NE(record.find("File1=C:\\APP\\UNSETUP.INI"), std::string::npos);
    std::string programs = s.Run({"programs"}).out;
    if (*c.key) {
      EXPECT_EQ(s.Profile("C:\\APP\\UNSETUP.INI", "UnSetupRegistryKey", "Key"),
                std::string(kUninstall) + "\\" + c.key);
      EXPECT_EQ(programs.substr(0, programs.find('\t')), c.key);
    } else {
      EXPECT_EQ(record.find("UnSetupRegistryKey"), std::string::npos) << record;
      EXPECT_EQ(programs, "");
      EXPECT_EQ(ReadValue(s, RootKey::LocalMachine, kUninstall, "DisplayName").code, 2u);
    }
  }
}

TEST(UninstallRecord, RefusedUninstallEntryEndsTheRunWithTheRegistryError) {
  struct Case {
    const char* name;
    bool refuseKey;
    const char* message;
  };
  const Case cases[] = {
      {"key", true,
       "ｷｰ SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Viewer の作成に失敗しました"},
      {"value", false, "'UninstallString' の設定に失敗しました"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scenario s;
    s.WriteScript("[Title]\nSetup=Viewer\n[DefaultFolder]\nFolder=C:\\APP\\\n");
    RunHooks hooks = Scenario::DefaultHooks();
    const bool refuseKey = c.refuseKey;
    hooks.wrapRegistry = [refuseKey](Registry& inner) -> std::unique_ptr<Registry> {
      auto faulty = std::make_unique<FaultInjectingRegistry>(inner);
      if (refuseKey) {
        faulty->createKeyFault = [](RootKey root, const std::string& path) -> uint32_t {
          return path.find("Uninstall\\Viewer") != std::string::npos ? 5 : 0;
        };
      } else {
        faulty->setValueFault = [](RootKey, const std::string&, const std::string& name) {
          return name == "UninstallString" ? 5u : 0u;
        };
      }
      return faulty;
    };
    RunResult r = s.Setup({}, hooks);
    EXPECT_EQ(r.exitCode, 5);
    auto errors = r.Of("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(RunResult::Text(errors[0], "text"), c.message);
    auto ends = r.Of("end");
    ASSERT_FALSE(ends.empty());
    EXPECT_EQ(ends.back().at("exit"), 5);
    EXPECT_TRUE(Asks(r, "完了").empty());
    // The record was complete before the entry was made.
    EXPECT_EQ(s.Profile("C:\\APP\\UNSETUP.INI", "UnSetupRegistryKey", "Key"),
              std::string(kUninstall) + "\\Viewer");
  }
}

}  // namespace
}  // namespace korvane::testing
