// The free-space check (its question, Yes and No, the limit case) through whole runs on a
// machine with a small disk, and DiskFreeBytes's choice of call and internal faults on the
// real machine's services with the version and the run-time lookup overridden.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "framework/errors.h"
#include "install/free_space_check.h"
#include "install/setup_run_support.h"
#include "platform/fault_injection.h"
#include "platform/posix/posix_machine.h"

namespace korvane::testing {
namespace {

constexpr const char* kSpaceText =
    "ディスクの空き容量が不足しているため，エラーになる可能性があります．\r"
    "このままセットアップを続行しますか？";

void WriteHundredBytePackage(Scenario& s) {
  s.WriteScript(
      "[Extend]\nSetupSpeed=30\n[DefaultFolder]\nFolder=C:\\APP\\\n[CopyFile]\n"
      "File1=(App)\\A.TXT\nFile2=(App)\\B.TXT\n");
  s.WritePackageFile("A.TXT", std::string(60, 'a'));
  s.WritePackageFile("B.TXT", std::string(40, 'b'));
}

TEST(FreeSpaceCheck, AsksWhenTheFreeSpaceIsNotAboveWhatTheFilesNeed) {
  struct Case {
    unsigned long long freeBytes;
    bool asked;
  };
  for (const Case& c : {Case{0, true}, Case{99, true}, Case{100, true}, Case{101, false}}) {
    SCOPED_TRACE(c.freeBytes);
    Scenario s;
    WriteHundredBytePackage(s);
    SetFreeBytes(s, c.freeBytes);
    RunResult r = s.Setup();
    EXPECT_EQ(r.exitCode, 0) << r.err;
    auto asks = Asks(r, "空き容量不足");
    ASSERT_EQ(asks.size(), c.asked ? 1u : 0u);
    if (c.asked) {
      EXPECT_EQ(RunResult::Text(asks[0], "text"), kSpaceText);
      EXPECT_EQ(asks[0].at("style"), 36);
    }
    // The pause after the check comes whether or not the question was asked.
    std::vector<int> pauses = Pauses(r);
    ASSERT_GE(pauses.size(), 2u);
    EXPECT_EQ(pauses[1], 30);
    EXPECT_TRUE(s.Exists("C:\\APP\\B.TXT"));
  }
}

TEST(FreeSpaceCheck, NoStopsTheRunBeforeAnythingChanges) {
  Scenario s;
  WriteHundredBytePackage(s);
  SetFreeBytes(s, 50);
  RunResult r = s.Setup({"--answer", Utf8("空き容量不足=No")});
  EXPECT_EQ(r.exitCode, 2);
  auto stop = Asks(r, "セットアップ中止");
  ASSERT_EQ(stop.size(), 1u);
  EXPECT_EQ(RunResult::Text(stop[0], "text"), "セットアップを続行できませんでした．");
  EXPECT_EQ(stop[0].at("style"), 16);
  EXPECT_FALSE(AnyMessageContains(r, "フォルダをチェックしています"));
  EXPECT_FALSE(s.Exists("C:\\APP"));
  EXPECT_EQ(Pauses(r), std::vector<int>{1000});
}

TEST(FreeSpaceCheck, SourcesOverTwoGibibytesAreCountedInFull) {
  // Two sparse files of 1.5 GiB: 3 GiB needed, 2.5 GiB free. A 32-bit sum would wrap to a
  // negative need and let the run pass without the question.
  Scenario s;
  s.WriteScript(
      "[DefaultFolder]\nFolder=C:\\APP\\\n[CopyFile]\nFile1=(App)\\BIG1.DAT\n"
      "File2=(App)\\BIG2.DAT\n");
  for (const char* name : {"BIG1.DAT", "BIG2.DAT"}) {
    s.WritePackageFile(name, "");
    std::filesystem::resize_file(std::filesystem::path(s.PackageDir()) / name, 3ull << 29);
  }
  SetFreeBytes(s, 5ull << 29);
  RunResult r = s.Setup({"--answer", Utf8("空き容量不足=No")});
  EXPECT_EQ(Asks(r, "空き容量不足").size(), 1u);
  EXPECT_EQ(r.exitCode, 2);
}

TEST(FreeSpaceCheck, ScriptWithoutFilesPassesWheneverSpaceIsLeft) {
  for (unsigned long long freeBytes : {0ull, 1ull}) {
    SCOPED_TRACE(freeBytes);
    Scenario s;
    s.WriteScript("[DefaultFolder]\nFolder=C:\\APP\\\n");
    SetFreeBytes(s, freeBytes);
    RunResult r = s.Setup();
    EXPECT_EQ(Asks(r, "空き容量不足").size(), freeBytes == 0 ? 1u : 0u);
  }
}

TEST(FreeSpaceCheck, NetworkFolderCannotBeMeasuredAndAsks) {
  Scenario s;
  WriteHundredBytePackage(s);
  RunResult r = s.Setup({"--dir", "\\\\server\\share\\APP\\", "--answer", Utf8("空き容量不足=No")});
  EXPECT_EQ(Asks(r, "空き容量不足").size(), 1u);
  EXPECT_EQ(r.exitCode, 2);
}

// The machine's System with the version answer and the run-time lookup overridden, counting
// which free-space call was made.
class VersionedSystem : public PassThroughSystem {
 public:
  using PassThroughSystem::PassThroughSystem;

  bool versionFails = false;
  OsVersionInfo version;
  DiskFreeExLookup lookup{true, true};
  int extendedCalls = 0;
  int oldCalls = 0;

  bool GetVersionEx(OsVersionInfo& info) override {
    if (versionFails) return false;
    info = version;
    return true;
  }
  DiskFreeExLookup LookupDiskFreeSpaceEx() override { return lookup; }
  bool GetDiskFreeSpaceEx(const std::string& root, uint64_t& freeToCaller, uint64_t& totalBytes,
                          uint64_t& totalFree) override {
    ++extendedCalls;
    return inner_.GetDiskFreeSpaceEx(root, freeToCaller, totalBytes, totalFree);
  }
  bool GetDiskFreeSpace(const std::string& root, uint32_t& sectorsPerCluster,
                        uint32_t& bytesPerSector, uint32_t& freeClusters,
                        uint32_t& totalClusters) override {
    ++oldCalls;
    return inner_.GetDiskFreeSpace(root, sectorsPerCluster, bytesPerSector, freeClusters,
                                   totalClusters);
  }
};

class DiskFreeBytesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetFreeBytes(scenario_, 3'000'000'000ull);
    posix::MachineOptions options;
    options.machineDir = scenario_.MachineDir();
    std::string error;
    machine_ = posix::Machine::Open(options, error);
    ASSERT_TRUE(machine_) << error;
    system_ = std::make_unique<VersionedSystem>(*machine_->platform().system);
    platform_ = machine_->platform();
    platform_.system = system_.get();
  }

  Scenario scenario_;
  std::unique_ptr<posix::Machine> machine_;
  std::unique_ptr<VersionedSystem> system_;
  Platform platform_;
};

TEST_F(DiskFreeBytesTest, VersionChoosesTheExtendedOrTheOldCall) {
  struct Case {
    const char* system;
    OsVersionInfo version;
    bool extended;
  };
  const Case cases[] = {
      {"Windows 95", {1, 4, 0, 0x040003B6}, false},
      {"Windows 95, build 1000", {1, 4, 0, 0x040003E8}, false},
      {"Windows 95 OSR2", {1, 4, 0, 0x04000457}, true},
      {"Windows 98", {1, 4, 10, 0x040A07CE}, true},
      {"Windows NT 3.51", {2, 3, 51, 1057}, false},
      {"Windows NT 4", {2, 4, 0, 1381}, true},
      {"Windows 2000", {2, 5, 0, 2195}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.system);
    system_->version = c.version;
    system_->extendedCalls = system_->oldCalls = 0;
    long double free = DiskFreeBytes(platform_, "C:");
    EXPECT_EQ(system_->extendedCalls, c.extended ? 1 : 0);
    EXPECT_EQ(system_->oldCalls, c.extended ? 0 : 1);
    EXPECT_GT(free, 0);
    if (c.extended) EXPECT_EQ(free, 3'000'000'000.0L);  // beyond 2 GiB, as the drive says
  }
}

TEST_F(DiskFreeBytesTest, UnknownDriveGivesMinusOne) {
  system_->version = {1, 4, 10, 0x040A07CE};
  EXPECT_EQ(DiskFreeBytes(platform_, "\\\\server\\share\\"), -1);
  system_->version = {1, 4, 0, 0x040003B6};
  EXPECT_EQ(DiskFreeBytes(platform_, "\\\\server\\share\\"), -1);
}

TEST_F(DiskFreeBytesTest, InternalFaultsRaiseTheSystemsAssertionMessages) {
  struct Case {
    bool versionFails;
    DiskFreeExLookup lookup;
    const char* message;
  };
  const Case cases[] = {
      {true, {true, true}, "GetVersionEx() Error! (Main.pas, line 2417)"},
      {false, {false, false}, "LoadLibrary(\"KERNEL32.DLL\") Error! (Main.pas, line 2432)"},
      {false, {true, false}, "GetProcAddress(\"GetDiskFreeSpaceExA\") Error (Main.pas, line 2434)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    system_->version = {1, 4, 10, 0x040A07CE};
    system_->versionFails = c.versionFails;
    system_->lookup = c.lookup;
    try {
      DiskFreeBytes(platform_, "C:\\");
      ADD_FAILURE() << "no fault raised";
    } catch (const AssertionFault& fault) {
      EXPECT_STREQ(fault.what(), c.message);
    }
  }
}

TEST_F(DiskFreeBytesTest, OldSystemNeverLooksForTheExtendedCall) {
  system_->version = {1, 4, 0, 0x040003B6};
  system_->lookup = {false, false};
  EXPECT_NO_THROW(DiskFreeBytes(platform_, "C:\\"));
}

}  // namespace
}  // namespace korvane::testing
