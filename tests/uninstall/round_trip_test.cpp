// The round trip: the sample package installed unattended and removed again through its
// uninstall entry leaves the machine's files and registry as they were, except what the system
// keeps on purpose (the uninstaller copy and the emptied installed-programs file).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/scenario.h"

namespace korvane::testing {
namespace {

namespace fs = std::filesystem;

// Every file and folder below drive_c (UTF-8 relative path) with its contents; folders read
// as "<folder>".
std::map<std::string, std::string> SnapshotFiles(const Scenario& s) {
  std::map<std::string, std::string> files;
  const fs::path root = fs::path(s.MachineDir()) / "drive_c";
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    const std::string name = entry.path().lexically_relative(root).generic_string();
    if (entry.is_directory()) {
      files[name] = "<folder>";
    } else {
      std::ifstream in(entry.path(), std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      files[name] = bytes.str();
    }
  }
  return files;
}

// A registry export split into its keys, each with the lines of its values.
std::map<std::string, std::string> SplitExport(const std::string& text) {
  std::map<std::string, std::string> keys;
  std::istringstream in(text);
  std::string line;
  std::string current;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
      current = line.substr(1, line.size() - 2);
      keys[current];
    } else if (!current.empty() && !line.empty()) {
      keys[current] += line + "\n";
    }
  }
  return keys;
}

// What is new or changed in after against before, and what went missing.
template <typename Map>
std::vector<std::string> Residue(const Map& before, const Map& after) {
  std::vector<std::string> residue;
  for (const auto& [name, value] : after) {
    const auto it = before.find(name);
    if (it == before.end()) {
      residue.push_back("+" + name);
    } else if (it->second != value) {
      residue.push_back("~" + name);
    }
  }
  for (const auto& [name, value] : before) {
    if (!after.contains(name)) residue.push_back("-" + name);
  }
  return residue;
}

std::string ReadHostFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The sample package in the scenario's package folder. Its [ExecuteFile] would open README.TXT
// on the host's desktop at the end of every test run; opening a file changes nothing on the
// machine, so the section is left out.
void CopySampleWithoutExecuteFile(Scenario& s) {
  const fs::path sample = fs::path(KORVANE_SOURCE_DIR) / "examples" / "sample";
  for (const fs::directory_entry& entry : fs::directory_iterator(sample)) {
    const std::string name = entry.path().filename().string();
    std::string bytes = ReadHostFile(entry.path());
    if (name == "SETUP.INI") {
      const size_t section = bytes.find("[ExecuteFile]");
      ASSERT_NE(section, std::string::npos);
      const size_t next = bytes.find("\r\n[", section);
      bytes.erase(section, next == std::string::npos ? std::string::npos : next + 2 - section);
    }
    s.WritePackageFile(name, bytes);
  }
}

TEST(RoundTripTest, SampleInstalledAndRemovedLeavesOnlyWhatTheSystemKeeps) {
  Scenario s;
  ASSERT_EQ(s.Run({"init"}).exitCode, 0);
  const std::map<std::string, std::string> filesBefore = SnapshotFiles(s);
  const std::map<std::string, std::string> keysBefore = SplitExport(s.RegExport());

  CopySampleWithoutExecuteFile(s);
  const RunResult setup = s.Setup();
  ASSERT_EQ(setup.exitCode, 0) << setup.err;
  EXPECT_TRUE(setup.Of("execute").empty());

  const RunResult programs = s.Run({"programs"});
  ASSERT_EQ(programs.exitCode, 0);
  EXPECT_EQ(programs.out.substr(0, programs.out.find('\t')), "KomorebiTecho");

  // The installation left something to remove.
  EXPECT_TRUE(s.Exists("C:\\Program Files\\こもれび手帳\\DATA\\ひな形.TXT"));
  EXPECT_TRUE(s.Exists("C:\\WINDOWS\\ｽﾀｰﾄ ﾒﾆｭｰ\\ﾌﾟﾛｸﾞﾗﾑ\\こもれび手帳\\こもれび手帳.lnk"));
  EXPECT_TRUE(s.Exists("C:\\WINDOWS\\デスクトップ\\こもれび手帳.lnk"));
  EXPECT_NE(s.RegExport().find("kmr_auto_file"), std::string::npos);

  const RunResult remove = s.Run({"remove", "KomorebiTecho", "--unattended", "--log", "-"});
  EXPECT_EQ(remove.exitCode, 0) << remove.err;
  EXPECT_EQ(remove.AskCaptions(), std::vector<std::string>{"完了"});

  const std::vector<std::string> fileResidue = Residue(filesBefore, SnapshotFiles(s));
  EXPECT_EQ(fileResidue,
            (std::vector<std::string>{"+WINDOWS/KORVANE.INI", "+WINDOWS/UNKORVANE.EXE"}));
  const std::map<std::string, std::string> filesAfter = SnapshotFiles(s);
  EXPECT_EQ(filesAfter.at("WINDOWS/UNKORVANE.EXE"),
            ReadHostFile(fs::path(KORVANE_SOURCE_DIR) / "examples/sample/SETUP.EXE"));
  EXPECT_EQ(s.Profile("C:\\WINDOWS\\KORVANE.INI", "KOMOREBI", "Folder"), "");

  // The setup run's registry writes create the missing parents of its keys; the uninstall run
  // deletes only the keys it names, so on a fresh machine the parents stay (empty). The
  // association class kmr_auto_file is gone because the sample's [DeleteRegistry] names it.
  const std::vector<std::string> keyResidue = Residue(keysBefore, SplitExport(s.RegExport()));
  EXPECT_EQ(keyResidue,
            (std::vector<std::string>{
                "+HKEY_CURRENT_USER\\Software",
                "+HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft",
                "+HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows",
                "+HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                "+HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
            }));
  for (const std::string& key : keyResidue) {
    EXPECT_EQ(SplitExport(s.RegExport()).at(key.substr(1)), "") << key << " holds values";
  }
  EXPECT_EQ(s.Run({"programs"}).out, "");
}

}  // namespace
}  // namespace korvane::testing
