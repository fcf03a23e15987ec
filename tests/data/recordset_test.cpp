#include "platform/data/recordset.h"

#include <gtest/gtest.h>

#include "platform/automation/error.h"
#include "platform/data/ado_errors.h"

namespace vt::data {
namespace {

using automation::Variant;

std::shared_ptr<Recordset> UsersLang() {
  return Recordset::Create({FieldDef::FixedText("User", 100), FieldDef::Long("Lang")});
}

void AddUser(Recordset& rs, std::string_view user, std::int32_t lang) {
  rs.AddNew();
  rs.SetValue("User", Variant(user));
  rs.SetValue("Lang", Variant(lang));
  rs.Update();
}

std::int32_t ErrorNumber(const std::function<void()>& body) {
  try {
    body();
  } catch (const automation::Error& error) {
    return error.number();
  }
  return 0;
}

TEST(Recordset, EmptyRecordsetIsAtBothEnds) {
  auto rs = UsersLang();
  EXPECT_TRUE(rs->Eof());
  EXPECT_TRUE(rs->Bof());
  EXPECT_EQ(rs->RecordCount(), 0);
  EXPECT_EQ(ErrorNumber([&] { rs->MoveFirst(); }), ado_errors::kNoCurrentRecord);
  EXPECT_EQ(ErrorNumber([&] { rs->GetValue(0); }), ado_errors::kNoCurrentRecord);
  EXPECT_EQ(ErrorNumber([&] { rs->Update(); }), ado_errors::kNoCurrentRecord);
}

TEST(Recordset, AppendMoveAndReadByNameAndOrdinal) {
  auto rs = UsersLang();
  AddUser(*rs, "OPERATOR", 2);
  AddUser(*rs, "Maintenance", 3);
  EXPECT_EQ(rs->RecordCount(), 2);
  EXPECT_EQ(rs->GetValue("user"), Variant("Maintenance"));  // AddNew left us on the new row

  rs->MoveFirst();
  EXPECT_FALSE(rs->Bof());
  EXPECT_EQ(rs->GetValue(0), Variant("OPERATOR"));
  EXPECT_EQ(rs->GetValue(1), Variant(std::int32_t{2}));
  EXPECT_EQ(rs->GetValue("LANG").type(), automation::VarType::Long);
  rs->MoveNext();
  EXPECT_EQ(rs->GetValue(0), Variant("Maintenance"));
  rs->MoveNext();
  EXPECT_TRUE(rs->Eof());
  EXPECT_EQ(ErrorNumber([&] { rs->MoveNext(); }), ado_errors::kNoCurrentRecord);
  rs->MovePrevious();
  EXPECT_EQ(rs->GetValue(0), Variant("Maintenance"));
  rs->MovePrevious();
  rs->MovePrevious();
  EXPECT_TRUE(rs->Bof());
  rs->MoveNext();
  EXPECT_EQ(rs->GetValue(0), Variant("OPERATOR"));
  rs->MoveLast();
  EXPECT_EQ(rs->GetValue(1), Variant(std::int32_t{3}));
}

TEST(Recordset, UnknownFieldsAreErrorsNamingThem) {
  auto rs = UsersLang();
  AddUser(*rs, "A", 1);
  try {
    rs->GetValue("Language");
    FAIL();
  } catch (const automation::Error& error) {
    EXPECT_EQ(error.number(), ado_errors::kItemNotFound);
    EXPECT_NE(error.description().find("'Language'"), std::string::npos);
  }
  EXPECT_EQ(ErrorNumber([&] { rs->GetValue(2); }), ado_errors::kItemNotFound);
  EXPECT_EQ(ErrorNumber([&] { rs->SetValue(5, Variant("x")); }), ado_errors::kItemNotFound);
}

TEST(Recordset, FixedLengthPaddingNeverCounts) {
  auto rs = Recordset::Create({FieldDef::FixedText("Code", 5)});
  rs->AddNew();
  rs->SetValue(0, Variant("ab   "));
  EXPECT_EQ(rs->GetValue(0), Variant("ab"));
  rs->SetValue(0, Variant("  ab"));  // leading blanks are content
  EXPECT_EQ(rs->GetValue(0), Variant("  ab"));
  rs->SetValue(0, Variant("àèìòù"));  // five characters, ten bytes
  EXPECT_EQ(rs->GetValue(0), Variant("àèìòù"));
  rs->SetValue(0, Variant("abcde    "));  // only padding beyond the size
  try {
    rs->SetValue(0, Variant("abcdef"));
    FAIL();
  } catch (const automation::Error& error) {
    EXPECT_EQ(error.number(), ado_errors::kMultipleStep);
    EXPECT_NE(error.description().find("'Code'"), std::string::npos);
  }
  EXPECT_EQ(rs->GetValue(0), Variant("abcde"));  // the refused write changed nothing
}

TEST(Recordset, TypedValuesAndNulls) {
  auto rs = Recordset::Create(
      {FieldDef::Long("N"), FieldDef::Text("T"), FieldDef::Text("Required", /*nullable=*/false)});
  rs->AddNew();
  EXPECT_TRUE(rs->GetValue("N").IsNull());
  EXPECT_EQ(ErrorNumber([&] { rs->Update(); }), ado_errors::kMultipleStep);  // Required empty
  rs->SetValue("N", Variant(" 42 "));
  EXPECT_EQ(rs->GetValue("N"), Variant(std::int32_t{42}));
  rs->SetValue("N", Variant(2.5));
  EXPECT_EQ(rs->GetValue("N"), Variant(std::int32_t{2}));  // half to even
  EXPECT_EQ(ErrorNumber([&] { rs->SetValue("N", Variant("abc")); }), ado_errors::kMultipleStep);
  EXPECT_EQ(ErrorNumber([&] { rs->SetValue("N", Variant(1e12)); }), ado_errors::kMultipleStep);
  rs->SetValue("T", Variant(std::int16_t{7}));
  EXPECT_EQ(rs->GetValue("T"), Variant("7"));
  rs->SetValue("T", Variant());
  EXPECT_TRUE(rs->GetValue("T").IsNull());
  EXPECT_EQ(ErrorNumber([&] { rs->SetValue("Required", Variant::Null()); }),
            ado_errors::kMultipleStep);
  rs->SetValue("Required", Variant(""));
  rs->Update();
}

TEST(Recordset, DefinitionErrors) {
  EXPECT_EQ(ErrorNumber([] {
              Recordset::Create({FieldDef::Text("a"), FieldDef::Long("A")});
            }),
            ado_errors::kWrongArguments);
  EXPECT_EQ(ErrorNumber([] { Recordset::Create({FieldDef::Text("")}); }),
            ado_errors::kWrongArguments);
  EXPECT_EQ(ErrorNumber([] { Recordset::Create({FieldDef::FixedText("F", 0)}); }),
            ado_errors::kWrongArguments);
}

TEST(Recordset, ClosedRecordsetRefusesWork) {
  auto rs = UsersLang();
  AddUser(*rs, "A", 1);
  auto clone = rs->Clone();
  rs->Close();
  EXPECT_FALSE(rs->IsOpen());
  EXPECT_EQ(ErrorNumber([&] { rs->MoveFirst(); }), ado_errors::kObjectClosed);
  EXPECT_EQ(ErrorNumber([&] { rs->SetFilter("User = 'A'"); }), ado_errors::kObjectClosed);
  EXPECT_EQ(ErrorNumber([&] { rs->Close(); }), ado_errors::kObjectClosed);
  EXPECT_EQ(clone->GetValue("User"), Variant("A"));  // the clone stays open
}

TEST(Clone, SharesRowsBothWaysWithOwnPosition) {
  auto rs = UsersLang();
  AddUser(*rs, "A", 1);
  AddUser(*rs, "B", 2);
  rs->MoveLast();
  auto clone = rs->Clone();
  EXPECT_EQ(clone->GetValue("User"), Variant("A"));  // a clone starts on the first row
  EXPECT_EQ(rs->GetValue("User"), Variant("B"));

  clone->SetValue("User", Variant("A2"));
  clone->Update();
  rs->MoveFirst();
  EXPECT_EQ(rs->GetValue("User"), Variant("A2"));

  rs->SetValue("Lang", Variant(std::int32_t{9}));
  EXPECT_EQ(clone->GetValue("Lang"), Variant(std::int32_t{9}));

  AddUser(*clone, "C", 3);
  EXPECT_EQ(rs->RecordCount(), 3);
  auto grandchild = clone->Clone();
  grandchild->MoveLast();
  EXPECT_EQ(grandchild->GetValue(0), Variant("C"));
}

TEST(Clone, HasItsOwnFilter) {
  auto rs = UsersLang();
  AddUser(*rs, "A", 1);
  AddUser(*rs, "B", 2);
  rs->SetFilter("User = 'B'");
  auto clone = rs->Clone();
  EXPECT_EQ(clone->RecordCount(), 2);
  clone->SetFilter("User = 'A'");
  EXPECT_EQ(rs->RecordCount(), 1);
  EXPECT_EQ(rs->GetValue(0), Variant("B"));
  EXPECT_EQ(clone->GetValue(0), Variant("A"));
}

}  // namespace
}  // namespace vt::data
