// COM self-registration of a copied file through its DllRegisterServer export, and the name
// test for DLL and OCX files. Failures are shown in a box and otherwise ignored; nothing here
// unregisters a server or keeps the module loaded.
#include "install/com_registration.h"

#include "framework/message_box.h"
#include "script/system_routines.h"
#include "script/text_routines.h"
#include "startup/program.h"

namespace korvane {

namespace {

constexpr const char* kRegistrationCaption = "OCX/DLL登録エラー";
constexpr int kRegistrationStyle = kStyleWarning;

}  // namespace

bool RegisterOcxDll(Program& program, const std::string& path) {
  ModuleLoader& modules = *program.platform().modules;
  void* module = modules.LoadLibrary(path);
  if (!module) {
    program.frmMain.Ask(path + "の読み込みに失敗しました．", kRegistrationCaption,
                        kRegistrationStyle);
    return false;
  }
  bool registered = false;
  void* entry = modules.GetProcAddress(module, "DllRegisterServer");
  if (!entry) {
    program.frmMain.Ask(path + "のDllRegisterServerエントリが見つかりません．",
                        kRegistrationCaption, kRegistrationStyle);
  } else if (reinterpret_cast<DllRegisterServerProc>(entry)() != 0) {
    program.frmMain.Ask(path + "のDllRegisterServer関数が失敗しました．", kRegistrationCaption,
                        kRegistrationStyle);
  } else {
    registered = true;
  }
  modules.FreeLibrary(module);
  return registered;
}

bool IsOcxOrDll(const Platform& platform, const std::string& name) {
  const std::string upper = UpperCase(platform, name);
  return FindBytes(upper, ".OCX") != std::string::npos ||
         FindBytes(upper, ".DLL") != std::string::npos;
}

}  // namespace korvane
