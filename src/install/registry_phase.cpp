// The registry phase: for each RegistryList entry, creates its key below the root that the
// key's token names and writes one value of the type that the value's token selects. It records
// nothing for the uninstallation; errors raised by the registry object end the run.
#include "install/registry_phase.h"

#include <cstdint>

#include "framework/registry_object.h"
#include "install/run_macros.h"
#include "install/setup_run.h"
#include "script/folder_macros.h"
#include "script/setup_script.h"
#include "startup/program.h"

namespace korvane {

namespace {

constexpr const char* kRegistryStepText = "レジストリを設定しています．．．";

RootKey RootOfToken(const std::string& token) {
  if (token == "(Class)") return RootKey::ClassesRoot;
  if (token == "(Local)") return RootKey::LocalMachine;
  if (token == "(Users)") return RootKey::Users;
  // "(Cuser)" and any other seven characters taken as a token.
  return RootKey::CurrentUser;
}

int32_t IntegerData(const std::string& data) {
  int32_t value = 0;
  return TryStrToInt(data, value) ? value : 0;
}

void WriteEntry(TRegistry& registry, const std::string& name, const std::string& valueSpec) {
  const RegistryValueFields value = SplitRegistryValue(valueSpec);
  if (value.typeToken == "(Int)" || value.typeToken == "(Dwd)") {
    registry.WriteInteger(name, IntegerData(value.data));
  } else if (value.typeToken == "(Exp)") {
    registry.WriteExpandString(name, value.data);
  } else if (value.typeToken == "(Bin)") {
    // No text form of binary data exists: the entry only creates its key.
  } else {
    // "(Str)", or no token at all (then the data is the whole value).
    registry.WriteString(name, value.data);
  }
}

}  // namespace

void RegistryPhase(Program& program) {
  const MacroFolders folders = RunMacroFolders(program);
  for (RegistryEntry& entry : program.lists.RegistryList) {
    program.frmMain.ShowMessage(kRegistryStepText);
    CheckAbort(program);

    // The object's destructor releases it also when a write raises.
    TRegistry registry(*program.platform().registry);
    const RegistryKeyFields key = SplitRegistryKey(entry.KeySpec);
    registry.SetRootKey(RootOfToken(key.rootToken));
    registry.CreateKey(key.keyPath);
    registry.OpenKey(key.keyPath, true);

    entry.ValueSpec = ResolveRegistryMacros(entry.ValueSpec, folders);
    WriteEntry(registry, entry.ValueName, entry.ValueSpec);
    registry.CloseKey();
  }
}

}  // namespace korvane
