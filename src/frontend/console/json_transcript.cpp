// The JSON transcript writer. Texts arrive in code page 932 and leave as UTF-8 (a byte that
// is not code page 932 becomes U+FFFD rather than breaking the line); CR stays "\r".
#include "frontend/console/json_transcript.h"

#include "platform/encoding.h"

namespace korvane {

namespace {
std::string U(const std::string& cp932) { return Cp932ToUtf8Lossy(cp932); }
}  // namespace

nlohmann::ordered_json JsonTranscript::Event(const char* name) {
  nlohmann::ordered_json object;
  object["event"] = name;
  return object;
}

void JsonTranscript::Write(const nlohmann::ordered_json& object) {
  out_ << object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
  out_.flush();
}

void JsonTranscript::Message(const std::string& text) {
  auto e = Event("message");
  e["text"] = U(text);
  Write(e);
}

void JsonTranscript::Ask(const std::string& caption, const std::string& text, int style,
                         int answer) {
  auto e = Event("ask");
  e["caption"] = U(caption);
  e["text"] = U(text);
  e["style"] = style;
  e["answer"] = answer;
  Write(e);
}

void JsonTranscript::Button(const std::string& name, const std::string& caption, bool enabled) {
  auto e = Event("button");
  e["name"] = name;
  e["caption"] = U(caption);
  e["enabled"] = enabled;
  Write(e);
}

void JsonTranscript::Progress(int position, const std::string& status) {
  auto e = Event("progress");
  e["position"] = position;
  e["status"] = U(status);
  Write(e);
}

void JsonTranscript::Details(const std::string& caption, const std::string& text) {
  auto e = Event("details");
  e["caption"] = U(caption);
  e["text"] = U(text);
  Write(e);
}

void JsonTranscript::Pause(uint32_t ms) {
  auto e = Event("pause");
  e["ms"] = ms;
  Write(e);
}

void JsonTranscript::Error(const std::string& text) {
  auto e = Event("error");
  e["text"] = U(text);
  Write(e);
}

void JsonTranscript::Restart(int answer) {
  auto e = Event("restart");
  e["answer"] = answer;
  Write(e);
}

void JsonTranscript::Execute(const std::string& file, const std::string& params, int32_t result) {
  auto e = Event("execute");
  e["file"] = U(file);
  e["params"] = U(params);
  e["result"] = result;
  Write(e);
}

void JsonTranscript::End(int exitCode) {
  auto e = Event("end");
  e["exit"] = exitCode;
  Write(e);
}

}  // namespace korvane
