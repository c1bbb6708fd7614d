// The transcript's lines: one JSON object per line with "event" first and the fields in the
// documented order, UTF-8 texts converted from code page 932 with CR kept, numbers as numbers.
#include "frontend/console/json_transcript.h"

#include <gtest/gtest.h>

#include <sstream>

namespace korvane {
namespace {

// A UTF-8 literal (u8 literals are not touched by the code page 932 execution charset).
std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST(JsonTranscriptTest, EveryEventIsOneLineWithItsFieldsInOrder) {
  std::ostringstream out;
  JsonTranscript transcript(out);
  transcript.Message("セットアップを行います．\r\r※");
  transcript.Ask("上書き確認", "a\"b\\c", 36, 7);
  transcript.Button("btnEvent", "中断(&A)", true);
  transcript.Progress(45, "45%(9/20)");
  transcript.Details("", "line1\r\nline2");
  transcript.Pause(400);
  transcript.Error("ｷｰ X の作成に失敗しました");
  transcript.Restart(7);
  transcript.Execute("C:\\APP\\README.TXT", "", 42);
  transcript.End(0);

  const std::string expected = U8(
      u8"{\"event\":\"message\",\"text\":\"セットアップを行います．\\r\\r※\"}\n"
      u8"{\"event\":\"ask\",\"caption\":\"上書き確認\",\"text\":\"a\\\"b\\\\c\",\"style\":36,"
      u8"\"answer\":7}\n"
      u8"{\"event\":\"button\",\"name\":\"btnEvent\",\"caption\":\"中断(&A)\",\"enabled\":true}\n"
      u8"{\"event\":\"progress\",\"position\":45,\"status\":\"45%(9/20)\"}\n"
      u8"{\"event\":\"details\",\"caption\":\"\",\"text\":\"line1\\r\\nline2\"}\n"
      u8"{\"event\":\"pause\",\"ms\":400}\n"
      u8"{\"event\":\"error\",\"text\":\"ｷｰ X の作成に失敗しました\"}\n"
      u8"{\"event\":\"restart\",\"answer\":7}\n"
      u8"{\"event\":\"execute\",\"file\":\"C:\\\\APP\\\\README.TXT\",\"params\":\"\","
      u8"\"result\":42}\n"
      u8"{\"event\":\"end\",\"exit\":0}\n");
  EXPECT_EQ(out.str(), expected);
}

TEST(JsonTranscriptTest, BytesThatAreNotCodePage932StillGiveValidJson) {
  std::ostringstream out;
  JsonTranscript transcript(out);
  transcript.Message(std::string("bad \x81 end\x82", 10));
  auto object = nlohmann::json::parse(out.str());
  EXPECT_EQ(object["event"], "message");
  EXPECT_EQ(object["text"].get<std::string>().rfind("bad ", 0), 0u);
}

}  // namespace
}  // namespace korvane
