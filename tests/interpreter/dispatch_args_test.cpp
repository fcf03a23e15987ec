// By-reference arguments of late-bound calls.
#include "library/interpreter/dispatch_args.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/automation/error.h"

namespace vt::interpreter {
namespace {

using automation::Variant;

std::int32_t ErrorNumber(auto&& body) {
  try {
    body();
  } catch (const automation::Error& e) {
    return e.number();
  }
  return 0;
}

TEST(ByRefTest, SameTypeIsWrittenBack) {
  std::vector<Variant> args{Variant("  FIX.exe "), Variant(std::int16_t{2}), Variant(false)};
  {
    ByRefString name(args, 0);
    ByRefInteger number(args, 1);
    ByRefBoolean flag(args, 2);
    EXPECT_EQ(name.value, "  FIX.exe ");
    EXPECT_EQ(number.value, 2);
    EXPECT_FALSE(flag.value);
    name.value = "FIX.EXE";
    number.value = 5;
    flag.value = true;
  }
  EXPECT_EQ(args[0], Variant("FIX.EXE"));
  EXPECT_EQ(args[1], Variant(std::int16_t{5}));
  EXPECT_EQ(args[2], Variant(true));
}

TEST(ByRefTest, OtherTypeIsConvertedIntoACopy) {
  std::vector<Variant> args{Variant(std::int32_t{3}), Variant("7"), Variant(std::int16_t{1})};
  {
    ByRefInteger number(args, 0);
    ByRefInteger text_number(args, 1);
    ByRefString text(args, 2);
    EXPECT_EQ(number.value, 3);
    EXPECT_EQ(text_number.value, 7);
    EXPECT_EQ(text.value, "1");
    number.value = 4;
    text_number.value = 8;
    text.value = "x";
  }
  EXPECT_EQ(args[0], Variant(std::int32_t{3}));
  EXPECT_EQ(args[1], Variant("7"));
  EXPECT_EQ(args[2], Variant(std::int16_t{1}));
}

TEST(ByRefTest, OmittedOptionalTakesTheEmptyValue) {
  std::vector<Variant> args{Variant()};
  ByRefString empty_given(args, 0);
  ByRefInteger beyond_the_end(args, 3);
  ByRefBoolean also(args, 1);
  EXPECT_EQ(empty_given.value, "");
  EXPECT_EQ(beyond_the_end.value, 0);
  EXPECT_FALSE(also.value);
}

TEST(ByRefTest, OmittedRequiredIsArgumentNotOptional) {
  std::vector<Variant> args;
  EXPECT_EQ(ErrorNumber([&] { ByRefString required(args, 0, true); }), 449);
  args.emplace_back();
  EXPECT_EQ(ErrorNumber([&] { ByRefString required(args, 0, true); }), 449);
}

TEST(ByRefTest, UnconvertibleArgumentRaises) {
  std::vector<Variant> args{Variant("many"), Variant(40000.0), Variant::Null()};
  EXPECT_EQ(ErrorNumber([&] { ByRefInteger n(args, 0); }), automation::errors::kTypeMismatch);
  EXPECT_EQ(ErrorNumber([&] { ByRefInteger n(args, 1); }), automation::errors::kOverflow);
  EXPECT_EQ(ErrorNumber([&] { ByRefString s(args, 2); }), automation::errors::kInvalidUseOfNull);
  EXPECT_EQ(args[0], Variant("many"));
}

TEST(CheckArgumentCountTest, TooManyIsWrongNumberOfArguments) {
  std::vector<Variant> args{Variant("a"), Variant("b")};
  EXPECT_EQ(ErrorNumber([&] { CheckArgumentCount(args, 2, "M"); }), 0);
  EXPECT_EQ(ErrorNumber([&] { CheckArgumentCount(args, 1, "M"); }), 450);
  try {
    CheckArgumentCount(args, 0, "SetUserGlobalLang");
  } catch (const automation::Error& e) {
    EXPECT_NE(e.description().find("SetUserGlobalLang"), std::string::npos);
  }
}

TEST(OptionalObjectTest, NothingForOmittedEmptyOrNull) {
  std::vector<Variant> args{Variant(), Variant::Null(), Variant("text")};
  EXPECT_EQ(OptionalObject(args, 0), nullptr);
  EXPECT_EQ(OptionalObject(args, 1), nullptr);
  EXPECT_EQ(OptionalObject(args, 7), nullptr);
  EXPECT_EQ(ErrorNumber([&] { OptionalObject(args, 2); }), automation::errors::kTypeMismatch);
}

}  // namespace
}  // namespace vt::interpreter
