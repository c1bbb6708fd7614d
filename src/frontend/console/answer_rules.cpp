// The answer rules of unattended runs. The disk guard counts consecutive asks for the same
// disk: the third one is refused, so a missing disk ends the run instead of looping forever.
#include "frontend/console/answer_rules.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "framework/message_box.h"
#include "platform/encoding.h"

namespace korvane {

namespace {

constexpr const char* kDiskChangeCaption = "ディスク交換";

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

const std::map<std::string, int>& DefaultAnswers() {
  static const std::map<std::string, int> table = {
      {"フォルダ作成", kIdYes},      {"空き容量不足", kIdYes},   {"上書き確認", kIdNo},
      {kDiskChangeCaption, kIdOk},   {"関連付けの確認", kIdYes}, {"警告", kIdNo},
      {"ファイル削除の確認", kIdNo}, {"終了確認", kIdYes},       {"中断の確認", kIdYes},
  };
  return table;
}

}  // namespace

std::optional<int> ParseAnswerWord(const std::string& word) {
  std::string w = Lower(Trim(word));
  if (w == "yes") return kIdYes;
  if (w == "no") return kIdNo;
  if (w == "ok") return kIdOk;
  if (w == "cancel") return kIdCancel;
  return std::nullopt;
}

bool ParseAnswersFile(const std::string& utf8Text, std::map<std::string, int>& answers,
                      std::string& error) {
  std::string text = utf8Text;
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);  // a UTF-8 byte-order mark
  std::istringstream lines(text);
  std::string line;
  bool inAnswers = false;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    line = Trim(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[') {
      size_t close = line.find(']');
      inAnswers = close != std::string::npos && Lower(Trim(line.substr(1, close - 1))) == "answers";
      continue;
    }
    if (!inAnswers) continue;
    size_t eq = line.rfind('=');
    if (eq == std::string::npos) {
      error = "line " + std::to_string(number) + ": expected CAPTION=ANSWER";
      return false;
    }
    std::string caption = Trim(line.substr(0, eq));
    auto answer = ParseAnswerWord(line.substr(eq + 1));
    auto captionSjis = Utf8ToCp932(caption);
    if (!answer || !captionSjis || caption.empty()) {
      error = "line " + std::to_string(number) + ": expected CAPTION=Yes|No|OK|Cancel";
      return false;
    }
    answers[*captionSjis] = *answer;
  }
  return true;
}

std::optional<int> AnswerRules::Preferred(const std::string& caption) const {
  if (auto it = explicit_.find(caption); it != explicit_.end()) return it->second;
  if (!useDefaults_) return std::nullopt;
  if (auto it = DefaultAnswers().find(caption); it != DefaultAnswers().end()) return it->second;
  return std::nullopt;
}

int AnswerRules::Answer(const std::string& caption, const std::string& text, int style) {
  if (caption == kDiskChangeCaption) {
    diskAsks_ = text == lastDiskText_ ? diskAsks_ + 1 : 1;
    lastDiskText_ = text;
  } else {
    diskAsks_ = 0;
    lastDiskText_.clear();
  }
  if (useDefaults_ && diskAsks_ >= 3 && IsButtonOf(style, kIdCancel)) return kIdCancel;
  std::optional<int> answer = Preferred(caption);
  if (answer && IsButtonOf(style, *answer)) return *answer;
  return FirstButtonOf(style);
}

int AnswerRules::Restart() const {
  auto it = explicit_.find(kRestartCaption);
  return it != explicit_.end() && it->second == kIdYes ? kIdYes : kIdNo;
}

}  // namespace korvane
