// Registry export and import over the real SQLite store: the exact REGEDIT4 layout, the
// HKEY_CLASSES_ROOT names, files in UTF-8, code page 932 and UTF-16, deletions, continuation
// lines, refused files, and round trips.
#include "app/reg_file.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <unistd.h>

#include <filesystem>

#include "platform/posix/posix_services.h"

namespace korvane {
namespace {

// UTF-8 text whatever the narrow execution character set is.
std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::string Utf16Le(const std::string& utf8) {
  iconv_t cd = ::iconv_open("UTF-16LE", "UTF-8");
  std::string out(utf8.size() * 4 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* o = out.data();
  size_t outLeft = out.size();
  ::iconv(cd, &in, &inLeft, &o, &outLeft);
  ::iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

class RegFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/korvane-regfile-XXXXXX";
    dir_ = ::mkdtemp(tmpl);
    registry_ = Open("registry.db");
  }
  void TearDown() override {
    registry_.reset();
    std::filesystem::remove_all(dir_);
  }
  std::unique_ptr<Registry> Open(const std::string& name) {
    std::string error;
    auto registry = posix::CreatePosixRegistry(dir_ + "/" + name, error);
    EXPECT_NE(registry, nullptr) << error;
    return registry;
  }
  std::string Export(Registry& registry, const std::string& key = "") {
    std::string out, error;
    EXPECT_TRUE(ExportRegistry(registry, key, out, error)) << error;
    return out;
  }
  void Import(const std::string& bytes) {
    std::string error;
    ASSERT_TRUE(ImportRegistry(*registry_, bytes, error)) << error;
  }
  std::string Value(RootKey root, const std::string& path, const std::string& name,
                    uint32_t expectedType) {
    uint32_t type = 0;
    std::string data;
    if (registry_->QueryValue(root, path, name, type, data) != 0) return "<missing>";
    EXPECT_EQ(type, expectedType) << name;
    return data;
  }
  void Set(RootKey root, const std::string& path, const std::string& name, uint32_t type,
           const std::string& data) {
    ASSERT_EQ(registry_->CreateKey(root, path), 0u);
    ASSERT_EQ(registry_->SetValue(root, path, name, type, data), 0u);
  }

  std::string dir_;
  std::unique_ptr<Registry> registry_;
};

TEST_F(RegFileTest, ExportsTheRegedit4Layout) {
  const std::string viewer = "Software\\Maker\\ビューア";
  Set(RootKey::CurrentUser, viewer, "Path", kRegSz, std::string("C:\\A \"B\"\0", 9));
  Set(RootKey::CurrentUser, viewer, "", kRegSz, std::string("既定\0", 5));
  Set(RootKey::CurrentUser, viewer, "count", kRegDword, std::string("\xab\x12\0\0", 4));
  Set(RootKey::CurrentUser, viewer, "Exp", kRegExpandSz, std::string("%WINDIR%\\表\0", 12));
  Set(RootKey::CurrentUser, viewer, "Bin", kRegBinary, std::string("\x00\xFF\x10", 3));
  Set(RootKey::CurrentUser, viewer, "Multi", kRegMultiSz, std::string("a\0b\0\0", 5));
  Set(RootKey::CurrentUser, viewer, "Lines", kRegSz, std::string("1\r\n2\0", 5));
  Set(RootKey::CurrentUser, viewer + "\\zeta", "", kRegSz, std::string("", 1));
  Set(RootKey::CurrentUser, viewer + "\\Alpha", "", kRegSz, std::string("", 1));

  EXPECT_EQ(Export(*registry_, "HKEY_CURRENT_USER\\Software\\Maker"),
            U8(u8"REGEDIT4\n"
               u8"\n"
               u8"[HKEY_CURRENT_USER\\Software\\Maker]\n"
               u8"\n"
               u8"[HKEY_CURRENT_USER\\Software\\Maker\\ビューア]\n"
               u8"@=\"既定\"\n"
               u8"\"Bin\"=hex:00,ff,10\n"
               u8"\"count\"=dword:000012ab\n"
               u8"\"Exp\"=hex(2):25,57,49,4e,44,49,52,25,5c,95,5c,00\n"
               u8"\"Lines\"=hex(1):31,0d,0a,32,00\n"
               u8"\"Multi\"=hex(7):61,00,62,00,00\n"
               u8"\"Path\"=\"C:\\\\A \\\"B\\\"\"\n"
               u8"\n"
               u8"[HKEY_CURRENT_USER\\Software\\Maker\\ビューア\\Alpha]\n"
               u8"@=\"\"\n"
               u8"\n"
               u8"[HKEY_CURRENT_USER\\Software\\Maker\\ビューア\\zeta]\n"
               u8"@=\"\"\n"
               u8"\n"));
}

TEST_F(RegFileTest, ClassesRootKeysKeepTheirNameOnlyWhenAskedForByIt) {
  Set(RootKey::ClassesRoot, ".vwr", "", kRegSz, std::string("vwr_auto_file\0", 14));
  EXPECT_EQ(Export(*registry_, "hkey_classes_root\\.VWR\\"),
            "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\.vwr]\n@=\"vwr_auto_file\"\n\n");
  EXPECT_EQ(Export(*registry_, "HKCR\\.vwr"), Export(*registry_, "HKEY_CLASSES_ROOT\\.vwr"));
  EXPECT_EQ(Export(*registry_),
            "REGEDIT4\n\n"
            "[HKEY_CURRENT_USER]\n\n"
            "[HKEY_LOCAL_MACHINE]\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes]\n\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.vwr]\n@=\"vwr_auto_file\"\n\n"
            "[HKEY_USERS]\n\n");
}

TEST_F(RegFileTest, ExportOfAMissingOrUnknownKeyFails) {
  for (const char* key : {"HKEY_CURRENT_USER\\Nothing", "HKEY_CURRENT_CONFIG\\X", "Software"}) {
    SCOPED_TRACE(key);
    std::string out = "untouched", error;
    EXPECT_FALSE(ExportRegistry(*registry_, key, out, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(out, "untouched");
  }
}

TEST_F(RegFileTest, ImportsRegedit4InUtf8WithEveryKindOfLine) {
  Set(RootKey::CurrentUser, "Old\\Sub", "v", kRegSz, std::string("x\0", 2));
  Set(RootKey::LocalMachine, "SOFTWARE\\Keep", "gone", kRegSz, std::string("x\0", 2));
  Import(
      U8(u8"REGEDIT4\r\n"
         u8"\r\n"
         u8"; a comment\r\n"
         u8"[HKEY_CURRENT_USER\\Software\\Maker\\ビューア]\r\n"
         u8"@=\"既定\"\r\n"
         u8"\"Path\"=\"C:\\\\A \\\"B\\\"\"\r\n"
         u8"\"Count\" = dword:12AB\r\n"
         u8"\"Exp\"=hex(2):25,57,49,4e,44,\\\r\n"
         u8"  49,52,25,00\r\n"
         u8"\"Bin\"=hex:\r\n"
         u8"\r\n"
         u8"[-HKEY_CURRENT_USER\\Old]\r\n"
         u8"[-HKEY_CURRENT_USER\\Never\\Was]\r\n"
         u8"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Keep]\r\n"
         u8"\"gone\"=-\r\n"
         u8"\"never\"=-\r\n"
         u8"[HKEY_CLASSES_ROOT\\.vwr]\r\n"
         u8"@=\"vwr_auto_file\"\r\n"));
  const std::string viewer = "Software\\Maker\\ビューア";
  EXPECT_EQ(Value(RootKey::CurrentUser, viewer, "", kRegSz), std::string("既定\0", 5));
  EXPECT_EQ(Value(RootKey::CurrentUser, viewer, "path", kRegSz), std::string("C:\\A \"B\"\0", 9));
  EXPECT_EQ(Value(RootKey::CurrentUser, viewer, "Count", kRegDword),
            std::string("\xab\x12\0\0", 4));
  EXPECT_EQ(Value(RootKey::CurrentUser, viewer, "Exp", kRegExpandSz), std::string("%WINDIR%\0", 9));
  EXPECT_EQ(Value(RootKey::CurrentUser, viewer, "Bin", kRegBinary), "");
  EXPECT_EQ(registry_->OpenKey(RootKey::CurrentUser, "Old"), 2u);
  EXPECT_EQ(registry_->OpenKey(RootKey::LocalMachine, "SOFTWARE\\Keep"), 0u);
  EXPECT_EQ(Value(RootKey::LocalMachine, "SOFTWARE\\Keep", "gone", kRegSz), "<missing>");
  EXPECT_EQ(Value(RootKey::LocalMachine, "SOFTWARE\\Classes\\.vwr", "", kRegSz),
            std::string("vwr_auto_file\0", 14));
}

TEST_F(RegFileTest, ImportsCodePage932AndUtf16Files) {
  // The narrow literals of this file are code page 932: this is a Windows 98 file as it is.
  Import(
      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\ソフト]\r\n\"名前\"=\"表示\"\r\n"
      "\"Exp\"=hex(2):95,5c,00\r\n");
  EXPECT_EQ(Value(RootKey::CurrentUser, "ソフト", "名前", kRegSz), std::string("表示\0", 5));
  EXPECT_EQ(Value(RootKey::CurrentUser, "ソフト", "Exp", kRegExpandSz), std::string("表\0", 3));

  // Version 5: UTF-16LE with a byte-order mark, hex(2) in UTF-16 too.
  std::string text =
      U8(u8"Windows Registry Editor Version 5.00\r\n\r\n"
         u8"[HKEY_LOCAL_MACHINE\\SOFTWARE\\ビューア]\r\n"
         u8"\"Name\"=\"ビューア\"\r\n"
         u8"\"Exp\"=hex(2):25,00,41,00,25,00,68,88,\\\r\n"
         u8"  00,00\r\n"
         u8"\"N\"=dword:ffffffff\r\n");
  Import("\xFF\xFE" + Utf16Le(text));
  EXPECT_EQ(Value(RootKey::LocalMachine, "SOFTWARE\\ビューア", "Name", kRegSz),
            std::string("ビューア\0", 9));
  EXPECT_EQ(Value(RootKey::LocalMachine, "SOFTWARE\\ビューア", "Exp", kRegExpandSz),
            std::string("%A%表\0", 6));
  EXPECT_EQ(Value(RootKey::LocalMachine, "SOFTWARE\\ビューア", "N", kRegDword), "\xFF\xFF\xFF\xFF");
}

TEST_F(RegFileTest, RefusedFilesChangeNothing) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"no header", "[HKEY_CURRENT_USER\\A]\n"},
      {"empty", ""},
      {"value before any key", "REGEDIT4\n\n\"x\"=\"1\"\n"},
      {"unknown root", "REGEDIT4\n\n[HKEY_CURRENT_CONFIG\\A]\n"},
      {"open string", "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"1\n"},
      {"bad dword", "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"x\"=dword:123456789\n"},
      {"bad hex", "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"x\"=hex:1,zz\n"},
      {"unknown data", "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"x\"=qword:1\n"},
      {"key without ]", "REGEDIT4\n\n[HKEY_CURRENT_USER\\A\n"},
      {"odd UTF-16", "\xFF\xFE\x52"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    EXPECT_FALSE(ImportRegistry(*registry_, c.bytes, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(registry_->OpenKey(RootKey::CurrentUser, "A"), 2u);  // nothing half applied
  }
  std::string error;
  EXPECT_FALSE(ImportRegistry(*registry_,
                              "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n\"x\"=\"1\"\n"
                              "[HKEY_CURRENT_USER\\B]\n\"y\"=dword:xyz\n",
                              error));
  EXPECT_NE(error.find("line 6"), std::string::npos) << error;
  EXPECT_EQ(registry_->OpenKey(RootKey::CurrentUser, "A"), 2u);
}

TEST_F(RegFileTest, ExportAndImportRoundTrip) {
  const std::string key = "Software\\表示\\ｶﾅ";
  Set(RootKey::CurrentUser, key, "", kRegSz, std::string("a\\\"b\"\0", 6));
  Set(RootKey::CurrentUser, key, "Dword", kRegDword, "\x01\x02\x03\x04");
  Set(RootKey::CurrentUser, key, "Short", kRegDword, "\x01");  // not four bytes: hex(4)
  Set(RootKey::CurrentUser, key, "None", kRegNone, "");
  Set(RootKey::CurrentUser, key, "Exp", kRegExpandSz, std::string("%PATH%;ソ\0", 10));
  Set(RootKey::CurrentUser, key, "Bin", kRegBinary, std::string(300, '\x5C'));
  Set(RootKey::CurrentUser, key, "Zeros", kRegSz, std::string("a\0b\0", 4));
  Set(RootKey::LocalMachine, "SOFTWARE\\Classes\\.txt", "", kRegSz, std::string("txtfile\0", 8));
  Set(RootKey::Users, ".DEFAULT", "x", kRegSz, std::string("", 1));

  std::string first = Export(*registry_);
  auto copy = Open("copy.db");
  std::string error;
  ASSERT_TRUE(ImportRegistry(*copy, first, error)) << error;
  EXPECT_EQ(Export(*copy), first);
  uint32_t type = 0;
  std::string data;
  ASSERT_EQ(copy->QueryValue(RootKey::CurrentUser, key, "Zeros", type, data), 0u);
  EXPECT_EQ(data, std::string("a\0b\0", 4));
}

}  // namespace
}  // namespace korvane
