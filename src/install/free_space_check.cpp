// The free-space check and DiskFreeBytes. The check only warns: No stops the run, Yes goes on.
// DiskFreeBytes picks the extended call by the platform version and raises the system's
// assertion faults when that choice cannot be honoured; it never changes the machine.
#include "install/free_space_check.h"

#include "framework/errors.h"
#include "framework/message_box.h"
#include "install/setup_run.h"
#include "script/text_routines.h"
#include "startup/program.h"

namespace korvane {

namespace {

[[noreturn]] void Assert(const char* message, int line) {
  throw AssertionFault(std::string(message) + " (" + kAssertUnit + ", line " +
                       std::to_string(line) + ")");
}

bool UsesExtendedCall(const OsVersionInfo& info) {
  if (info.platformId == 2 && info.major >= 4) return true;
  if (info.platformId == 1 && info.minor >= 10) return true;
  return info.platformId == 1 && (info.buildNumber & 0xFFFF) > 1000;
}

}  // namespace

long double DiskFreeBytes(const Platform& platform, const std::string& path) {
  const std::string root = AddBackslash(path, kSideBack);
  long double result = -1;
  OsVersionInfo info;
  if (!platform.system->GetVersionEx(info)) Assert("GetVersionEx() Error!", kAssertLineVersion);

  if (UsesExtendedCall(info)) {
    DiskFreeExLookup lookup = platform.system->LookupDiskFreeSpaceEx();
    if (!lookup.libraryLoaded) {
      Assert("LoadLibrary(\"KERNEL32.DLL\") Error!", kAssertLineLoadLibrary);
    }
    if (!lookup.procFound) {
      Assert("GetProcAddress(\"GetDiskFreeSpaceExA\") Error", kAssertLineGetProcAddress);
    }
    uint64_t freeToCaller = 0, totalBytes = 0, totalFree = 0;
    if (platform.system->GetDiskFreeSpaceEx(root, freeToCaller, totalBytes, totalFree)) {
      result = static_cast<long double>(static_cast<int64_t>(freeToCaller));
    }
  } else {
    uint32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (platform.system->GetDiskFreeSpace(root, sectorsPerCluster, bytesPerSector, freeClusters,
                                          totalClusters)) {
      result = static_cast<long double>(static_cast<int32_t>(freeClusters)) *
               static_cast<int32_t>(sectorsPerCluster) * static_cast<int32_t>(bytesPerSector);
    }
  }
  return result;
}

void FreeSpaceCheck(Program& program) {
  TfrmMain& form = program.frmMain;
  form.ShowMessage("ディスクの空き容量をチェックしています．．．");
  form.ProcessMessages();
  long double free = DiskFreeBytes(program.platform(), LeftPart(form.txtFolder.Text(), 3));
  if (!(free > static_cast<long double>(program.run.TotalBytes))) {
    program.state.MessageText =
        "ディスクの空き容量が不足しているため，エラーになる可能性があります．\r"
        "このままセットアップを続行しますか？";
    program.state.LastAnswer = form.Ask(program.state.MessageText, "空き容量不足", kStyleQuestion);
    if (program.state.LastAnswer == kIdNo) {
      StopRun(program, "セットアップを続行できませんでした．", "セットアップ中止");
    }
  }
  PauseStep(program);
}

}  // namespace korvane
