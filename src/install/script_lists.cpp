// Reads the script's list sections into the work lists at the start of the setup run, with the
// byte tally of the sources and the shortcut filter of the options. Reading never fails and
// makes no pause and no abort check.
#include <string_view>

#include "install/setup_run.h"
#include "script/profile_routines.h"
#include "script/setup_script.h"
#include "script/system_routines.h"
#include "script/text_routines.h"
#include "startup/program.h"

namespace korvane {

namespace {

// Adds the size of one source to sum while the tally is valid; a missing source or an unusable
// size switches the tally off for the rest of the run.
void TallySource(const Platform& platform, const std::string& source, bool& valid, int64_t& sum) {
  if (!valid) return;
  std::optional<FindData> entry = FindFirstEntry(platform, source, kAttrAnyFile);
  if (!entry) {
    valid = false;
    return;
  }
  int64_t size = static_cast<int64_t>(entry->size);
  if (size < 0) {
    valid = false;
    return;
  }
  sum += size == 0 ? 1 : size;
}

// Whether the options keep a shortcut of that name: the first place token found decides.
bool KeepShortcut(const RunState& run, const std::string& name) {
  struct Place {
    std::string_view token;
    bool wanted;
  };
  const Place places[] = {{"(Dsk)", run.OptDesktop},
                          {"(Sta)", run.OptStartMenu},
                          {"(Sup)", run.OptStartUp},
                          {"(Sen)", run.OptSendTo}};
  for (const Place& place : places) {
    if (FindBytes(name, place.token) != std::string::npos) return place.wanted;
  }
  return true;
}

}  // namespace

void ReadScriptLists(Program& program) {
  const Platform& platform = program.platform();
  const std::string& script = program.state.ScriptCopyPath;
  WorkLists& lists = program.lists;
  RunState& run = program.run;
  auto read = [&](const char* section, std::string_view key, int n,
                  const std::string& defaultValue = {}) {
    return ReadProfile(platform, section, NumberedKey(key, n), defaultValue, script);
  };

  lists.FolderList.clear();
  for (int n = 1; n <= kMakeFolderLast; ++n) {
    std::string value = read("MakeFolder", "Folder", n);
    if (!value.empty()) lists.FolderList.push_back(value);
  }

  lists.FileList.clear();
  for (int n = 1; n <= kCopyFileLast; ++n) {
    std::string value = read("CopyFile", "File", n);
    if (value.empty()) continue;
    CopyFileFields fields = SplitCopyFile(value, program.state.ProgramFolder);
    std::string source = fields.sourcePath;
    if (source.compare(0, kDiskChangeMark.size(), kDiskChangeMark) == 0) {
      source.erase(0, kDiskChangeMark.size());
    }
    TallySource(platform, source, run.ByteCountValid, run.TotalBytes);
    lists.FileList.push_back({fields.sourcePath, fields.targetPath, fields.switches});
  }

  lists.ShortcutList.clear();
  for (int n = 1; n <= kShortCutLast; ++n) {
    std::string target = read("ShortCut", "Make", n);
    if (target.empty()) continue;
    std::string name = read("ShortCut", "Name", n, "Default");
    if (KeepShortcut(run, name)) lists.ShortcutList.push_back({target, name});
  }

  lists.RegistryList.clear();
  for (int n = 1; n <= kRegistryLast; ++n) {
    std::string key = read("Registry", "Key", n);
    if (key.empty()) continue;
    std::string name = read("Registry", "Name", n);
    if (name.empty()) continue;
    lists.RegistryList.push_back({key, name, read("Registry", "Value", n)});
  }

  lists.RelateList.clear();
  for (int n = 1; n <= kRelateLast; ++n) {
    std::string extension = read("Relate", "Name", n);
    if (extension.empty()) continue;
    std::string programSpec = read("Relate", "File", n);
    if (programSpec.empty()) continue;
    lists.RelateList.push_back({extension, programSpec});
  }

  lists.ScriptDeleteRegistryList.clear();
  for (int n = 1; n <= kDeleteRegistryLast; ++n) {
    std::string key = read("DeleteRegistry", "Key", n);
    if (!key.empty()) lists.ScriptDeleteRegistryList.push_back(key);
  }
}

}  // namespace korvane
