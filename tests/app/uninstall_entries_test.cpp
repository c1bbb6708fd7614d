// Which UninstallString values name this system's uninstaller, and the record they carry.
#include "app/uninstall_entries.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(UninstallEntriesTest, RecordOfUninstallString) {
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"C:\\WINDOWS\\UNKORVANE.EXE \"D:\\Tools\\Viewer\\UNSETUP.INI\"",
       "D:\\Tools\\Viewer\\UNSETUP.INI"},
      {"c:\\win\\unkorvane.exe \"C:\\A B\\UNSETUP.INI\"", "C:\\A B\\UNSETUP.INI"},
      {"Q:\\SETUP.EXE \"C:\\APP\\UNSETUP.INI\"", "C:\\APP\\UNSETUP.INI"},
      {"UNKORVANE.EXE \"C:\\表\\UNSETUP.INI\"", "C:\\表\\UNSETUP.INI"},
      // Not ours, or not in the form ours are written.
      {"C:\\WINDOWS\\UNINST.EXE \"C:\\APP\\UNSETUP.INI\"", std::nullopt},
      {"C:\\WINDOWS\\XUNKORVANE.EXE \"C:\\APP\\UNSETUP.INI\"", std::nullopt},
      {"C:\\WINDOWS\\UNKORVANE.EXE C:\\APP\\UNSETUP.INI", std::nullopt},
      {"C:\\WINDOWS\\UNKORVANE.EXE \"\"", std::nullopt},
      {"C:\\WINDOWS\\UNKORVANE.EXE \"C:\\APP\\UNSETUP.INI", std::nullopt},
      {"C:\\WINDOWS\\UNKORVANE.EXE \"C:\\APP\\UNSETUP.INI\" /x", std::nullopt},
      {"\"C:\\APP\\UNSETUP.INI\"", std::nullopt},
      {"", std::nullopt},
      // A name whose last byte pair hides a backslash (ソ is 83 5C) is still one name.
      {"C:\\ソUNKORVANE.EXE \"C:\\APP\\UNSETUP.INI\"", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(RecordOfUninstallString(text), expected);
  }
}

}  // namespace
}  // namespace korvane
