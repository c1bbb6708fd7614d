// The registry object over the real SQLite store: relative and absolute keys, the current
// key, string/expandable/integer values, and the three errors with their exact texts.
#include "framework/registry_object.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "framework/errors.h"
#include "platform/posix/posix_services.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

class RegistryObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/korvane-regobj-XXXXXX";
    dir_ = ::mkdtemp(tmpl);
    store_ = Open();
  }
  void TearDown() override {
    store_.reset();
    fs::remove_all(dir_);
  }
  std::unique_ptr<Registry> Open() {
    std::string error;
    auto registry = posix::CreatePosixRegistry(dir_ + "/registry.db", error);
    EXPECT_NE(registry, nullptr) << error;
    return registry;
  }
  // The message of the RegistryError that body raises ("" when none).
  template <typename Body>
  static std::string ErrorOf(Body body) {
    try {
      body();
    } catch (const RegistryError& e) {
      return e.what();
    }
    return "";
  }
  std::string Raw(RootKey root, const std::string& path, const std::string& name,
                  uint32_t* type = nullptr) {
    uint32_t t = 0;
    std::string data;
    if (store_->QueryValue(root, path, name, t, data) != 0) return "<missing>";
    if (type) *type = t;
    return data;
  }

  std::string dir_;
  std::unique_ptr<Registry> store_;
};

TEST_F(RegistryObjectTest, KeysAreRelativeToTheCurrentKeyUnlessTheyStartWithABackslash) {
  TRegistry reg(*store_);
  EXPECT_EQ(reg.GetRootKey(), RootKey::CurrentUser);
  ASSERT_TRUE(reg.OpenKey("Software\\Maker", true));
  ASSERT_TRUE(reg.OpenKey("Viewer", true));  // below Software\Maker
  EXPECT_EQ(store_->OpenKey(RootKey::CurrentUser, "Software\\Maker\\Viewer"), 0u);
  EXPECT_TRUE(reg.KeyExists("\\Software\\Maker"));
  EXPECT_FALSE(reg.KeyExists("Software"));  // would be ...\Viewer\Software
  ASSERT_TRUE(reg.OpenKey("\\Software", false));
  EXPECT_TRUE(reg.KeyExists("Maker\\Viewer"));

  // A key that cannot be opened leaves the current key as it was.
  EXPECT_FALSE(reg.OpenKey("Missing", false));
  reg.WriteString("here", "1");
  EXPECT_EQ(Raw(RootKey::CurrentUser, "Software", "here"), std::string("1\0", 2));

  reg.CloseKey();
  EXPECT_TRUE(reg.KeyExists("Software\\Maker"));  // from the root again
  reg.SetRootKey(RootKey::LocalMachine);
  EXPECT_FALSE(reg.KeyExists("Software\\Maker"));
}

TEST_F(RegistryObjectTest, WritesTheThreeValueTypesAsTheSystemStoresThem) {
  TRegistry reg(*store_);
  reg.SetRootKey(RootKey::ClassesRoot);
  reg.CreateKey("\\.vwr");
  ASSERT_TRUE(reg.OpenKey(".vwr", false));
  reg.WriteString("", "vwr_auto_file");
  reg.WriteExpandString("Exp", "%WINDIR%\\TEMP");
  reg.WriteInteger("Minus", -1);
  reg.WriteInteger("Sixteen", 16);

  const std::string key = "SOFTWARE\\Classes\\.vwr";
  uint32_t type = 0;
  EXPECT_EQ(Raw(RootKey::LocalMachine, key, "", &type), std::string("vwr_auto_file\0", 14));
  EXPECT_EQ(type, kRegSz);
  EXPECT_EQ(Raw(RootKey::LocalMachine, key, "exp", &type), std::string("%WINDIR%\\TEMP\0", 14));
  EXPECT_EQ(type, kRegExpandSz);
  EXPECT_EQ(Raw(RootKey::LocalMachine, key, "Minus", &type), "\xFF\xFF\xFF\xFF");
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(Raw(RootKey::LocalMachine, key, "Sixteen"), std::string("\x10\0\0\0", 4));

  EXPECT_TRUE(reg.ValueExists(""));
  EXPECT_FALSE(reg.ValueExists("Nothing"));
  EXPECT_EQ(reg.ReadString(""), "vwr_auto_file");
  EXPECT_EQ(reg.ReadString("EXP"), "%WINDIR%\\TEMP");
  EXPECT_EQ(reg.ReadString("Nothing"), "");
}

TEST_F(RegistryObjectTest, RaisesTheSystemsErrorTexts) {
  TRegistry reg(*store_);
  ASSERT_TRUE(reg.OpenKey("K", true));
  reg.WriteInteger("Number", 5);
  EXPECT_EQ(ErrorOf([&] { reg.ReadString("Number"); }), "'Number' のﾃﾞｰﾀ型が不正です");

  // No current key: every write fails, named by its value (empty for the default value).
  reg.CloseKey();
  EXPECT_FALSE(reg.ValueExists("Number"));
  EXPECT_EQ(ErrorOf([&] { reg.WriteString("", "x"); }), "'' の設定に失敗しました");
  EXPECT_EQ(ErrorOf([&] { reg.WriteInteger("表示", 1); }), "'表示' の設定に失敗しました");
  EXPECT_EQ(ErrorOf([&] { reg.CreateKey("A\\\\B"); }), "ｷｰ A\\\\B の作成に失敗しました");

  // A registry that refuses changes: creating a new key and writing are errors.
  store_.reset();
  ASSERT_EQ(::chmod((dir_ + "/registry.db").c_str(), 0444), 0);
  store_ = Open();
  TRegistry readOnly(*store_);
  readOnly.SetRootKey(RootKey::LocalMachine);
  EXPECT_EQ(ErrorOf([&] { readOnly.CreateKey("SOFTWARE\\Maker\\Viewer"); }),
            "ｷｰ SOFTWARE\\Maker\\Viewer の作成に失敗しました");
  EXPECT_FALSE(readOnly.OpenKey("SOFTWARE\\Maker", true));
  readOnly.SetRootKey(RootKey::CurrentUser);
  ASSERT_TRUE(readOnly.OpenKey("K", true));  // exists: opened
  EXPECT_EQ(ErrorOf([&] { readOnly.WriteExpandString("Path", "x"); }),
            "'Path' の設定に失敗しました");
  EXPECT_EQ(readOnly.ReadString("Nothing"), "");
}

TEST_F(RegistryObjectTest, DeleteKeyRemovesTheTreeButNeverARoot) {
  TRegistry reg(*store_);
  reg.CreateKey("A\\B\\C");
  ASSERT_TRUE(reg.OpenKey("A", false));
  EXPECT_TRUE(reg.DeleteKey("B"));  // relative to A
  EXPECT_FALSE(reg.KeyExists("B"));
  EXPECT_FALSE(reg.DeleteKey("B"));
  reg.CloseKey();
  EXPECT_FALSE(reg.DeleteKey(""));
  EXPECT_FALSE(reg.DeleteKey("\\"));
  EXPECT_TRUE(reg.KeyExists("A"));
  EXPECT_TRUE(reg.DeleteKey("\\A\\"));
  EXPECT_FALSE(reg.KeyExists("A"));
}

}  // namespace
}  // namespace korvane
