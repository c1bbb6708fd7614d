// The registry steps of the uninstall run: the recorded keys (deleted again while they still
// exist), the former file associations, and the program's uninstall entry. None of them reports
// anything, and none may ever act on a root key or on the Uninstall key as a whole.
#include <string>

#include "framework/registry_object.h"
#include "script/profile_routines.h"
#include "script/system_routines.h"
#include "script/text_routines.h"
#include "startup/program.h"
#include "uninstall/uninstall_record.h"
#include "uninstall/uninstall_steps.h"

namespace korvane {
namespace {

constexpr int kRootTokenLength = 7;
constexpr int kMaxKeyDeletions = 99;

// A key path that is empty or only backslashes would make the deletion act on the root.
bool NamesNoKey(const std::string& keyPath) {
  return keyPath.find_first_not_of('\\') == std::string::npos;
}

// The root and key path of a [DeleteRegistry] entry; an unknown token means HKEY_CURRENT_USER
// and the whole entry as the path.
void SplitRecordedKey(const std::string& entry, RootKey& root, std::string& keyPath) {
  const std::string token = entry.substr(0, kRootTokenLength);
  keyPath = entry.size() > kRootTokenLength ? entry.substr(kRootTokenLength) : std::string();
  if (token == "(Class)") {
    root = RootKey::ClassesRoot;
  } else if (token == "(Cuser)") {
    root = RootKey::CurrentUser;
  } else if (token == "(Local)") {
    root = RootKey::LocalMachine;
  } else if (token == "(Users)") {
    root = RootKey::Users;
  } else {
    root = RootKey::CurrentUser;
    keyPath = entry;
  }
}

}  // namespace

void DeleteRecordedRegistryKeys(Program& program) {
  for (const std::string& entry : program.undo.DeleteRegistryList) {
    if (entry.empty()) continue;
    RootKey root;
    std::string keyPath;
    SplitRecordedKey(entry, root, keyPath);
    if (NamesNoKey(keyPath)) continue;
    TRegistry registry(*program.platform().registry);
    registry.SetRootKey(root);
    // A deletion may leave the key behind (a subkey made meanwhile); try again a bounded number
    // of times.
    int deletions = 0;
    do {
      registry.DeleteKey(keyPath);
      ++deletions;
    } while (deletions < kMaxKeyDeletions && registry.KeyExists(keyPath));
  }
}

void RestoreAssociations(Program& program) {
  for (const std::string& entry : program.undo.RestoreRelateList) {
    if (entry.empty()) continue;
    const size_t comma = entry.find(',');
    const std::string extension = entry.substr(0, comma);
    const std::string former = comma == std::string::npos ? std::string() : entry.substr(comma + 1);
    const std::string key = "." + extension;
    TRegistry registry(*program.platform().registry);
    registry.SetRootKey(RootKey::ClassesRoot);
    if (!former.empty() && registry.KeyExists(key)) {
      if (registry.OpenKey(key, false)) registry.WriteString("", former);
    } else if (registry.KeyExists(key)) {
      registry.DeleteKey(key);
    }
    registry.CloseKey();
  }
}

void DeleteUninstallEntry(Program& program, const std::string& record) {
  const Platform& platform = program.platform();
  const std::string keyPath = ReadProfile(platform, "UnSetupRegistryKey", "Key", "", record);
  if (NamesNoKey(keyPath)) return;
  // A record must never take every program's uninstall entry with it.
  const std::string uninstallKey = RemoveBackslash(kUninstallKeyPrefix, kSideBack);
  std::string named = keyPath;
  for (std::string shorter; (shorter = RemoveBackslash(named, kSideBack)) != named;)
    named = shorter;
  for (std::string shorter; (shorter = RemoveBackslash(named, kSideFront)) != named;)
    named = shorter;
  if (SameText(platform, named, uninstallKey)) return;

  TRegistry registry(*platform.registry);
  registry.SetRootKey(RootKey::LocalMachine);
  registry.DeleteKey(keyPath);
  registry.CloseKey();
}

}  // namespace korvane
