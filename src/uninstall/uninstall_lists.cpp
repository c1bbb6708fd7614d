// Reading the uninstall record into the undo lists for the uninstall run: the orders in which
// the lists are read, the switch written first of a file entry, and the sparing of shared DLL
// and OCX files in the Windows and system folders. Nothing on the machine is changed here.
#include <string>
#include <vector>

#include "install/com_registration.h"
#include "script/profile_routines.h"
#include "script/setup_script.h"
#include "script/system_routines.h"
#include "script/text_routines.h"
#include "startup/program.h"
#include "uninstall/uninstall_steps.h"

namespace korvane {
namespace {

// The switches the run knows; only the one written first counts.
constexpr std::string_view kSwitchForce = "/F";
constexpr std::string_view kSwitchConfirm = "/C";

// Whether a path is the same as another in a list, comparing only the path parts.
bool HoldsPath(const Platform& platform, const std::vector<std::string>& list,
               const std::string& path) {
  const std::string wanted = UpperCase(platform, path);
  for (const std::string& slot : list) {
    if (!slot.empty() && UpperCase(platform, SplitUninstallFileEntry(slot).path) == wanted) {
      return true;
    }
  }
  return false;
}

// Reads Name<last> down to Name<first> (or upward when first < last) into the list.
void ReadNumbered(Program& program, const std::string& record, const std::string& section,
                  const std::string& name, int from, int to, std::vector<std::string>& list) {
  const int step = from <= to ? 1 : -1;
  for (int n = from;; n += step) {
    const std::string value =
        ReadProfile(program.platform(), section, NumberedKey(name, n), "", record);
    if (!value.empty()) AddUnlessPresent(program.platform(), list, value);
    if (n == to) break;
  }
}

}  // namespace

UninstallFileEntry SplitUninstallFileEntry(const std::string& entry) {
  const size_t comma = entry.find(',');
  if (comma == std::string::npos) return {entry, {}};
  return {entry.substr(0, comma), entry.substr(comma, 3)};
}

bool IsSparedSharedFile(const Program& program, const UninstallFileEntry& entry) {
  if (FindBytes(entry.switchText, kSwitchForce) != std::string::npos ||
      FindBytes(entry.switchText, kSwitchConfirm) != std::string::npos) {
    return false;
  }
  const Platform& platform = program.platform();
  if (!IsOcxOrDll(platform, entry.path)) return false;
  // A containment test, not a prefix test: C:\WINDOWSAPPS\X.DLL counts as inside C:\WINDOWS.
  const std::string path = UpperCase(platform, entry.path);
  return FindBytes(path, UpperCase(platform, program.state.WindowsFolder)) != std::string::npos ||
         FindBytes(path, UpperCase(platform, program.state.SystemFolder)) != std::string::npos;
}

void ReadUninstallLists(Program& program, const std::string& record) {
  UndoLists& undo = program.undo;
  // Later folders first, so that a folder made inside an earlier one goes before it.
  ReadNumbered(program, record, "DeleteFolder", "Folder", kDeleteFolderSlots, 1,
               undo.DeleteFolderList);

  for (int n = 1; n <= kDeleteFileSlots; ++n) {
    const std::string value =
        ReadProfile(program.platform(), "DeleteFile", NumberedKey("File", n), "", record);
    if (value.empty()) continue;
    const UninstallFileEntry entry = SplitUninstallFileEntry(value);
    if (IsSparedSharedFile(program, entry)) continue;
    if (HoldsPath(program.platform(), undo.DeleteFileList, entry.path)) continue;
    for (std::string& slot : undo.DeleteFileList) {
      if (slot.empty()) {
        slot = value;
        break;
      }
    }
  }

  ReadNumbered(program, record, "DeleteShortCut", "File", 1, kDeleteShortCutSlots,
               undo.DeleteShortCutList);
  ReadNumbered(program, record, "DeleteRegistry", "Key", kDeleteRegistrySlots, 1,
               undo.DeleteRegistryList);
  ReadNumbered(program, record, "RestoreRelate", "Key", kRestoreRelateSlots, 1,
               undo.RestoreRelateList);
}

}  // namespace korvane
