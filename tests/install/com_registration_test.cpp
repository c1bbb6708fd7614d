// COM self-registration of "/R" files through whole runs, with shared objects standing in for
// COM servers (one that registers, one that answers S_FALSE, one without the entry) and a file
// that cannot be loaded; and the DLL/OCX name test.
#include "install/com_registration.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "install/setup_run_support.h"
#include "platform/posix/posix_machine.h"

namespace korvane::testing {
namespace {

std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(KORVANE_FIXTURE_DIR) + "/" + name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  EXPECT_FALSE(bytes.str().empty()) << name;
  return bytes.str();
}

constexpr const char* kCaption = "OCX/DLL登録エラー";

TEST(ComRegistration, EachFailureShowsItsMessageAndTheFileStaysRecorded) {
  Scenario s;
  s.WritePackageFile("OK.DLL", Fixture("regsrv_ok.so"));
  s.WritePackageFile("FALSE.OCX", Fixture("regsrv_false.so"));
  s.WritePackageFile("NONE.DLL", Fixture("regsrv_none.so"));
  s.WritePackageFile("TEXT.DLL", "not a module at all");
  s.WriteScript(
      "[DefaultFolder]\nFolder=C:\\APP\\\n[CopyFile]\n"
      "File1=(Sys)\\OK.DLL,/R\nFile2=(Sys)\\FALSE.OCX,/R\nFile3=(Sys)\\NONE.DLL,/F/R\n"
      "File4=(Sys)\\TEXT.DLL,/R\n");
  RunResult r = s.Setup();
  EXPECT_EQ(r.exitCode, 0) << r.err;  // registration failures are not failures of the run
  auto asks = Asks(r, kCaption);
  ASSERT_EQ(asks.size(), 3u);
  EXPECT_EQ(RunResult::Text(asks[0], "text"),
            "C:\\WINDOWS\\SYSTEM\\FALSE.OCXのDllRegisterServer関数が失敗しました．");
  EXPECT_EQ(RunResult::Text(asks[1], "text"),
            "C:\\WINDOWS\\SYSTEM\\NONE.DLLのDllRegisterServerエントリが見つかりません．");
  EXPECT_EQ(RunResult::Text(asks[2], "text"),
            "C:\\WINDOWS\\SYSTEM\\TEXT.DLLの読み込みに失敗しました．");
  for (const auto& ask : asks) EXPECT_EQ(ask.at("style"), 48);
  const std::string record = "C:\\APP\\UNSETUP.INI";
  EXPECT_EQ(s.Profile(record, "DeleteFile", "File2"), "C:\\WINDOWS\\SYSTEM\\FALSE.OCX,/R");
  EXPECT_EQ(s.Profile(record, "DeleteFile", "File4"), "C:\\WINDOWS\\SYSTEM\\TEXT.DLL,/R");
}

TEST(ComRegistration, OnlyAnUpperCaseSwitchOfACopiedOrKeptFileRegisters) {
  struct Case {
    const char* name;
    const char* copyFile;
    bool packaged;      // the source is in the package
    bool targetBefore;  // a file is at the target before the run
    const char* overwrite;
    bool registered;
  };
  const Case cases[] = {
      {"lower-case switch", "(Sys)\\FALSE.DLL,/r", true, false, "yes", false},
      {"overwrite declined: the kept file", "(Sys)\\FALSE.DLL,/R", true, true, "no", true},
      {"missing source, file at target", "(Sys)\\FALSE.DLL,/R", false, true, "yes", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Scenario s;
    if (c.packaged) s.WritePackageFile("FALSE.DLL", Fixture("regsrv_false.so"));
    if (c.targetBefore) s.Write("C:\\WINDOWS\\SYSTEM\\FALSE.DLL", Fixture("regsrv_false.so"));
    s.WriteScript(std::string("[DefaultFolder]\nFolder=C:\\APP\\\n[CopyFile]\nFile1=") +
                  c.copyFile + "\n");
    RunResult r = s.Setup({"--overwrite", c.overwrite});
    EXPECT_EQ(Asks(r, kCaption).size(), c.registered ? 1u : 0u);
  }
}

TEST(ComRegistration, IsOcxOrDllLooksAnywhereInTheUpperCasedPath) {
  Scenario s;
  s.Run({"init"});
  posix::MachineOptions options;
  options.machineDir = s.MachineDir();
  std::string error;
  auto machine = posix::Machine::Open(options, error);
  ASSERT_TRUE(machine) << error;
  struct Case {
    const char* name;
    bool dllOrOcx;
  };
  for (const Case& c :
       {Case{"C:\\WINDOWS\\SYSTEM\\VBRUN.DLL", true}, Case{"comctl.ocx", true},
        Case{"mixed.Dll", true}, Case{"C:\\LIB.DLL\\README.TXT", true}, Case{"C:\\X.OCXX", true},
        Case{"C:\\APP\\VIEW.EXE", false}, Case{"C:\\APP\\DLL", false}, Case{"", false}}) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsOcxOrDll(machine->platform(), c.name), c.dllOrOcx);
  }
}

}  // namespace
}  // namespace korvane::testing
