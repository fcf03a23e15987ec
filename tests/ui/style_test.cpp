#include "platform/ui/style.h"

#include <gtest/gtest.h>

#include <vector>

namespace vt::ui {
namespace {

std::vector<Answer> List(Buttons b) {
  const auto span = ButtonsOf(b);
  return {span.begin(), span.end()};
}

TEST(UiDecodeStyle, TheFiveStylesTheSystemUses) {
  struct Case {
    int style;
    Icon icon;
    std::vector<Answer> buttons;
    Answer safe;
  };
  const std::vector<Case> cases{
      {16, Icon::Critical, {Answer::Ok}, Answer::Ok},
      {36, Icon::Question, {Answer::Yes, Answer::No}, Answer::No},
      {48, Icon::Exclamation, {Answer::Ok}, Answer::Ok},
      {64, Icon::Information, {Answer::Ok}, Answer::Ok},
      {65, Icon::Information, {Answer::Ok, Answer::Cancel}, Answer::Cancel},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    const Style s = DecodeStyle(c.style);
    EXPECT_EQ(s.icon, c.icon);
    EXPECT_EQ(List(s.buttons), c.buttons);
    EXPECT_EQ(s.default_button, 0);
    EXPECT_EQ(SafeAnswer(s.buttons), c.safe);
  }
}

TEST(UiDecodeStyle, OtherButtonSetsAndIcons) {
  EXPECT_EQ(DecodeStyle(0).buttons, Buttons::Ok);
  EXPECT_EQ(DecodeStyle(0).icon, Icon::None);
  EXPECT_EQ(DecodeStyle(2).buttons, Buttons::AbortRetryIgnore);
  EXPECT_EQ(DecodeStyle(3 + 32).buttons, Buttons::YesNoCancel);
  EXPECT_EQ(DecodeStyle(3 + 32).icon, Icon::Question);
  EXPECT_EQ(DecodeStyle(5).buttons, Buttons::RetryCancel);
  EXPECT_EQ(SafeAnswer(Buttons::YesNoCancel), Answer::Cancel);
  EXPECT_EQ(SafeAnswer(Buttons::RetryCancel), Answer::Cancel);
  EXPECT_EQ(SafeAnswer(Buttons::AbortRetryIgnore), Answer::Abort);
}

TEST(UiDecodeStyle, UnknownBitsAndOddValuesNeverFail) {
  EXPECT_EQ(DecodeStyle(6).buttons, Buttons::Ok);
  EXPECT_EQ(DecodeStyle(7).buttons, Buttons::Ok);
  EXPECT_EQ(DecodeStyle(80).icon, Icon::None);                // 16 | 64: no such icon
  EXPECT_EQ(DecodeStyle(4096 + 48).icon, Icon::Exclamation);  // system-modal bit ignored
  const Style negative = DecodeStyle(-1);
  EXPECT_EQ(negative.buttons, Buttons::Ok);
  EXPECT_EQ(negative.default_button, 0);
}

TEST(UiDecodeStyle, DefaultButtonFallsBackToFirstWhenBoxHasTooFew) {
  EXPECT_EQ(DecodeStyle(36 + 256).default_button, 1);  // No
  EXPECT_EQ(DecodeStyle(3 + 512).default_button, 2);   // Cancel
  EXPECT_EQ(DecodeStyle(4 + 512).default_button, 0);   // Yes/No has no third
  EXPECT_EQ(DecodeStyle(768).default_button, 0);
}

TEST(UiAnswers, WordsLabelsAndValues) {
  EXPECT_EQ(static_cast<int>(Answer::Ok), 1);
  EXPECT_EQ(static_cast<int>(Answer::Cancel), 2);
  EXPECT_EQ(static_cast<int>(Answer::Yes), 6);
  EXPECT_EQ(static_cast<int>(Answer::No), 7);
  EXPECT_EQ(AnswerWord(Answer::Ok), "ok");
  EXPECT_EQ(AnswerLabel(Answer::Ok), "OK");
  EXPECT_EQ(AnswerWord(Answer::Cancel), "cancel");
  EXPECT_EQ(AnswerLabel(Answer::No), "No");
  EXPECT_EQ(AnswerFromWord("YES"), Answer::Yes);
  EXPECT_EQ(AnswerFromWord("Ignore"), Answer::Ignore);
  EXPECT_EQ(AnswerFromWord("y"), std::nullopt);
  EXPECT_EQ(AnswerFromWord(""), std::nullopt);
  EXPECT_TRUE(Fits(Answer::Cancel, Buttons::OkCancel));
  EXPECT_FALSE(Fits(Answer::Yes, Buttons::Ok));
  EXPECT_FALSE(Fits(Answer::Cancel, Buttons::YesNo));
}

}  // namespace
}  // namespace vt::ui
