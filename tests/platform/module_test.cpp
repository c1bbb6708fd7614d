// The module loader on the real machine: shared objects copied onto drive C: load and give
// their self-registration entry; Windows modules and other files do not load.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/module_loader.h"
#include "platform/service_machine.h"

namespace korvane {
namespace {

std::string Fixture(const std::string& name) {
  std::ifstream in(std::string(KORVANE_FIXTURE_DIR) + "/" + name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(ModuleLoader, LoadsSharedObjectsAndFindsTheirEntries) {
  testing::TempMachine m;
  ModuleLoader& modules = *m.platform().modules;
  struct Case {
    const char* fixture;
    const char* path;
    bool hasEntry;
    int32_t result;
  };
  const Case cases[] = {
      {"regsrv_ok.so", "C:\\WINDOWS\\SYSTEM\\OK.OCX", true, 0},
      {"regsrv_false.so", "C:\\Program Files\\ビューア\\FALSE.DLL", true, 1},
      {"regsrv_none.so", "C:\\WINDOWS\\SYSTEM\\NONE.DLL", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fixture);
    std::string bytes = Fixture(c.fixture);
    ASSERT_FALSE(bytes.empty());
    m.Write(c.path, bytes);
    void* module = modules.LoadLibrary(c.path);
    ASSERT_NE(module, nullptr);
    auto entry = reinterpret_cast<DllRegisterServerProc>(
        modules.GetProcAddress(module, "DllRegisterServer"));
    EXPECT_EQ(entry != nullptr, c.hasEntry);
    if (entry != nullptr) {
      EXPECT_EQ(entry(), c.result);
    }
    EXPECT_EQ(modules.GetProcAddress(module, "NoSuchEntry"), nullptr);
    modules.FreeLibrary(module);
  }
}

TEST(ModuleLoader, RefusesWhatCannotBeLoadedHere) {
  testing::TempMachine m;
  ModuleLoader& modules = *m.platform().modules;
  std::string pe("MZ\x90\x00\x03\x00\x00\x00", 8);
  pe.resize(512, '\0');
  m.Write("C:\\WIN32.DLL", pe);
  m.Write("C:\\TEXT.OCX", "not a module");
  m.Write("C:\\TRUNC.DLL", Fixture("regsrv_ok.so").substr(0, 64));  // ELF magic, no body
  for (const char* path : {"C:\\WIN32.DLL", "C:\\TEXT.OCX", "C:\\TRUNC.DLL", "C:\\MISSING.DLL",
                           "C:\\NOFOLDER\\X.DLL", "C:\\WINDOWS"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(modules.LoadLibrary(path), nullptr);
  }
  modules.FreeLibrary(nullptr);
  EXPECT_EQ(modules.GetProcAddress(nullptr, "DllRegisterServer"), nullptr);
}

}  // namespace
}  // namespace korvane
