#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/configure.h"

namespace vt::ui {
namespace {

std::string ErrorOf(std::string_view list) {
  try {
    ParseAnswers(list);
  } catch (const ConfigError& e) {
    return e.what();
  }
  return "no error";
}

TEST(UiParseAnswers, WordsInOrderIgnoringCaseAndBlanks) {
  EXPECT_EQ(ParseAnswers("ok,cancel,yes,no"),
            (std::vector{Answer::Ok, Answer::Cancel, Answer::Yes, Answer::No}));
  EXPECT_EQ(ParseAnswers(" YES , No,oK "), (std::vector{Answer::Yes, Answer::No, Answer::Ok}));
  EXPECT_EQ(ParseAnswers("no"), std::vector{Answer::No});
}

TEST(UiParseAnswers, EmptyListGivesNoAnswers) {
  EXPECT_TRUE(ParseAnswers("").empty());
  EXPECT_TRUE(ParseAnswers("  ").empty());
}

TEST(UiParseAnswers, UnknownWordIsNamedWithItsPlace) {
  EXPECT_EQ(ErrorOf("ok,maybe,no"),
            "answer 2 of the answers list \"ok,maybe,no\", \"maybe\", is not one of ok, cancel, "
            "yes, no");
  // Buttons the system never shows are not answers a user can give in a list.
  EXPECT_NE(ErrorOf("retry").find("\"retry\""), std::string::npos);
  EXPECT_NE(ErrorOf("y").find("answer 1"), std::string::npos);
}

TEST(UiParseAnswers, EmptyItemIsAnError) {
  EXPECT_EQ(ErrorOf("ok,,no"),
            "answer 2 of the answers list \"ok,,no\" is empty; expected ok, cancel, yes or no");
  EXPECT_NE(ErrorOf("ok,").find("answer 2"), std::string::npos);
  EXPECT_NE(ErrorOf(",ok").find("answer 1"), std::string::npos);
}

}  // namespace
}  // namespace vt::ui
