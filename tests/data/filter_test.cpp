#include <gtest/gtest.h>

#include "platform/automation/error.h"
#include "platform/data/ado_errors.h"
#include "platform/data/recordset.h"

namespace vt::data {
namespace {

using automation::Variant;

class Filter : public ::testing::Test {
 protected:
  void SetUp() override {
    users_ = Recordset::Create({FieldDef::FixedText("User", 100), FieldDef::Long("Lang")});
    Add(users_, {"OPERATOR", "O'Brien", "o'brien", "Ölmann", "", "MAINTENANCE"});
    alarms_ = Recordset::Create({FieldDef::Text("Language_1"), FieldDef::Text("Language_2")});
    Add(alarms_, {"Pump #1 failed on start", "Tank level 50% [high]", "Feed valve *open*",
                  "Motor overload? check", "it's stuck", "PUMP #1 FAILED twice"});
  }

  static void Add(const std::shared_ptr<Recordset>& rs, std::initializer_list<const char*> texts) {
    std::int32_t n = 0;
    for (const char* text : texts) {
      rs->AddNew();
      rs->SetValue(std::size_t{0}, Variant(text));
      rs->SetValue(std::size_t{1},
                   rs->Fields()[1].type == FieldType::Long ? Variant(++n) : Variant::Null());
      rs->Update();
    }
    rs->Requery();
  }

  // The first field of every row the recordset sees, walking it.
  static std::vector<std::string> Seen(Recordset& rs) {
    std::vector<std::string> texts;
    if (rs.RecordCount() == 0) return texts;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) texts.push_back(rs.GetValue(0).ToString());
    return texts;
  }

  std::shared_ptr<Recordset> users_;
  std::shared_ptr<Recordset> alarms_;
};

TEST_F(Filter, EqualityWithDoubledApostrophesIgnoresCase) {
  users_->SetFilter("User='O''Brien'");
  EXPECT_EQ(Seen(*users_), (std::vector<std::string>{"O'Brien", "o'brien"}));
  EXPECT_EQ(users_->Filter(), "User='O''Brien'");
  users_->SetFilter("  [user]   =   'operator   '  ");  // padding never counts
  EXPECT_EQ(Seen(*users_), std::vector<std::string>{"OPERATOR"});
  users_->SetFilter("User = 'ölmann'");  // beyond ASCII
  EXPECT_EQ(Seen(*users_), std::vector<std::string>{"Ölmann"});
  users_->SetFilter("User = 'OPERATO'");
  EXPECT_TRUE(users_->Eof());
  EXPECT_EQ(users_->RecordCount(), 0);
  users_->SetFilter("User = ''");
  EXPECT_EQ(Seen(*users_), std::vector<std::string>{""});
}

TEST_F(Filter, FirstMatchingRowIsCurrentAndLongFieldsCompareAsNumbers) {
  users_->SetFilter("User = 'o''brien'");
  EXPECT_EQ(users_->GetValue("Lang"), Variant(std::int32_t{2}));
  users_->SetFilter("Lang = 4");
  EXPECT_EQ(Seen(*users_), std::vector<std::string>{"Ölmann"});
  users_->SetFilter("Lang = '6'");
  EXPECT_EQ(Seen(*users_), std::vector<std::string>{"MAINTENANCE"});
}

TEST_F(Filter, LikeTakesWildcardsOnlyAtTheEnds) {
  alarms_->SetFilter("Language_1 LIKE '*pump #1*'");
  EXPECT_EQ(Seen(*alarms_),
            (std::vector<std::string>{"Pump #1 failed on start", "PUMP #1 FAILED twice"}));
  alarms_->SetFilter("language_1 like '*50% [high]*'");
  EXPECT_EQ(Seen(*alarms_), std::vector<std::string>{"Tank level 50% [high]"});
  alarms_->SetFilter("Language_1 LIKE '**open**'");
  EXPECT_EQ(Seen(*alarms_), std::vector<std::string>{"Feed valve *open*"});
  alarms_->SetFilter("Language_1 LIKE '*overload? check*'");
  EXPECT_EQ(Seen(*alarms_), std::vector<std::string>{"Motor overload? check"});
  alarms_->SetFilter("Language_1 LIKE '*p #1*d*'");  // the inner star is literal
  EXPECT_TRUE(alarms_->Eof());
  alarms_->SetFilter("Language_1 LIKE '*it''s*'");
  EXPECT_EQ(Seen(*alarms_), std::vector<std::string>{"it's stuck"});
  alarms_->SetFilter("Language_1 LIKE 'pump*'");
  EXPECT_EQ(Seen(*alarms_).size(), 2U);
  alarms_->SetFilter("Language_1 LIKE '%twice'");
  EXPECT_EQ(Seen(*alarms_), std::vector<std::string>{"PUMP #1 FAILED twice"});
  alarms_->SetFilter("Language_1 LIKE 'it''s stuck'");
  EXPECT_EQ(Seen(*alarms_), std::vector<std::string>{"it's stuck"});
}

TEST_F(Filter, NullNeverMatches) {
  alarms_->SetFilter("Language_2 LIKE '**'");
  EXPECT_EQ(alarms_->RecordCount(), 0);
  alarms_->SetFilter("Language_1 LIKE '**'");
  EXPECT_EQ(alarms_->RecordCount(), 6);
}

TEST_F(Filter, ContainsTakesEveryCharacterLiterally) {
  alarms_->FilterContains("LANGUAGE_1", "50% [HIGH]");
  EXPECT_EQ(Seen(*alarms_), std::vector<std::string>{"Tank level 50% [high]"});
  alarms_->FilterContains("Language_1", "*open*");
  EXPECT_EQ(Seen(*alarms_), std::vector<std::string>{"Feed valve *open*"});
  alarms_->FilterContains("Language_1", "open*");
  EXPECT_EQ(Seen(*alarms_), std::vector<std::string>{"Feed valve *open*"});
  alarms_->FilterContains("Language_1", "'s");
  EXPECT_EQ(Seen(*alarms_), std::vector<std::string>{"it's stuck"});
  EXPECT_EQ(alarms_->Filter(), "Language_1 LIKE '*''s*'");
}

TEST_F(Filter, EmptyCriteriaClearsIt) {
  users_->SetFilter("User = 'OPERATOR'");
  users_->SetFilter("");
  EXPECT_EQ(users_->RecordCount(), 6);
  EXPECT_EQ(users_->Filter(), "");
}

TEST_F(Filter, BadCriteriaIsAnErrorNamingItAndKeepsTheFilter) {
  users_->SetFilter("User = 'OPERATOR'");
  struct Case {
    const char* criteria;
    std::int32_t number;
    const char* mentions;
  };
  for (const Case& c : {
           Case{"Name = 'x'", ado_errors::kItemNotFound, "'Name'"},
           Case{"User = 'x", ado_errors::kWrongArguments, "not closed"},
           Case{"User 'x'", ado_errors::kWrongArguments, "LIKE"},
           Case{"User = x", ado_errors::kWrongArguments, "apostrophes"},
           Case{"User = 'x' AND Lang = 1", ado_errors::kWrongArguments, "after the literal"},
           Case{"Lang = 'two'", ado_errors::kWrongArguments, "not a number"},
           Case{"[User = 'x'", ado_errors::kWrongArguments, "]"},
           Case{"= 'x'", ado_errors::kWrongArguments, "field name"},
           Case{"User LIKEX 'x'", ado_errors::kWrongArguments, "LIKE expected"},
       }) {
    try {
      users_->SetFilter(c.criteria);
      ADD_FAILURE() << c.criteria;
    } catch (const automation::Error& error) {
      EXPECT_EQ(error.number(), c.number) << c.criteria;
      EXPECT_NE(error.description().find(c.criteria), std::string::npos) << error.description();
      EXPECT_NE(error.description().find(c.mentions), std::string::npos) << error.description();
    }
  }
  EXPECT_EQ(users_->Filter(), "User = 'OPERATOR'");
  EXPECT_EQ(users_->RecordCount(), 1);
}

TEST_F(Filter, RequerySeesRowsAppendedSinceThroughAClone) {
  users_->SetFilter("User = 'NEWCOMER'");
  EXPECT_EQ(users_->RecordCount(), 0);
  auto clone = users_->Clone();
  clone->AddNew();
  clone->SetValue("User", Variant("newcomer"));
  clone->SetValue("Lang", Variant(std::int32_t{7}));
  clone->Update();
  EXPECT_EQ(users_->RecordCount(), 0);  // the filter was applied before the append
  users_->Requery();
  EXPECT_EQ(users_->RecordCount(), 1);
  EXPECT_EQ(users_->GetValue("Lang"), Variant(std::int32_t{7}));

  clone->MoveFirst();  // a changed value is found at the next requery
  clone->SetValue("User", Variant("Newcomer"));
  users_->Requery();
  EXPECT_EQ(users_->RecordCount(), 2);
}

TEST_F(Filter, RowAppendedUnderAFilterStaysVisibleUntilRequery) {
  alarms_->FilterContains("Language_1", "pump");
  alarms_->AddNew();
  alarms_->SetValue("Language_1", Variant("Valve stuck"));
  alarms_->Update();
  EXPECT_EQ(alarms_->RecordCount(), 3);
  alarms_->Requery();
  EXPECT_EQ(alarms_->RecordCount(), 2);
}

}  // namespace
}  // namespace vt::data
