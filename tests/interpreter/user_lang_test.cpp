// GetUserLang and SetUserGlobalLang over the user list read from a real file.
#include <gtest/gtest.h>

#include "library/interpreter/veltrano_module.h"
#include "tests/interpreter/interpreter_fixture.h"

namespace vt::interpreter {
namespace {

using automation::Variant;
using testing::InterpreterTest;

class UserLangTest : public InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    WriteWorkbooks();
    WriteIni(
        "[PARAMETERS]\nInterpreterEnabled=Y\nDevelopmentLanguageNumber=1\n"
        "StartingLanguageNumber=1\n"
        "[USERSLANG]\n"
        "UserName_001=OPERATOR\nUserLang_001=3\n"
        "UserName_002=O'Brien\nUserLang_002=4\n"
        "UserName_003=twice\nUserLang_003=5\n"
        "UserName_004=twice\nUserLang_004=6\n"
        "UserName_005=Jürgen Groß\nUserLang_005=7\n"
        "UserName_006=a''b\nUserLang_006=8\n");
    module_ = std::make_shared<VeltranoModule>(session_);
    ASSERT_EQ(module_->lifecycle(), Lifecycle::Ready);
  }
  void TearDown() override {
    module_.reset();
    InterpreterTest::TearDown();
  }

  std::int16_t Lang(std::string name) { return module_->GetUserLang(name); }
  std::int16_t SetAndRead(std::string name) {
    module_->SetUserGlobalLang(name);
    return module_->get_GlobalLangNum();
  }

  std::shared_ptr<VeltranoModule> module_;
};

TEST_F(UserLangTest, ListedUserGivesItsLanguage) {
  EXPECT_EQ(Lang("OPERATOR"), 3);
  EXPECT_EQ(SetAndRead("OPERATOR"), 3);
  EXPECT_TRUE(backend_.shown.empty());
}

TEST_F(UserLangTest, UnlistedUserChangesNothing) {
  module_->put_GlobalLangNum(9);
  EXPECT_EQ(Lang("nobody"), 0);
  EXPECT_EQ(SetAndRead("nobody"), 9);
  EXPECT_EQ(Lang(""), 0) << "the empty name is never listed";
  EXPECT_EQ(SetAndRead(""), 9);
  EXPECT_TRUE(backend_.shown.empty());
}

TEST_F(UserLangTest, ApostrophesAreQuoted) {
  EXPECT_EQ(Lang("O'Brien"), 4);
  EXPECT_EQ(Lang("a''b"), 8);
  EXPECT_EQ(Lang("a'b"), 0);
  EXPECT_EQ(Lang("'"), 0);
  EXPECT_EQ(Lang("x' OR User='OPERATOR"), 0) << "the name never becomes criteria";
  EXPECT_TRUE(backend_.shown.empty());
}

TEST_F(UserLangTest, FirstEntryWins) {
  EXPECT_EQ(Lang("twice"), 5);
  EXPECT_EQ(SetAndRead("twice"), 5);
}

TEST_F(UserLangTest, LetterCaseIsIgnoredButBlanksCount) {
  EXPECT_EQ(Lang("operator"), 3);
  EXPECT_EQ(Lang("jürgen groß"), 7);
  EXPECT_EQ(Lang(" OPERATOR"), 0) << "the name is used as passed";
  EXPECT_EQ(Lang("OPER"), 0);
  EXPECT_EQ(Lang("OPERATOR2"), 0);
}

TEST_F(UserLangTest, EachLookupSetsItsOwnFilter) {
  EXPECT_EQ(Lang("nobody"), 0);
  EXPECT_EQ(Lang("OPERATOR"), 3);
  EXPECT_EQ(Lang("twice"), 5);
  EXPECT_EQ(session_.rsUsersLang->Filter(), "User='twice'") << "the filter stays in force";
}

TEST_F(UserLangTest, ClosedListIsReportedUnderEachProcedure) {
  session_.rsUsersLang->Close();
  module_->put_GlobalLangNum(9);
  EXPECT_EQ(Lang("OPERATOR"), 0);
  EXPECT_EQ(SetAndRead("OPERATOR"), 9);
  ASSERT_EQ(backend_.shown.size(), 2u);
  EXPECT_NE(backend_.shown[0].text.find("Module: VeltranoModule\r\nProcedure: GetUserLang\r\n"),
            std::string::npos);
  EXPECT_NE(
      backend_.shown[1].text.find("Module: VeltranoModule\r\nProcedure: SetUserGlobalLang\r\n"),
      std::string::npos);
  const std::string log = Log();
  EXPECT_NE(log.find(";VeltranoModule;GetUserLang;"), std::string::npos) << log;
  EXPECT_NE(log.find(";VeltranoModule;SetUserGlobalLang;"), std::string::npos) << log;
}

TEST_F(UserLangTest, EmptyOrOversizedLanguageIsReported) {
  auto& users = *session_.rsUsersLang;
  users.AddNew();
  users.SetValue("User", Variant("nolang"));
  users.Update();
  users.AddNew();
  users.SetValue("User", Variant("huge"));
  users.SetValue("Lang", Variant(std::int32_t{40000}));
  users.Update();

  module_->put_GlobalLangNum(9);
  EXPECT_EQ(Lang("nolang"), 0);
  EXPECT_EQ(SetAndRead("huge"), 9);
  ASSERT_EQ(backend_.shown.size(), 2u);
  EXPECT_NE(backend_.shown[0].text.find("Procedure: GetUserLang\r\nError description: Invalid "
                                        "use of Null"),
            std::string::npos)
      << backend_.shown[0].text;
  EXPECT_NE(backend_.shown[1].text.find("Procedure: SetUserGlobalLang\r\nError description: "
                                        "Overflow"),
            std::string::npos)
      << backend_.shown[1].text;
}

TEST_F(UserLangTest, SetUserGlobalLangHasNoGuard) {
  WriteIni(
      "[PARAMETERS]\nInterpreterEnabled=N\nDevelopmentLanguageNumber=1\nStartingLanguageNumber=1\n"
      "[USERSLANG]\nUserName_001=OPERATOR\nUserLang_001=3\n");
  auto disabled = std::make_shared<VeltranoModule>(session_);
  ASSERT_EQ(disabled->lifecycle(), Lifecycle::Disabled);
  std::string user = "OPERATOR";
  disabled->SetUserGlobalLang(user);
  EXPECT_EQ(disabled->get_GlobalLangNum(), 3);
}

TEST_F(UserLangTest, OutsideTheHostTheMissingListIsReported) {
  module_.reset();
  session_ = Session{};
  env_.processes = {"bash"};
  env_.append_error = true;  // the log would go to /Veltrano: never write there
  auto outside = std::make_shared<VeltranoModule>(session_);
  ASSERT_EQ(outside->lifecycle(), Lifecycle::OutsideHost);
  backend_.shown.clear();
  std::string user = "OPERATOR";
  outside->SetUserGlobalLang(user);
  EXPECT_EQ(outside->get_GlobalLangNum(), 0);
  ASSERT_EQ(backend_.shown.size(), 1u);
  EXPECT_NE(backend_.shown[0].text.find("Procedure: SetUserGlobalLang"), std::string::npos);
}

}  // namespace
}  // namespace vt::interpreter
