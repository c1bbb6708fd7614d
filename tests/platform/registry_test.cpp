// The SQLite registry store: lookup without regard to case (code page 932 aware), the
// HKEY_CLASSES_ROOT alias, trees, errors, sharing between connections, read-only files, and
// the database file staying sound for the real sqlite3 tool.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/posix/posix_services.h"

namespace korvane::posix {
namespace {

namespace fs = std::filesystem;

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/korvane-registry-XXXXXX";
    dir_ = ::mkdtemp(tmpl);
    dbPath_ = dir_ + "/registry.db";
    registry_ = Open();
  }
  void TearDown() override {
    registry_.reset();
    ::chmod(dir_.c_str(), 0755);
    if (fs::exists(dbPath_)) {
      // The real tool must find the file sound after everything a test did to it.
      std::string command = "sqlite3 '" + dbPath_ + "' 'PRAGMA integrity_check' 2>&1";
      FILE* pipe = ::popen(command.c_str(), "r");
      ASSERT_NE(pipe, nullptr);
      char line[256] = {};
      std::string out;
      while (std::fgets(line, sizeof line, pipe)) out += line;
      ::pclose(pipe);
      EXPECT_EQ(out, "ok\n");
    }
    fs::remove_all(dir_);
  }

  std::unique_ptr<Registry> Open() {
    std::string error;
    auto registry = CreatePosixRegistry(dbPath_, error);
    EXPECT_NE(registry, nullptr) << error;
    return registry;
  }

  std::string Get(RootKey root, const std::string& path, const std::string& name) {
    uint32_t type = 0;
    std::string data;
    if (registry_->QueryValue(root, path, name, type, data) != 0) return "<missing>";
    return data;
  }

  std::string dir_;
  std::string dbPath_;
  std::unique_ptr<Registry> registry_;
};

TEST_F(RegistryTest, CreatesEveryMissingParentAndFindsKeysWithoutRegardToCase) {
  ASSERT_EQ(registry_->CreateKey(RootKey::CurrentUser, "Software\\Maker\\Viewer"), 0u);
  EXPECT_EQ(registry_->OpenKey(RootKey::CurrentUser, "Software"), 0u);
  EXPECT_EQ(registry_->OpenKey(RootKey::CurrentUser, "SOFTWARE\\maker\\VIEWER"), 0u);
  EXPECT_EQ(registry_->OpenKey(RootKey::CurrentUser, "\\Software\\Maker\\Viewer\\"), 0u);
  EXPECT_EQ(registry_->OpenKey(RootKey::LocalMachine, "Software\\Maker"), 2u);
  EXPECT_EQ(registry_->OpenKey(RootKey::Users, "Software"), 2u);
  EXPECT_EQ(registry_->OpenKey(RootKey::CurrentUser, "Software\\Maker\\Other"), 2u);

  // Creating again under another case keeps the first spelling.
  ASSERT_EQ(registry_->CreateKey(RootKey::CurrentUser, "SOFTWARE\\MAKER\\viewer\\Sub"), 0u);
  std::vector<std::string> names;
  ASSERT_EQ(registry_->EnumKeys(RootKey::CurrentUser, "", names), 0u);
  EXPECT_EQ(names, std::vector<std::string>{"Software"});
  ASSERT_EQ(registry_->EnumKeys(RootKey::CurrentUser, "software\\maker", names), 0u);
  EXPECT_EQ(names, std::vector<std::string>{"Viewer"});
}

TEST_F(RegistryTest, FoldsCodePage932LettersButNeverInsideADoubleByteCharacter) {
  struct Case {
    const char* created;
    const char* opened;
    bool same;
  };
  const Case cases[] = {
      {"ａｂｃ", "ＡＢＣ", true},  // full-width Latin
      {"αβγ", "ΑΒΓ", true},        // Greek
      {"абвноя", "АБВНОЯ", true},  // Cyrillic on both sides of the skipped trail 7F
      {"ア", "ヂ", false},         // 83 41 and 83 61 are not a letter pair
      {"ｱｲｳ", "アイウ", false},    // half-width kana stay what they are
      {"表示", "表示", true},      // 95 5C: the trail byte is not a separator
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.created);
    std::string path = std::string("Fold\\") + c.created;
    ASSERT_EQ(registry_->CreateKey(RootKey::CurrentUser, path), 0u);
    EXPECT_EQ(registry_->OpenKey(RootKey::CurrentUser, std::string("Fold\\") + c.opened),
              c.same ? 0u : 2u);
    ASSERT_EQ(registry_->DeleteKeyTree(RootKey::CurrentUser, "Fold"), 0u);
  }
  // A name with 5C as a trail byte is one key, not two.
  ASSERT_EQ(registry_->CreateKey(RootKey::CurrentUser, "ソフト\\表"), 0u);
  std::vector<std::string> names;
  ASSERT_EQ(registry_->EnumKeys(RootKey::CurrentUser, "ソフト", names), 0u);
  EXPECT_EQ(names, std::vector<std::string>{"表"});
}

TEST_F(RegistryTest, ClassesRootIsTheMachineClassesKey) {
  EXPECT_EQ(registry_->OpenKey(RootKey::ClassesRoot, ""), 0u);
  ASSERT_EQ(registry_->CreateKey(RootKey::ClassesRoot, ".vwr"), 0u);
  ASSERT_EQ(registry_->SetValue(RootKey::ClassesRoot, ".vwr", "", kRegSz, std::string("v\0", 2)),
            0u);
  EXPECT_EQ(Get(RootKey::LocalMachine, "SOFTWARE\\Classes\\.VWR", ""), std::string("v\0", 2));
  ASSERT_EQ(registry_->CreateKey(RootKey::LocalMachine, "Software\\classes\\txtfile"), 0u);
  EXPECT_EQ(registry_->OpenKey(RootKey::ClassesRoot, "TXTFILE"), 0u);
}

TEST_F(RegistryTest, RefusesToDeleteARootAndRejectsEmptyComponents) {
  for (RootKey root :
       {RootKey::CurrentUser, RootKey::LocalMachine, RootKey::Users, RootKey::ClassesRoot}) {
    EXPECT_EQ(registry_->DeleteKeyTree(root, ""), 5u);
    EXPECT_EQ(registry_->DeleteKeyTree(root, "\\"), 5u);
  }
  EXPECT_EQ(registry_->OpenKey(RootKey::ClassesRoot, ""), 0u);
  EXPECT_EQ(registry_->CreateKey(RootKey::CurrentUser, "A\\\\B"), 87u);
  EXPECT_EQ(registry_->OpenKey(RootKey::CurrentUser, "A"), 2u);
  EXPECT_EQ(registry_->DeleteKeyTree(RootKey::CurrentUser, "Missing"), 2u);
}

TEST_F(RegistryTest, ValuesAreSetReplacedQueriedAndDeletedByNameWithoutRegardToCase) {
  ASSERT_EQ(registry_->SetValue(RootKey::CurrentUser, "Nowhere", "x", kRegSz, "a"), 2u);
  ASSERT_EQ(registry_->CreateKey(RootKey::CurrentUser, "K"), 0u);
  std::string binary("\x00\x01\xFF\x00", 4);
  ASSERT_EQ(registry_->SetValue(RootKey::CurrentUser, "K", "Path", kRegSz, "C:\\X"), 0u);
  ASSERT_EQ(registry_->SetValue(RootKey::CurrentUser, "K", "", kRegBinary, binary), 0u);
  ASSERT_EQ(registry_->SetValue(RootKey::CurrentUser, "k", "PATH", kRegDword,
                                std::string("\x10\0\0\0", 4)),
            0u);

  uint32_t type = 0;
  std::string data;
  ASSERT_EQ(registry_->QueryValue(RootKey::CurrentUser, "K", "path", type, data), 0u);
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(data, std::string("\x10\0\0\0", 4));
  EXPECT_EQ(Get(RootKey::CurrentUser, "K", ""), binary);
  EXPECT_EQ(Get(RootKey::CurrentUser, "K", "Other"), "<missing>");
  EXPECT_EQ(Get(RootKey::CurrentUser, "Nowhere", ""), "<missing>");

  std::vector<RegistryValue> values;
  ASSERT_EQ(registry_->EnumValues(RootKey::CurrentUser, "K", values), 0u);
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0].name, "");
  EXPECT_EQ(values[1].name, "Path");  // the first spelling stays

  EXPECT_EQ(registry_->DeleteValue(RootKey::CurrentUser, "K", "PATH"), 0u);
  EXPECT_EQ(registry_->DeleteValue(RootKey::CurrentUser, "K", "PATH"), 2u);
  EXPECT_EQ(registry_->DeleteValue(RootKey::CurrentUser, "Nowhere", "x"), 2u);
}

TEST_F(RegistryTest, EnumeratesInCaseInsensitiveOrder) {
  for (const char* name : {"beta", "Alpha", "gamma", "ALPHB", "_x"}) {
    ASSERT_EQ(registry_->CreateKey(RootKey::Users, std::string("S\\") + name), 0u);
    ASSERT_EQ(registry_->SetValue(RootKey::Users, "S", name, kRegSz, std::string("", 1)), 0u);
  }
  std::vector<std::string> keys;
  ASSERT_EQ(registry_->EnumKeys(RootKey::Users, "S", keys), 0u);
  EXPECT_EQ(keys, (std::vector<std::string>{"Alpha", "ALPHB", "beta", "gamma", "_x"}));
  std::vector<RegistryValue> values;
  ASSERT_EQ(registry_->EnumValues(RootKey::Users, "S", values), 0u);
  ASSERT_EQ(values.size(), 5u);
  EXPECT_EQ(values[0].name, "Alpha");
  EXPECT_EQ(values[4].name, "_x");
  EXPECT_EQ(registry_->EnumKeys(RootKey::Users, "Missing", keys), 2u);
  EXPECT_EQ(registry_->EnumValues(RootKey::Users, "Missing", values), 2u);
}

TEST_F(RegistryTest, DeletesAWholeTreeAndNothingBeside) {
  std::string deep = "Tree";
  for (int i = 0; i < 30; ++i) {
    deep += "\\L" + std::to_string(i);
    ASSERT_EQ(registry_->CreateKey(RootKey::LocalMachine, deep), 0u);
    ASSERT_EQ(registry_->SetValue(RootKey::LocalMachine, deep, "v", kRegSz, "x"), 0u);
  }
  ASSERT_EQ(registry_->CreateKey(RootKey::LocalMachine, "Tree2\\Keep"), 0u);
  ASSERT_EQ(registry_->CreateKey(RootKey::LocalMachine, "Tree\\L0\\Side"), 0u);

  ASSERT_EQ(registry_->DeleteKeyTree(RootKey::LocalMachine, "tree\\l0"), 0u);
  EXPECT_EQ(registry_->OpenKey(RootKey::LocalMachine, "Tree"), 0u);
  EXPECT_EQ(registry_->OpenKey(RootKey::LocalMachine, "Tree\\L0"), 2u);
  EXPECT_EQ(registry_->OpenKey(RootKey::LocalMachine, "Tree2\\Keep"), 0u);
  // Recreating a deleted key finds it empty: no value of the old tree survives.
  ASSERT_EQ(registry_->CreateKey(RootKey::LocalMachine, "Tree\\L0\\L1"), 0u);
  EXPECT_EQ(Get(RootKey::LocalMachine, "Tree\\L0\\L1", "v"), "<missing>");
}

TEST_F(RegistryTest, TwoConnectionsShareTheFileAndChangesPersist) {
  auto other = Open();
  ASSERT_EQ(registry_->CreateKey(RootKey::CurrentUser, "Shared"), 0u);
  ASSERT_EQ(other->SetValue(RootKey::CurrentUser, "shared", "n", kRegSz, "1"), 0u);
  EXPECT_EQ(Get(RootKey::CurrentUser, "Shared", "n"), "1");
  other.reset();
  registry_ = Open();
  EXPECT_EQ(Get(RootKey::CurrentUser, "Shared", "n"), "1");
}

TEST_F(RegistryTest, TwoProcessesWritingAtOnceLoseNothing) {
  constexpr int kCount = 60;
  ASSERT_EQ(registry_->CreateKey(RootKey::LocalMachine, "Busy"), 0u);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::string error;
    auto own = CreatePosixRegistry(dbPath_, error);
    int failures = own ? 0 : 1;
    for (int i = 0; own && i < kCount; ++i) {
      std::string key = "Busy\\Child" + std::to_string(i);
      failures += own->CreateKey(RootKey::LocalMachine, key) != 0;
      failures += own->SetValue(RootKey::LocalMachine, key, "", kRegSz, "c") != 0;
    }
    ::_exit(failures == 0 ? 0 : 1);
  }
  int failures = 0;
  for (int i = 0; i < kCount; ++i) {
    failures += registry_->SetValue(RootKey::LocalMachine, "Busy", "p" + std::to_string(i),
                                    kRegDword, "\1\0\0\0") != 0;
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(failures, 0);
  std::vector<std::string> keys;
  std::vector<RegistryValue> values;
  ASSERT_EQ(registry_->EnumKeys(RootKey::LocalMachine, "Busy", keys), 0u);
  ASSERT_EQ(registry_->EnumValues(RootKey::LocalMachine, "Busy", values), 0u);
  EXPECT_EQ(keys.size(), static_cast<size_t>(kCount));
  EXPECT_EQ(values.size(), static_cast<size_t>(kCount));
}

TEST_F(RegistryTest, AReadOnlyDatabaseReadsButRefusesEveryChange) {
  ASSERT_EQ(registry_->CreateKey(RootKey::LocalMachine, "SOFTWARE\\Keep"), 0u);
  ASSERT_EQ(registry_->SetValue(RootKey::LocalMachine, "SOFTWARE\\Keep", "v", kRegSz, "1"), 0u);
  registry_.reset();

  struct Setup {
    const char* name;
    mode_t fileMode;
    mode_t dirMode;
  };
  for (const Setup& setup : {Setup{"file 0444", 0444, 0755}, Setup{"folder 0555", 0644, 0555}}) {
    SCOPED_TRACE(setup.name);
    ASSERT_EQ(::chmod(dbPath_.c_str(), setup.fileMode), 0);
    ASSERT_EQ(::chmod(dir_.c_str(), setup.dirMode), 0);
    auto registry = Open();
    ASSERT_NE(registry, nullptr);
    EXPECT_EQ(registry->OpenKey(RootKey::LocalMachine, "software\\keep"), 0u);
    uint32_t type = 0;
    std::string data;
    EXPECT_EQ(registry->QueryValue(RootKey::LocalMachine, "SOFTWARE\\Keep", "v", type, data), 0u);
    EXPECT_EQ(registry->CreateKey(RootKey::LocalMachine, "SOFTWARE\\New"), 5u);
    EXPECT_EQ(registry->CreateKey(RootKey::LocalMachine, "SOFTWARE\\Keep"), 0u);  // opens it
    EXPECT_EQ(registry->SetValue(RootKey::LocalMachine, "SOFTWARE\\Keep", "v", kRegSz, "2"), 5u);
    EXPECT_EQ(registry->DeleteValue(RootKey::LocalMachine, "SOFTWARE\\Keep", "v"), 5u);
    EXPECT_EQ(registry->DeleteKeyTree(RootKey::LocalMachine, "SOFTWARE\\Keep"), 5u);
    EXPECT_EQ(registry->DeleteKeyTree(RootKey::LocalMachine, "SOFTWARE\\Missing"), 2u);
    EXPECT_EQ(registry->QueryValue(RootKey::LocalMachine, "SOFTWARE\\Keep", "v", type, data), 0u);
    EXPECT_EQ(data, "1");
  }
  ::chmod(dir_.c_str(), 0755);
  ::chmod(dbPath_.c_str(), 0644);
}

TEST(RegistryOpen, FailsWithAMessageWhereNoDatabaseCanBeMade) {
  std::string error;
  auto registry = CreatePosixRegistry("/nonexistent-korvane-folder/registry.db", error);
  EXPECT_EQ(registry, nullptr);
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace korvane::posix
