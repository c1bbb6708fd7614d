// The .lnk writer: the header fields at their offsets, and the real lnkinfo tool reading the
// local path, relative path and working folder back, Japanese names included.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/encoding.h"
#include "platform/posix/lnk_writer.h"
#include "platform/service_machine.h"

namespace korvane::posix {
namespace {

uint32_t Le32(const std::string& b, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}

// lnkinfo's report of a link file (UTF-8), decoding its texts as code page 932.
std::string LnkInfo(const std::string& bytes) {
  char tmpl[] = "/tmp/korvane-lnk-XXXXXX";
  int fd = ::mkstemp(tmpl);
  EXPECT_GE(fd, 0);
  EXPECT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  ::close(fd);
  std::string command = std::string("lnkinfo -c windows-932 ") + tmpl + " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  std::string out;
  char buffer[4096];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  int status = ::pclose(pipe);
  EXPECT_EQ(status, 0) << out;
  ::unlink(tmpl);
  return out;
}

ShellLinkData Viewer() {
  ShellLinkData data;
  data.targetPath = "C:\\Program Files\\ビューア\\VIEW.EXE";
  data.workingFolder = "C:\\Program Files\\ビューア\\";
  data.relativePath = "..\\..\\..\\Program Files\\ビューア\\VIEW.EXE";
  data.items = {{"Program Files", true, 0, 0, 0x10},
                {"ビューア", true, 0, 0, 0x10},
                {"VIEW.EXE", false, 1234, 0x2A2B3C3D, 0x20}};
  data.attributes = 0x20;
  data.size = 1234;
  data.writeTime = 0x01D0000000000000ULL;
  return data;
}

TEST(LnkWriter, HeaderHoldsTheFieldsAtTheirOffsets) {
  std::string b = BuildShellLink(Viewer());
  ASSERT_GT(b.size(), 0x4Cu);
  EXPECT_EQ(Le32(b, 0), 0x4Cu);
  EXPECT_EQ(b.substr(4, 16),
            std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16));
  EXPECT_EQ(Le32(b, 0x14), 0x1Bu);  // item list, link info, relative path, working folder
  EXPECT_EQ(Le32(b, 0x18), 0x20u);
  EXPECT_EQ(Le32(b, 0x30), 0x01D00000u);  // high half of the write time
  EXPECT_EQ(Le32(b, 0x34), 1234u);
  EXPECT_EQ(Le32(b, 0x3C), 1u);  // shown normally
  EXPECT_EQ(b.substr(b.size() - 4), std::string(4, '\0'));
  // Code page 932 strings, never the Unicode flag.
  EXPECT_EQ(Le32(b, 0x14) & 0x80, 0u);
  EXPECT_NE(b.find("ビューア"), std::string::npos);
}

TEST(LnkWriter, LnkinfoReadsPathsBackInCodePage932) {
  struct Case {
    const char* name;
    ShellLinkData data;
  };
  ShellLinkData minimal;
  minimal.targetPath = "D:\\ﾃﾞｰﾀ\\表示.TXT";  // 95 5C: a trail byte, no separator

  ShellLinkData noWorkingFolder = Viewer();
  noWorkingFolder.workingFolder.clear();
  noWorkingFolder.relativePath.clear();

  const Case cases[] = {{"full", Viewer()}, {"minimal", minimal}, {"no folder", noWorkingFolder}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string report = LnkInfo(BuildShellLink(c.data));
    EXPECT_EQ(testing::ReportField(report, "Local path"), *Cp932ToUtf8(c.data.targetPath))
        << report;
    EXPECT_EQ(testing::ReportField(report, "Working directory"),
              c.data.workingFolder.empty() ? "<none>" : *Cp932ToUtf8(c.data.workingFolder));
    EXPECT_EQ(testing::ReportField(report, "Relative path"),
              c.data.relativePath.empty() ? "<none>" : *Cp932ToUtf8(c.data.relativePath));
    EXPECT_EQ(testing::ReportField(report, "Drive type"), "Fixed (3)");
  }
}

TEST(LnkWriter, ItemListNamesMyComputerTheDriveAndEachComponent) {
  std::string report = LnkInfo(BuildShellLink(Viewer()));
  EXPECT_EQ(testing::ReportField(report, "Number of items"), "5");
  EXPECT_EQ(testing::ReportField(report, "Shell folder name"), "My Computer");
  EXPECT_EQ(testing::ReportField(report, "Volume name"), "C:\\");
  EXPECT_NE(report.find(*Cp932ToUtf8("Name\t\t\t: ビューア")), std::string::npos) << report;
  EXPECT_NE(report.find("0x32 (File entry: File)"), std::string::npos);
  EXPECT_NE(report.find("Modification time\t: Jan 11, 2001 07:33:58"), std::string::npos);
}

}  // namespace
}  // namespace korvane::posix
