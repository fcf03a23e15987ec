// ReadIniFile over real INI files: keys, value rules, the user entries, and
// the two failure messages.
#include <gtest/gtest.h>

#include "library/interpreter/mod_ini_handler.h"
#include "platform/system/date_time.h"
#include "tests/interpreter/interpreter_fixture.h"

namespace vt::interpreter {
namespace {

using testing::InterpreterTest;
using namespace std::string_literals;

class ReadIniFileTest : public InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    PrepareRead();
    env_.now = testing::LocalTime(2024, 6, 1, 9, 30, 0);
  }

  bool Read() {
    return ReadIniFile(session_.configuration, session_.rsUsersLang.get(), messages_, errors_,
                       enabled_, global_lang_, prefix_);
  }

  // PARAMETERS with both numbers, plus `extra` lines.
  static std::string Params(const std::string& extra) {
    return "[PARAMETERS]\nDevelopmentLanguageNumber=1\nStartingLanguageNumber=1\n" + extra;
  }

  std::string CannotReadText() const {
    return "The \"Veltrano.dll\" cannot read the file \"" + ini_path().string() +
           "\".\r\n\r\nPlease call your supplier !";
  }

  // The two boxes of a read failure, and the log line; returns the description.
  std::string ExpectReadFailure() {
    EXPECT_EQ(backend_.shown.size(), 2u);
    if (backend_.shown.size() != 2u) return {};
    EXPECT_EQ(backend_.shown[0].text, CannotReadText());
    EXPECT_EQ(backend_.shown[0].title, " Veltrano - WARNING");
    EXPECT_EQ(backend_.shown[0].style, 16);
    EXPECT_NE(backend_.shown[1].text.find("Module: modIniHandler\r\nProcedure: ReadIniFile\r\n"),
              std::string::npos);
    const std::string prefix = system::FormatDateTime(*env_.now) + ";modIniHandler;ReadIniFile;";
    const std::string log = Log();
    EXPECT_EQ(log.rfind(prefix, 0), 0u) << log;
    EXPECT_GE(log.size(), prefix.size() + 3);
    EXPECT_EQ(log.substr(log.size() - 3), ";\r\n");
    EXPECT_EQ(log.find('\n'), log.size() - 1) << "one line";
    return log.substr(prefix.size(), log.size() - prefix.size() - 3);
  }

  bool enabled_ = false;
  std::int16_t global_lang_ = 0;
  bool prefix_ = false;
};

TEST_F(ReadIniFileTest, ReadsEveryKey) {
  WriteIni(
      "[PARAMETERS]\r\n"
      "InterpreterEnabled=Y\r\n"
      "ShowInfoPanelOnStartup=Y\r\n"
      "ShowWarningsForMissingTranslations=N\r\n"
      "TranslateInvisibleText=N\r\n"
      "DevelopmentLanguageNumber=1\r\n"
      "StartingLanguageNumber=3\r\n"
      "GetObjectsPrefix=Y\r\n"
      "ObjectsTargetPrefix=lbl\r\n"
      "[USERSLANG]\r\n"
      "UserName_001=OPERATOR\r\n"
      "UserLang_001=2\r\n");
  ASSERT_TRUE(Read());
  EXPECT_TRUE(backend_.shown.empty());
  EXPECT_TRUE(enabled_);
  EXPECT_EQ(global_lang_, 3);
  EXPECT_TRUE(prefix_);
  const interpreter::Session& m = session_;
  EXPECT_TRUE(m.configuration.blnShowInfoPanel);
  EXPECT_FALSE(m.configuration.blnShowWarnings);
  EXPECT_FALSE(m.configuration.blnTranslateInvisibleText);
  EXPECT_EQ(m.configuration.intDevLangNum, 1);
  EXPECT_EQ(m.configuration.intStartLangNum, 3);
  EXPECT_EQ(m.configuration.strObjectsTargetPrefix, "lbl");
  EXPECT_EQ(m.configuration.bytObjectsTargetPrefixLen, 3);
  EXPECT_EQ(Users(), (decltype(Users()){{"OPERATOR", 2}}));
  EXPECT_FALSE(std::filesystem::exists(log_path()));
}

TEST_F(ReadIniFileTest, MinimalFileTakesTheDefaults) {
  WriteIni(Params(""));
  // Every flag starts opposite to its default: a read sets each afresh.
  enabled_ = true;
  prefix_ = true;
  session_.configuration.blnShowInfoPanel = true;
  session_.configuration.blnShowWarnings = false;
  session_.configuration.blnTranslateInvisibleText = false;
  session_.configuration.strObjectsTargetPrefix = "old";
  session_.configuration.bytObjectsTargetPrefixLen = 3;
  ASSERT_TRUE(Read());
  EXPECT_FALSE(enabled_);
  EXPECT_FALSE(prefix_);
  EXPECT_FALSE(session_.configuration.blnShowInfoPanel);
  EXPECT_TRUE(session_.configuration.blnShowWarnings);
  EXPECT_TRUE(session_.configuration.blnTranslateInvisibleText);
  EXPECT_EQ(session_.configuration.strObjectsTargetPrefix, "");
  EXPECT_EQ(session_.configuration.bytObjectsTargetPrefixLen, 0);
  EXPECT_TRUE(Users().empty());
  EXPECT_TRUE(backend_.shown.empty());
}

TEST_F(ReadIniFileTest, YesFlagIsOnlyAFirstY) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"Y", true},     {"y", true},     {"Yes", true}, {"yes", true}, {"  yes  ", true},
      {"YNOT", true},  {"N", false},    {"No", false}, {"", false},   {"1", false},
      {"true", false}, {"\"Y\"", true}, {" Y", true},  {"x Y", false}};
  for (const auto& [value, on] : cases) {
    WriteIni(Params("InterpreterEnabled=" + value + "\nGetObjectsPrefix=" + value +
                    "\nShowInfoPanelOnStartup=" + value + "\n"));
    enabled_ = !on;
    prefix_ = !on;
    session_.configuration.blnShowInfoPanel = !on;
    ASSERT_TRUE(Read()) << value;
    EXPECT_EQ(enabled_, on) << "[" << value << "]";
    EXPECT_EQ(prefix_, on) << "[" << value << "]";
    EXPECT_EQ(session_.configuration.blnShowInfoPanel, on) << "[" << value << "]";
  }
}

TEST_F(ReadIniFileTest, NoFlagIsOnUnlessAFirstN) {
  const std::vector<std::pair<std::string, bool>> cases = {
      {"N", false}, {"n", false}, {"No", false}, {"  no", false}, {"Y", true},
      {"", true},   {"0", true},  {"x", true},   {"off", true}};
  for (const auto& [value, on] : cases) {
    WriteIni(Params("ShowWarningsForMissingTranslations=" + value +
                    "\nTranslateInvisibleText=" + value + "\n"));
    session_.configuration.blnShowWarnings = !on;
    session_.configuration.blnTranslateInvisibleText = !on;
    ASSERT_TRUE(Read()) << value;
    EXPECT_EQ(session_.configuration.blnShowWarnings, on) << "[" << value << "]";
    EXPECT_EQ(session_.configuration.blnTranslateInvisibleText, on) << "[" << value << "]";
  }
}

TEST_F(ReadIniFileTest, SectionAndKeyNamesIgnoreLetterCase) {
  WriteIni(
      "[parameters]\ninterpreterenabled=yes\ndevelopmentlanguagenumber=2\n"
      "STARTINGLANGUAGENUMBER=4\n[UsersLang]\nusername_001=anna\nUSERLANG_001=3\n");
  ASSERT_TRUE(Read());
  EXPECT_TRUE(enabled_);
  EXPECT_EQ(session_.configuration.intDevLangNum, 2);
  EXPECT_EQ(global_lang_, 4);
  EXPECT_EQ(Users(), (decltype(Users()){{"anna", 3}}));
}

TEST_F(ReadIniFileTest, NumbersRoundHalfToEven) {
  const std::vector<std::pair<std::string, std::int16_t>> cases = {
      {"2", 2}, {" 7 ", 7}, {"2.5", 2},       {"3.5", 4},        {"-1", -1},
      {"0", 0}, {"2.4", 2}, {"32767", 32767}, {"-32768", -32768}};
  for (const auto& [value, number] : cases) {
    WriteIni("[PARAMETERS]\nDevelopmentLanguageNumber=" + value +
             "\nStartingLanguageNumber=" + value + "\n");
    ASSERT_TRUE(Read()) << value;
    EXPECT_EQ(session_.configuration.intDevLangNum, number) << value;
    EXPECT_EQ(global_lang_, number) << value;
    EXPECT_EQ(session_.configuration.intStartLangNum, number) << value;
  }
  EXPECT_TRUE(backend_.shown.empty());
}

TEST_F(ReadIniFileTest, BadNumbersAreReadFailures) {
  for (const std::string value : {"", "abc", "32768", "-32769", "1x"}) {
    backend_.shown.clear();
    std::filesystem::remove(log_path());
    WriteIni("[PARAMETERS]\nDevelopmentLanguageNumber=" + value + "\n");
    EXPECT_FALSE(Read()) << value;
    EXPECT_FALSE(ExpectReadFailure().empty()) << value;
  }
}

TEST_F(ReadIniFileTest, ReadFailuresNameTheKeyAndTheLine) {
  struct Case {
    std::string file;
    std::string description;
  };
  const Case cases[] = {
      {"[PARAMETERS]\nDevelopmentLanguageNumber=1\nStartingLanguageNumber=x1\n",
       "Type mismatch: StartingLanguageNumber of [PARAMETERS], line 3, is \"x1\""},
      {"[PARAMETERS]\nDevelopmentLanguageNumber=" + std::string(100000, '7') + "\n",
       "Overflow: DevelopmentLanguageNumber of [PARAMETERS], line 2, is \"" + std::string(99, '7') +
           "\""},
      {"[PARAMETERS]\nDevelopment\0LanguageNumber=1\n"s,
       "Type mismatch: DevelopmentLanguageNumber of [PARAMETERS] is missing (line 2 holds a NUL "
       "byte)"},
      {"[PARAMETERS]\nDevelopmentLanguageNumber=1\n=1\n",
       "Type mismatch: StartingLanguageNumber of [PARAMETERS] is missing (line 3 has no key "
       "before its '=')"},
      {"[PARAMETERS\nDevelopmentLanguageNumber=1\n",
       "Type mismatch: DevelopmentLanguageNumber of [PARAMETERS] is missing (line 1 has no ']' "
       "closing its section name)"},
      {"", "Type mismatch: DevelopmentLanguageNumber of [PARAMETERS] is missing"},
#ifndef _WIN32  // the Windows build keeps the file in UTF-16: no byte can be wrong
      {Params("[USERSLANG]\nUserName_001=J\xC3\n"),
       "Invalid file format: UserName_001 of [USERSLANG], line 5, is not UTF-8 text"},
#endif
  };
  for (const Case& c : cases) {
    backend_.shown.clear();
    std::filesystem::remove(log_path());
    WriteIni(c.file);
    EXPECT_FALSE(Read()) << c.description;
    EXPECT_EQ(ExpectReadFailure(), c.description);
  }
}

TEST_F(ReadIniFileTest, MissingDevelopmentLanguageLeavesTheLanguageUnchanged) {
  WriteIni("[PARAMETERS]\nInterpreterEnabled=Y\nStartingLanguageNumber=2\n");
  global_lang_ = 7;
  session_.configuration.intStartLangNum = 7;
  EXPECT_FALSE(Read());
  ExpectReadFailure();
  EXPECT_EQ(global_lang_, 7);
  EXPECT_EQ(session_.configuration.intStartLangNum, 7);
  // What was read before the failure keeps its new value.
  EXPECT_TRUE(enabled_);
}

TEST_F(ReadIniFileTest, MissingStartingLanguageKeepsTheDevelopmentLanguage) {
  WriteIni("[PARAMETERS]\nDevelopmentLanguageNumber=5\n");
  global_lang_ = 9;
  EXPECT_FALSE(Read());
  ExpectReadFailure();
  EXPECT_EQ(session_.configuration.intDevLangNum, 5);
  EXPECT_EQ(global_lang_, 9);
}

TEST_F(ReadIniFileTest, MissingFileShowsItsMessageAndChangesNothing) {
  session_.configuration.blnShowWarnings = false;
  session_.configuration.intDevLangNum = 4;
  global_lang_ = 3;
  enabled_ = true;
  EXPECT_FALSE(Read());
  ASSERT_EQ(backend_.shown.size(), 1u);
  EXPECT_EQ(backend_.shown[0].text, "The file \"" + ini_path().string() +
                                        "\" does not exist:\r\n"
                                        "the \"Veltrano.dll\" cannot start.\r\n\r\n"
                                        "Please call your supplier !");
  EXPECT_EQ(backend_.shown[0].title, " Veltrano - WARNING");
  EXPECT_EQ(backend_.shown[0].style, 16);
  EXPECT_FALSE(session_.configuration.blnShowWarnings);
  EXPECT_EQ(session_.configuration.intDevLangNum, 4);
  EXPECT_EQ(global_lang_, 3);
  EXPECT_TRUE(enabled_);
  EXPECT_FALSE(std::filesystem::exists(log_path())) << "not a failure: nothing logged";
  EXPECT_TRUE(env_.files_read.empty());
}

TEST_F(ReadIniFileTest, AFolderNamedLikeTheFileCountsAsMissing) {
  std::filesystem::create_directory(ini_path());
  EXPECT_FALSE(Read());
  ASSERT_EQ(backend_.shown.size(), 1u);
  EXPECT_NE(backend_.shown[0].text.find("does not exist"), std::string::npos);
}

TEST_F(ReadIniFileTest, UsersEndAtTheFirstMissingName) {
  WriteIni(Params(
      "[USERSLANG]\nUserName_001=anna\nUserLang_001=2\nUserName_002=  bob  \nUserLang_002=3\n"
      "UserName_004=dave\nUserLang_004=4\n"));
  ASSERT_TRUE(Read());
  EXPECT_EQ(Users(), (decltype(Users()){{"anna", 2}, {"bob", 3}}));
}

TEST_F(ReadIniFileTest, BlankNameEndsTheUsers) {
  WriteIni(
      Params("[USERSLANG]\nUserName_001=anna\nUserLang_001=2\nUserName_002=   \nUserLang_002=3\n"
             "UserName_003=carl\nUserLang_003=4\n"));
  ASSERT_TRUE(Read());
  EXPECT_EQ(Users(), (decltype(Users()){{"anna", 2}}));
}

TEST_F(ReadIniFileTest, EntryNumbersNeedThreeDigits) {
  WriteIni(Params("[USERSLANG]\nUserName_1=anna\nUserLang_1=2\nUserName_01=bob\nUserLang_01=2\n"));
  ASSERT_TRUE(Read());
  EXPECT_TRUE(Users().empty());
}

TEST_F(ReadIniFileTest, EntryThousandFollowsNineHundredNinetyNine) {
  std::string users = "[USERSLANG]\n";
  for (int n = 1; n <= 1001; ++n) {
    char number[8];
    std::snprintf(number, sizeof number, "%03d", n);
    users += std::string("UserName_") + number + "=u" + std::to_string(n) + "\n";
    users += std::string("UserLang_") + number + "=" + std::to_string(n % 7) + "\n";
  }
  WriteIni(Params(users));
  ASSERT_TRUE(Read());
  const auto list = Users();
  ASSERT_EQ(list.size(), 1001u);
  EXPECT_EQ(list[998], (std::pair<std::string, std::int32_t>{"u999", 999 % 7}));
  EXPECT_EQ(list[999], (std::pair<std::string, std::int32_t>{"u1000", 1000 % 7}));
}

TEST_F(ReadIniFileTest, RepeatedNamesGiveTwoRows) {
  WriteIni(Params(
      "[USERSLANG]\nUserName_001=anna\nUserLang_001=2\nUserName_002=anna\nUserLang_002=5\n"));
  ASSERT_TRUE(Read());
  EXPECT_EQ(Users(), (decltype(Users()){{"anna", 2}, {"anna", 5}}));
}

TEST_F(ReadIniFileTest, MissingUserLanguageIsAReadFailureKeepingEarlierUsers) {
  WriteIni(
      Params("[USERSLANG]\nUserName_001=anna\nUserLang_001=2\nUserName_002=bob\n"
             "UserName_003=carl\nUserLang_003=4\n"));
  EXPECT_FALSE(Read());
  ExpectReadFailure();
  EXPECT_EQ(Users(), (decltype(Users()){{"anna", 2}}));
}

TEST_F(ReadIniFileTest, UserListNotOpenIsAReadFailure) {
  session_.rsUsersLang.reset();
  WriteIni(Params("[USERSLANG]\nUserName_001=anna\nUserLang_001=2\n"));
  EXPECT_FALSE(Read());
  ExpectReadFailure();

  PrepareRead();
  session_.rsUsersLang->Close();
  backend_.shown.clear();
  std::filesystem::remove(log_path());
  EXPECT_FALSE(Read());
  ExpectReadFailure();
}

TEST_F(ReadIniFileTest, ValuesAreSeenThroughNinetyNineCharacters) {
  const std::string long_prefix(120, 'p');
  const std::string long_name = std::string(95, 'a') + "bcdefghij";  // 104 characters
  WriteIni(Params("ObjectsTargetPrefix=" + long_prefix +
                  "\n[USERSLANG]\nUserName_001=" + long_name + "\nUserLang_001=2\n"));
  ASSERT_TRUE(Read());
  EXPECT_EQ(session_.configuration.strObjectsTargetPrefix, std::string(99, 'p'));
  EXPECT_EQ(session_.configuration.bytObjectsTargetPrefixLen, 99);
  EXPECT_EQ(Users(), (decltype(Users()){{long_name.substr(0, 99), 2}}));
}

TEST_F(ReadIniFileTest, NinetyNineCharactersOfAnyScript) {
  std::string accented;
  for (int i = 0; i < 120; ++i) accented += "é";
  WriteIni(Params("ObjectsTargetPrefix=" + accented + "\n[USERSLANG]\nUserName_001=Jürgen " +
                  accented + "\nUserLang_001=2\n"));
  ASSERT_TRUE(Read());
  std::string expected;
  for (int i = 0; i < 99; ++i) expected += "é";
  EXPECT_EQ(session_.configuration.strObjectsTargetPrefix, expected);
  EXPECT_EQ(session_.configuration.bytObjectsTargetPrefixLen, 99);
  const auto users = Users();
  ASSERT_EQ(users.size(), 1u);
  EXPECT_EQ(users[0].first, "Jürgen " + expected.substr(0, 92 * 2));
}

TEST_F(ReadIniFileTest, CutValueLosesTheBlanksAtItsEnd) {
  WriteIni(Params("ObjectsTargetPrefix=" + std::string(97, 'x') + "   yz\n"));
  ASSERT_TRUE(Read());
  EXPECT_EQ(session_.configuration.strObjectsTargetPrefix, std::string(97, 'x'));
  EXPECT_EQ(session_.configuration.bytObjectsTargetPrefixLen, 97);
}

TEST_F(ReadIniFileTest, PrefixIsTrimmedAndCounted) {
  WriteIni(Params("ObjectsTargetPrefix=   ab   \n"));
  ASSERT_TRUE(Read());
  EXPECT_EQ(session_.configuration.strObjectsTargetPrefix, "ab");
  EXPECT_EQ(session_.configuration.bytObjectsTargetPrefixLen, 2);

  WriteIni(Params("ObjectsTargetPrefix=äß\n"));
  ASSERT_TRUE(Read());
  EXPECT_EQ(session_.configuration.bytObjectsTargetPrefixLen, 2) << "characters, not bytes";
}

}  // namespace
}  // namespace vt::interpreter
