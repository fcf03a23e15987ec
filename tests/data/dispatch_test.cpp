#include "platform/automation/dispatch.h"

#include <gtest/gtest.h>

#include "platform/automation/error.h"
#include "platform/data/ado_errors.h"
#include "platform/data/recordset.h"

namespace vt::data {
namespace {

using automation::Call;
using automation::Get;
using automation::ObjectRef;
using automation::Put;
using automation::Variant;

// The recordset as a host script reaches it: by member name only.
class LateBound : public ::testing::Test {
 protected:
  void SetUp() override {
    auto alarms = Recordset::Create({FieldDef::Text("Time"), FieldDef::Text("Text")});
    for (const char* text : {"Pump failed", "Valve open", "Pump restarted"}) {
      alarms->AddNew();
      alarms->SetValue("Time", Variant("12:00"));
      alarms->SetValue("Text", Variant(text));
      alarms->Update();
    }
    alarms->MoveFirst();
    rs_ = alarms;
  }
  ObjectRef rs_;
};

TEST_F(LateBound, WalksAndWritesByOrdinalThroughAClone) {
  EXPECT_EQ(automation::TypeNameOf(rs_), "Recordset");
  const ObjectRef clone = Call(rs_, "Clone", {}).ToObject();
  EXPECT_EQ(automation::TypeNameOf(clone), "Recordset");
  std::vector<std::string> seen;
  while (!Get(clone, "eof").ToBoolean()) {
    const ObjectRef field = Get(clone, "Fields", {Variant(std::int16_t{1})}).ToObject();
    EXPECT_EQ(automation::TypeNameOf(field), "Field");
    const std::string text = Get(field, "Value").ToString();
    seen.push_back(text);
    Put(field, "Value", Variant("[" + text + "]"));
    Call(clone, "Update", {});
    Call(clone, "MoveNext", {});
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"Pump failed", "Valve open", "Pump restarted"}));
  // The caller's recordset sees the clone's writes.
  const ObjectRef text = Get(rs_, "Fields", {Variant("TEXT")}).ToObject();
  EXPECT_EQ(Get(text, "Value"), Variant("[Pump failed]"));
  EXPECT_EQ(Get(text, "Name"), Variant("Text"));
}

TEST_F(LateBound, FilterPropertyTakesTextOrZero) {
  EXPECT_EQ(Get(rs_, "Filter"), Variant(std::int32_t{0}));
  Put(rs_, "Filter", Variant("Text LIKE '*pump*'"));
  EXPECT_EQ(Get(rs_, "RecordCount"), Variant(std::int32_t{2}));
  EXPECT_EQ(Get(rs_, "Filter"), Variant("Text LIKE '*pump*'"));
  Put(rs_, "Filter", Variant(std::int16_t{0}));
  EXPECT_EQ(Get(rs_, "RecordCount"), Variant(std::int32_t{3}));
  Put(rs_, "Filter", Variant("Text = 'Valve open'"));
  Call(rs_, "Requery", {});
  EXPECT_EQ(Get(rs_, "RecordCount"), Variant(std::int32_t{1}));
  Put(rs_, "Filter", Variant(""));
  EXPECT_EQ(Get(rs_, "RecordCount"), Variant(std::int32_t{3}));
  EXPECT_THROW(Put(rs_, "Filter", Variant(std::int32_t{3})), automation::Error);
}

TEST_F(LateBound, FieldsCollectionAndAddNewWithValue) {
  const ObjectRef fields = Get(rs_, "Fields").ToObject();
  EXPECT_EQ(Get(fields, "Count"), Variant(std::int32_t{2}));
  const auto items = automation::Enumerate(fields);
  ASSERT_EQ(items.size(), 2U);
  EXPECT_EQ(Get(items[0].ToObject(), "Name"), Variant("Time"));
  EXPECT_EQ(Get(items[1].ToObject(), "Type"), Variant(std::int32_t{202}));
  EXPECT_EQ(Get(Get(fields, "Item", {Variant("time")}).ToObject(), "Value"), Variant("12:00"));

  Call(rs_, "AddNew", {Variant("Text"), Variant("Fire alarm")});
  Call(rs_, "Update", {});
  EXPECT_EQ(Get(rs_, "RecordCount"), Variant(std::int32_t{4}));
  EXPECT_EQ(Get(Get(rs_, "Fields", {Variant("Text")}).ToObject(), "Value"), Variant("Fire alarm"));
  EXPECT_TRUE(Get(Get(rs_, "Fields", {Variant("Time")}).ToObject(), "Value").IsNull());
}

TEST_F(LateBound, ErrorsCarryTheComponentsNumbers) {
  try {
    Get(rs_, "Fields", {Variant(std::int32_t{2})});
    FAIL();
  } catch (const automation::Error& error) {
    EXPECT_EQ(error.number(), ado_errors::kItemNotFound);
    EXPECT_NE(error.description().find("ordinal 2"), std::string::npos);
  }
  Call(rs_, "MoveLast", {});
  Call(rs_, "MoveNext", {});
  EXPECT_TRUE(Get(rs_, "EOF").ToBoolean());
  const ObjectRef field = Get(rs_, "Fields", {Variant(std::int32_t{0})}).ToObject();
  try {
    Get(field, "Value");
    FAIL();
  } catch (const automation::Error& error) {
    EXPECT_EQ(error.number(), ado_errors::kNoCurrentRecord);
  }
  Call(rs_, "Close", {});
  EXPECT_EQ(Get(rs_, "State"), Variant(std::int32_t{0}));
  EXPECT_THROW(Get(rs_, "EOF"), automation::Error);
  EXPECT_THROW(Call(rs_, "Seek", {}), automation::Error);
}

}  // namespace
}  // namespace vt::data
