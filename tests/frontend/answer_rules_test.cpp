// The answers of runs without a user: defaults by caption, answers given by caption, answers
// that are not a button of the box, the guard against a disk that never comes, the restart
// question and the answers file.
#include "frontend/console/answer_rules.h"

#include <gtest/gtest.h>

#include "framework/message_box.h"

namespace korvane {
namespace {

struct AnswerCase {
  const char* caption;
  int style;
  std::map<std::string, int> given;
  int expected;
};

TEST(AnswerRulesTest, AnswersByCaptionThenDefaultsThenFirstButton) {
  const AnswerCase cases[] = {
      {"フォルダ作成", kStyleQuestion, {}, kIdYes},
      {"空き容量不足", kStyleWarningYesNo, {}, kIdYes},
      {"上書き確認", kStyleQuestion, {}, kIdNo},
      {"ディスク交換", kStyleInformationOkCancel, {}, kIdOk},
      {"関連付けの確認", kStyleQuestion, {}, kIdYes},
      {"警告", kStyleWarningYesNo, {}, kIdNo},
      {"ファイル削除の確認", kStyleQuestion, {}, kIdNo},
      {"終了確認", kStyleQuestion, {}, kIdYes},
      {"中断の確認", kStyleQuestion, {}, kIdYes},
      // An OK-only 警告 box cannot be answered No: its first button.
      {"警告", kStyleWarning, {}, kIdOk},
      // A caption without a rule gets the first button.
      {"完了", kStyleInformation, {}, kIdOk},
      {"未知", kStyleQuestion, {}, kIdYes},
      // Given answers win over the defaults...
      {"上書き確認", kStyleQuestion, {{"上書き確認", kIdYes}}, kIdYes},
      {"終了確認", kStyleQuestion, {{"終了確認", kIdNo}}, kIdNo},
      {"ディスク交換", kStyleInformationOkCancel, {{"ディスク交換", kIdCancel}}, kIdCancel},
      // ...unless they are not a button of the box.
      {"フォルダ作成", kStyleQuestion, {{"フォルダ作成", kIdCancel}}, kIdYes},
      {"ディスク交換", kStyleInformationOkCancel, {{"ディスク交換", kIdNo}}, kIdOk},
      // Captions are matched exactly, byte for byte.
      {"上書き確認", kStyleQuestion, {{"上書き", kIdYes}}, kIdNo},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.caption) + " style " + std::to_string(c.style));
    AnswerRules rules(c.given);
    EXPECT_EQ(rules.Answer(c.caption, "text", c.style), c.expected);
  }
}

TEST(AnswerRulesTest, WithoutDefaultsOnlyGivenAnswersCount) {
  AnswerRules rules({{"警告", kIdYes}}, /*useDefaults=*/false);
  EXPECT_EQ(rules.Answer("上書き確認", "x", kStyleQuestion), kIdYes);  // first button
  EXPECT_EQ(rules.Answer("警告", "x", kStyleWarningYesNo), kIdYes);
}

TEST(AnswerRulesTest, TheThirdConsecutiveAskForTheSameDiskIsRefused) {
  AnswerRules rules;
  const std::string disk2 = "2枚目のディスクに交換してください．";
  const std::string disk3 = "3枚目のディスクに交換してください．";
  EXPECT_EQ(rules.Answer("ディスク交換", disk2, kStyleInformationOkCancel), kIdOk);
  EXPECT_EQ(rules.Answer("ディスク交換", disk2, kStyleInformationOkCancel), kIdOk);
  EXPECT_EQ(rules.Answer("ディスク交換", disk2, kStyleInformationOkCancel), kIdCancel);

  // Another disk starts a new count, and so does any other question in between.
  AnswerRules other;
  EXPECT_EQ(other.Answer("ディスク交換", disk2, kStyleInformationOkCancel), kIdOk);
  EXPECT_EQ(other.Answer("ディスク交換", disk3, kStyleInformationOkCancel), kIdOk);
  EXPECT_EQ(other.Answer("ディスク交換", disk3, kStyleInformationOkCancel), kIdOk);
  EXPECT_EQ(other.Answer("上書き確認", "x", kStyleQuestion), kIdNo);
  EXPECT_EQ(other.Answer("ディスク交換", disk3, kStyleInformationOkCancel), kIdOk);
  EXPECT_EQ(other.Answer("ディスク交換", disk3, kStyleInformationOkCancel), kIdOk);
  EXPECT_EQ(other.Answer("ディスク交換", disk3, kStyleInformationOkCancel), kIdCancel);

  // An explicit OK does not make a missing disk loop for ever.
  AnswerRules stubborn({{"ディスク交換", kIdOk}});
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(stubborn.Answer("ディスク交換", disk2, kStyleInformationOkCancel), kIdOk);
  }
  EXPECT_EQ(stubborn.Answer("ディスク交換", disk2, kStyleInformationOkCancel), kIdCancel);
}

TEST(AnswerRulesTest, TheRestartQuestionIsNoUnlessRestartIsYes) {
  EXPECT_EQ(AnswerRules().Restart(), kIdNo);
  EXPECT_EQ(AnswerRules({{kRestartCaption, kIdYes}}).Restart(), kIdYes);
  EXPECT_EQ(AnswerRules({{kRestartCaption, kIdOk}}).Restart(), kIdNo);
}

TEST(AnswerRulesTest, AnswerWords) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"Yes", kIdYes},    {"yes", kIdYes},       {"NO", kIdNo},           {"OK", kIdOk},
      {"ok", kIdOk},      {"Cancel", kIdCancel}, {" Yes ", kIdYes},       {"Y", std::nullopt},
      {"", std::nullopt}, {"6", std::nullopt},   {"Abort", std::nullopt},
  };
  for (const auto& [word, expected] : cases) {
    SCOPED_TRACE(word);
    EXPECT_EQ(ParseAnswerWord(word), expected);
  }
}

TEST(AnswerRulesTest, AnswersFileReadsItsSectionOnly) {
  // UTF-8 with a byte-order mark and CR LF; other sections and comments are skipped.
  const std::string file =
      "\xEF\xBB\xBF; answers\r\n[Other]\r\nkey=Yes\r\n[Answers]\r\n"
      "\xE4\xB8\x8A\xE6\x9B\xB8\xE3\x81\x8D\xE7\xA2\xBA\xE8\xAA\x8D = yes\r\n"  // 上書き確認
      "restart=Yes\r\n\r\n[answers2]\r\nX=No\r\n";
  std::map<std::string, int> answers;
  std::string error;
  ASSERT_TRUE(ParseAnswersFile(file, answers, error)) << error;
  EXPECT_EQ(answers, (std::map<std::string, int>{{"上書き確認", kIdYes}, {"restart", kIdYes}}));

  for (const char* bad :
       {"[Answers]\nno equals sign\n", "[Answers]\nX=Maybe\n", "[Answers]\n=Yes\n"}) {
    SCOPED_TRACE(bad);
    std::map<std::string, int> none;
    EXPECT_FALSE(ParseAnswersFile(bad, none, error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace korvane
