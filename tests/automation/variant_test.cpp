#include "platform/automation/variant.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/automation/error.h"

namespace vt::automation {
namespace {

std::int32_t ErrorNumberOf(const auto& body) {
  try {
    body();
  } catch (const Error& e) {
    return e.number();
  }
  return 0;
}

TEST(VariantTest, TypesOfConstructedValues) {
  EXPECT_EQ(Variant().type(), VarType::Empty);
  EXPECT_EQ(Variant::Null().type(), VarType::Null);
  EXPECT_EQ(Variant(true).type(), VarType::Boolean);
  EXPECT_EQ(Variant(std::int16_t{3}).type(), VarType::Integer);
  EXPECT_EQ(Variant(3).type(), VarType::Long);
  EXPECT_EQ(Variant(2.5).type(), VarType::Double);
  EXPECT_EQ(Variant("x").type(), VarType::String);
  EXPECT_EQ(Variant(ObjectRef{}).type(), VarType::Object);
  EXPECT_NE(Variant(std::int16_t{3}), Variant(3));  // same value, other type
}

TEST(VariantTest, IsNumericOnTexts) {
  for (const char* yes :
       {"0", "12", "-7", "+7", " 42 ", "3.5", ".5", "5.", "1e3", "1E-3", "-2.5e+2", "00012"}) {
    EXPECT_TRUE(Variant(yes).IsNumeric()) << '"' << yes << '"';
  }
  for (const char* no : {"", "   ", "abc", "12a", "1 2", "--1", "+", ".", "e5", "1e", "1e+", "\t5",
                         "5\n", "1,5", "0x10", "1.2.3", "Language_2"}) {
    EXPECT_FALSE(Variant(no).IsNumeric()) << '"' << no << '"';
  }
}

TEST(VariantTest, IsNumericOnOtherTypes) {
  EXPECT_TRUE(Variant().IsNumeric());
  EXPECT_TRUE(Variant(false).IsNumeric());
  EXPECT_TRUE(Variant(1.5).IsNumeric());
  EXPECT_FALSE(Variant::Null().IsNumeric());
  EXPECT_FALSE(Variant(ObjectRef{}).IsNumeric());
}

TEST(VariantTest, ToIntegerRoundsHalfToEven) {
  EXPECT_EQ(Variant(2.5).ToInteger(), 2);
  EXPECT_EQ(Variant(3.5).ToInteger(), 4);
  EXPECT_EQ(Variant(-2.5).ToInteger(), -2);
  EXPECT_EQ(Variant(-3.5).ToInteger(), -4);
  EXPECT_EQ(Variant(0.5).ToInteger(), 0);
  EXPECT_EQ(Variant(1.5).ToInteger(), 2);
  EXPECT_EQ(Variant(2.4999).ToInteger(), 2);
  EXPECT_EQ(Variant(2.5001).ToInteger(), 3);
  EXPECT_EQ(Variant("2.5").ToInteger(), 2);
  EXPECT_EQ(Variant(" 3.5 ").ToInteger(), 4);
  EXPECT_EQ(Variant("-2.5").ToInteger(), -2);
}

TEST(VariantTest, ToIntegerRange) {
  EXPECT_EQ(Variant("32767").ToInteger(), 32767);
  EXPECT_EQ(Variant("-32768").ToInteger(), -32768);
  EXPECT_EQ(Variant(-32768.5).ToInteger(), -32768);  // rounds to even, inside
  EXPECT_EQ(Variant(32767.4).ToInteger(), 32767);
  EXPECT_EQ(Variant(std::int32_t{-32768}).ToInteger(), -32768);
  for (const Variant& v : {Variant("32768"), Variant(32767.5), Variant("-32769"), Variant(-32769.0),
                           Variant(40000), Variant("1e400"), Variant("-1e400")}) {
    EXPECT_EQ(ErrorNumberOf([&] { (void)v.ToInteger(); }), errors::kOverflow) << v.ToString();
  }
  try {
    (void)Variant("32768").ToInteger();
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.description(), "Overflow");
  }
}

TEST(VariantTest, ConversionFailures) {
  try {
    (void)Variant("abc").ToInteger();
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), errors::kTypeMismatch);
    EXPECT_EQ(e.description(), "Type mismatch");
  }
  EXPECT_EQ(ErrorNumberOf([] { (void)Variant("").ToInteger(); }), errors::kTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([] { (void)Variant("").ToDouble(); }), errors::kTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([] { (void)Variant::Null().ToInteger(); }), errors::kInvalidUseOfNull);
  EXPECT_EQ(ErrorNumberOf([] { (void)Variant::Null().ToString(); }), errors::kInvalidUseOfNull);
  EXPECT_EQ(ErrorNumberOf([] { (void)Variant(ObjectRef{}).ToString(); }), errors::kTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([] { (void)Variant("x").ToObject(); }), errors::kTypeMismatch);
  EXPECT_EQ(ErrorNumberOf([] { (void)Variant("maybe").ToBoolean(); }), errors::kTypeMismatch);
}

TEST(VariantTest, ToLongAndDouble) {
  EXPECT_EQ(Variant("2147483647").ToLong(), 2147483647);
  EXPECT_EQ(ErrorNumberOf([] { (void)Variant("2147483648").ToLong(); }), errors::kOverflow);
  EXPECT_EQ(Variant(2.5).ToLong(), 2);
  EXPECT_EQ(Variant(true).ToLong(), -1);
  EXPECT_EQ(Variant().ToLong(), 0);
  EXPECT_DOUBLE_EQ(Variant(" -1.25e2 ").ToDouble(), -125.0);
  EXPECT_DOUBLE_EQ(Variant("1e-400").ToDouble(), 0.0);
}

TEST(VariantTest, ToStringAndBoolean) {
  EXPECT_EQ(Variant().ToString(), "");
  EXPECT_EQ(Variant(true).ToString(), "True");
  EXPECT_EQ(Variant(false).ToString(), "False");
  EXPECT_EQ(Variant(std::int16_t{-12}).ToString(), "-12");
  EXPECT_EQ(Variant(2.0).ToString(), "2");
  EXPECT_EQ(Variant(0.5).ToString(), "0.5");
  EXPECT_EQ(Variant(-0.0).ToString(), "0");
  EXPECT_EQ(Variant(1e20).ToString(), "1E+20");
  EXPECT_EQ(Variant(0.1 + 0.2).ToString(), "0.3");
  EXPECT_EQ(Variant("  kept  ").ToString(), "  kept  ");
  // A temporary hands its text over; every other kind reads as from a copy.
  for (const Variant& v : {Variant(), Variant(true), Variant(std::int16_t{-12}), Variant(0.5),
                           Variant(std::string(40, 'x'))}) {
    EXPECT_EQ(Variant(v).ToString(), v.ToString());
  }

  EXPECT_TRUE(Variant(" true ").ToBoolean());
  EXPECT_FALSE(Variant("FALSE").ToBoolean());
  EXPECT_TRUE(Variant("-1").ToBoolean());
  EXPECT_FALSE(Variant("0").ToBoolean());
  EXPECT_FALSE(Variant().ToBoolean());
  EXPECT_TRUE(Variant(0.1).ToBoolean());
}

TEST(VariantTest, ToObject) {
  EXPECT_EQ(Variant().ToObject(), nullptr);
  EXPECT_EQ(Variant(ObjectRef{}).ToObject(), nullptr);
}

}  // namespace
}  // namespace vt::automation
