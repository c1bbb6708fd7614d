// The machine folder: its default layout, init creating only what is missing, the package
// drive, restart records, the recording clock and the single-instance mutex.
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/posix/posix_machine.h"
#include "platform/win_types.h"
#include "support/temp_machine.h"

namespace korvane::posix::testing {
namespace {

using MachineFolderTest = MachineTest;

TEST_F(MachineFolderTest, OpenCreatesTheWindows98Layout) {
  std::string dir = MachineDir();
  char link[64] = {};
  ASSERT_GT(readlink((dir + "/dosdevices/c:").c_str(), link, sizeof link - 1), 0);
  EXPECT_STREQ(link, "../drive_c");
  EXPECT_TRUE(HostExists(dir + "/registry.db"));
  std::string ini = ReadHostFile(dir + "/machine.ini");
  EXPECT_EQ(ini.rfind("[Machine]\nWindowsFolder=C:\\WINDOWS\n", 0), 0u);
  EXPECT_NE(ini.find(U8(u8"Desktop=C:\\WINDOWS\\デスクトップ\n")), std::string::npos);
  for (const std::string& folder :
       {std::string("WINDOWS"), std::string("WINDOWS/SYSTEM"), std::string("WINDOWS/TEMP"),
        std::string("WINDOWS/SendTo"), std::string("Program Files"), U8(u8"WINDOWS/デスクトップ"),
        U8(u8"WINDOWS/ｽﾀｰﾄ ﾒﾆｭｰ/ﾌﾟﾛｸﾞﾗﾑ/ｽﾀｰﾄｱｯﾌﾟ")}) {
    SCOPED_TRACE(folder);
    EXPECT_TRUE(std::filesystem::is_directory(DriveC() + "/" + folder));
  }
  Platform& p = platform();
  ASSERT_NE(p.files, nullptr);
  ASSERT_NE(p.registry, nullptr);
  ASSERT_NE(p.shell, nullptr);
  ASSERT_NE(p.lz, nullptr);
  ASSERT_NE(p.modules, nullptr);
  EXPECT_EQ(p.files->GetCurrentDirectory(), "C:\\WINDOWS");
}

TEST_F(MachineFolderTest, InitCreatesOnlyWhatIsMissing) {
  std::string dir = MachineDir();
  std::string custom = "[Machine]\nWindowsFolder=C:\\WIN98\n; mine\n";
  WriteHostFile(dir + "/machine.ini", custom);
  std::filesystem::remove_all(DriveC() + "/WINDOWS/TEMP");
  WriteHostFile(DriveC() + "/WINDOWS/keep.txt", "keep");
  std::filesystem::remove(dir + "/dosdevices/c:");
  std::string error;
  ASSERT_TRUE(InitMachineFolder(dir, error)) << error;
  EXPECT_EQ(ReadHostFile(dir + "/machine.ini"), custom);
  EXPECT_EQ(ReadHostFile(DriveC() + "/WINDOWS/keep.txt"), "keep");
  EXPECT_TRUE(std::filesystem::is_directory(DriveC() + "/WIN98"));
  EXPECT_TRUE(std::filesystem::is_directory(DriveC() + "/WINDOWS/TEMP"));  // still the default
  EXPECT_TRUE(std::filesystem::is_symlink(dir + "/dosdevices/c:"));
  ASSERT_TRUE(InitMachineFolder(dir, error)) << error;
  EXPECT_EQ(ReadHostFile(dir + "/machine.ini"), custom);
}

TEST_F(MachineFolderTest, PackageDriveIsReadOnlyAndLeavesNoLink) {
  std::string package = temp_.path() + "/pkg";
  WriteHostFile(package + "/SETUP.INI", "[Setup]\r\n");
  MachineOptions options;
  options.packageDrive = 'Q';
  options.packageHostDir = package;
  options.programFile = "Q:\\SETUP.EXE";
  Open(options);
  FileSystem& files = *platform().files;
  EXPECT_EQ(files.GetCurrentDirectory(), "Q:\\");
  std::string text;
  EXPECT_EQ(files.ReadWholeFile("setup.ini", text), kErrorSuccess);
  EXPECT_EQ(text, "[Setup]\r\n");
  EXPECT_EQ(files.WriteWholeFile("Q:\\NEW.TXT", "x"), kErrorWriteProtect);
  EXPECT_EQ(files.DeleteFile("Q:\\SETUP.INI"), kErrorWriteProtect);
  EXPECT_EQ(files.CreateDirectory("Q:\\SUB"), kErrorWriteProtect);
  EXPECT_EQ(files.CopyFile("Q:\\SETUP.INI", "C:\\SETUP.INI", false), kErrorSuccess);
  EXPECT_FALSE(platform().profiles->WriteString("A", "k", "v", "Q:\\SETUP.INI"));
  EXPECT_EQ(platform().profiles->LastError(), kErrorWriteProtect);
  EXPECT_EQ(files.LogicalDrives(), (std::vector<std::string>{"C:\\", "Q:\\"}));
  EXPECT_FALSE(HostExists(MachineDir() + "/dosdevices/q:"));

  Open();
  EXPECT_EQ(platform().files->LogicalDrives(), (std::vector<std::string>{"C:\\"}));
}

TEST_F(MachineFolderTest, MissingPackageFolderFailsToOpen) {
  MachineOptions options;
  options.machineDir = MachineDir();
  options.packageDrive = 'Q';
  options.packageHostDir = temp_.path() + "/nowhere";
  std::string error;
  EXPECT_EQ(Machine::Open(options, error), nullptr);
  EXPECT_FALSE(error.empty());
}

TEST_F(MachineFolderTest, RestartRequestIsRecordedInMachineIni) {
  EXPECT_FALSE(machine_->RestartRequested());
  platform().shell->RequestRestart();
  EXPECT_TRUE(machine_->RestartRequested());
  std::string ini = ReadHostFile(MachineDir() + "/machine.ini");
  EXPECT_NE(ini.find("RestartPending=1\r\n"), std::string::npos);
  EXPECT_EQ(ini.rfind("[Machine]\nWindowsFolder=C:\\WINDOWS\n", 0), 0u);  // the rest untouched
  Open();
  EXPECT_TRUE(machine_->RestartRequested());
}

TEST_F(MachineFolderTest, RecordingClockRecordsPausesWithoutWaiting) {
  Clock& clock = *platform().clock;
  uint64_t before = clock.TickCount();
  clock.Sleep(60000);
  clock.Sleep(250);
  EXPECT_EQ(machine_->RecordedPauses(), (std::vector<uint32_t>{60000, 250}));
  EXPECT_GE(clock.TickCount() - before, 60250u);
}

TEST_F(MachineFolderTest, MutexContendsBetweenMachinesOfOneFolder) {
  MachineOptions options;
  options.machineDir = MachineDir();
  std::string error;
  std::unique_ptr<Machine> second = Machine::Open(options, error);
  ASSERT_NE(second, nullptr) << error;
  System& first = *platform().system;
  System& other = *second->platform().system;
  EXPECT_EQ(first.AcquireMutex("KORVANESETUP"), MutexState::Acquired);
  EXPECT_EQ(other.AcquireMutex("KORVANESETUP"), MutexState::HeldByOther);
  EXPECT_EQ(other.AcquireMutex("OTHERNAME"), MutexState::Acquired);
  other.ReleaseMutex();
  first.ReleaseMutex();
  EXPECT_EQ(other.AcquireMutex("KORVANESETUP"), MutexState::Acquired);
  EXPECT_EQ(first.AcquireMutex("KORVANESETUP"), MutexState::HeldByOther);
  // The holder going away (as a process that dies) frees the mutex.
  second.reset();
  EXPECT_EQ(first.AcquireMutex("KORVANESETUP"), MutexState::Acquired);
}

}  // namespace
}  // namespace korvane::posix::testing
