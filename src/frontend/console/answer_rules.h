// How a run without a user answers the questions it is asked: answers given by caption
// (--answer, --answers), else the default answers of an unattended run, and the guard that
// refuses a disk that never arrives. Never blocks; every answer is one of the box's buttons.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace korvane {

/// The caption under which the restart question is answered.
inline constexpr const char* kRestartCaption = "restart";

/// "Yes", "No", "OK", "Cancel" (any letter case) as 6, 7, 1, 2: nullopt for anything else.
std::optional<int> ParseAnswerWord(const std::string& word);

/// Reads the [Answers] section of an answers file (UTF-8, LF or CR LF, ';' comments) into
/// answers (captions converted to code page 932): false and a UTF-8 message on a bad line.
bool ParseAnswersFile(const std::string& utf8Text, std::map<std::string, int>& answers,
                      std::string& error);

class AnswerRules {
 public:
  /// explicitAnswers: caption (code page 932) -> answer; useDefaults: the default table and
  /// the disk guard, else every other box gets its first button.
  explicit AnswerRules(std::map<std::string, int> explicitAnswers = {}, bool useDefaults = true)
      : explicit_(std::move(explicitAnswers)), useDefaults_(useDefaults) {}

  /// The answer to a message box (caption and text code page 932).
  int Answer(const std::string& caption, const std::string& text, int style);
  /// The answer to the restart question: 6 or 7.
  int Restart() const;
  /// The answer the rules give for a caption, before the box's buttons are considered.
  std::optional<int> Preferred(const std::string& caption) const;

 private:
  std::map<std::string, int> explicit_;
  bool useDefaults_;
  std::string lastDiskText_;
  int diskAsks_ = 0;
};

}  // namespace korvane
