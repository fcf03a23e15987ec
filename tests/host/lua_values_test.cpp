#include <gtest/gtest.h>

#include <cstdint>

#include "platform/automation/variant.h"
#include "tests/host/lua_fixture.h"

// Values crossing between a host script and automation objects, both ways.
namespace vt::host::scripting {
namespace {

using automation::VarType;

TEST_F(LuaTest, LuaValuesBecomeVariantsOfTheNaturalType) {
  ASSERT_EQ(Printed("print(probe:Record(nil, true, false, 0, -32768, 32767, 32768, -32769,"
                    " 2147483647, 2147483648, 1.5, 'Ünïcode', Null, probe, Nothing))"),
            "15\n");
  const std::vector<Variant>& got = probe->received;
  ASSERT_EQ(got.size(), 15U);
  EXPECT_EQ(got[0].type(), VarType::Empty);
  EXPECT_EQ(got[1], Variant(true));
  EXPECT_EQ(got[2], Variant(false));
  EXPECT_EQ(got[3], Variant(std::int16_t{0}));
  EXPECT_EQ(got[4], Variant(std::int16_t{-32768}));
  EXPECT_EQ(got[5], Variant(std::int16_t{32767}));
  EXPECT_EQ(got[6], Variant(std::int32_t{32768}));
  EXPECT_EQ(got[7], Variant(std::int32_t{-32769}));
  EXPECT_EQ(got[8], Variant(std::int32_t{2147483647}));
  EXPECT_EQ(got[9], Variant(2147483648.0));  // beyond Long: Double, as a literal would be
  EXPECT_EQ(got[10], Variant(1.5));
  EXPECT_EQ(got[11], Variant("Ünïcode"));
  EXPECT_TRUE(got[12].IsNull());
  EXPECT_EQ(got[13].ToObject(), probe);
  EXPECT_EQ(got[14].type(), VarType::Object);
  EXPECT_EQ(got[14].ToObject(), nullptr);
}

TEST_F(LuaTest, AFloatStaysDoubleEvenWhenWhole) {
  Printed("probe:Record(2.0, 3 / 1)");
  EXPECT_EQ(probe->received.at(0), Variant(2.0));
  EXPECT_EQ(probe->received.at(1), Variant(3.0));
}

TEST_F(LuaTest, IntegerAndLongForceAWidthAsCIntAndCLngDo) {
  Printed("probe:Record(Integer(5), Long(5), Integer(2.5), Integer(3.5), Long('  12 '))");
  const std::vector<Variant>& got = probe->received;
  EXPECT_EQ(got.at(0), Variant(std::int16_t{5}));
  EXPECT_EQ(got.at(1), Variant(std::int32_t{5}));
  EXPECT_EQ(got.at(2), Variant(std::int16_t{2}));  // half to even
  EXPECT_EQ(got.at(3), Variant(std::int16_t{4}));
  EXPECT_EQ(got.at(4), Variant(std::int32_t{12}));
  EXPECT_NE(Failure("Integer(40000)").find("Overflow"), std::string::npos);
  EXPECT_NE(Failure("Long('many')").find("Type mismatch"), std::string::npos);
  EXPECT_EQ(Printed("print(Integer(5), Long(-6), TypeName(Integer(1)), TypeName(Long(1)))"),
            "5\t-6\tInteger\tLong\n");
}

TEST_F(LuaTest, VariantsComeBackAsLuaValues) {
  struct Case {
    Variant value;
    const char* printed;
  };
  const Case cases[] = {
      {Variant(), "nil\tnil\n"},
      {Variant(true), "boolean\ttrue\n"},
      {Variant(std::int16_t{-3}), "integer\t-3\n"},
      {Variant(std::int32_t{100000}), "integer\t100000\n"},
      {Variant(2.0), "float\t2.0\n"},
      {Variant(" text "), "string\t text \n"},
  };
  for (const Case& c : cases) {
    probe->answer = c.value;
    EXPECT_EQ(Printed("local v = probe:Answer()\n"
                      "print(math.type(v) or type(v), v)"),
              c.printed);
  }
}

TEST_F(LuaTest, NullAndNothingComeBackAsTheirOwnValues) {
  probe->answer = Variant::Null();
  EXPECT_EQ(Printed("local v = probe:Answer()\n"
                    "print(v == Null, v, TypeName(v), v == nil, v == Nothing)"),
            "true\tNull\tNull\tfalse\tfalse\n");
  probe->answer = Variant(automation::ObjectRef());
  EXPECT_EQ(Printed("local v = probe:Answer()\n"
                    "print(v == Nothing, v, TypeName(v), v == probe)"),
            "true\tNothing\tNothing\tfalse\n");
  // Even when the script reassigned the globals.
  EXPECT_EQ(Printed("local n = Nothing; Nothing = 1; print(probe:Answer() == n)"), "true\n");
}

TEST_F(LuaTest, TypeNameFollowsTheHostLanguage) {
  EXPECT_EQ(Printed("print(TypeName(nil), TypeName(true), TypeName(1), TypeName(40000),"
                    " TypeName(1.0), TypeName('x'), TypeName(Null), TypeName(Nothing),"
                    " TypeName(probe))"),
            "Empty\tBoolean\tInteger\tLong\tDouble\tString\tNull\tNothing\tProbe\n");
}

TEST_F(LuaTest, ValuesWithoutAnAutomationValueAreRefused) {
  const std::string table = Failure("probe:Record({})");
  EXPECT_NE(table.find("Type mismatch"), std::string::npos) << table;
  EXPECT_NE(table.find("a table has no automation value"), std::string::npos) << table;
  EXPECT_NE(Failure("probe:Record(print)").find("a function"), std::string::npos);
  const std::string latin1 = Failure("probe:Record('caf\\xE9')");
  EXPECT_NE(latin1.find("is not UTF-8"), std::string::npos) << latin1;
  EXPECT_TRUE(probe->received.empty());  // nothing half passed
}

}  // namespace
}  // namespace vt::host::scripting
