// SearchInProcessList over a replaced process list, and once over the real one.
#include <gtest/gtest.h>

#include <filesystem>

#include "library/interpreter/mod_process_list.h"
#include "platform/system/dynamic_library.h"
#include "platform/system/utf8_path.h"
#include "tests/interpreter/interpreter_fixture.h"

namespace vt::interpreter {
namespace {

using testing::InterpreterTest;

void Anchor() {}  // any function of this program will do

class SearchInProcessListTest : public InterpreterTest {
 protected:
  bool Search(std::string name, const std::vector<std::string>& processes) {
    env_.processes = processes;
    return SearchInProcessList(name, errors_);
  }
};

TEST_F(SearchInProcessListTest, ArgumentComesBackTrimmedInCapitals) {
  std::string name = "  FIX.exe  ";
  env_.processes = {"FIX.exe"};
  EXPECT_TRUE(SearchInProcessList(name, errors_));
  EXPECT_EQ(name, "FIX.EXE");

  name = "\tfix.exe";  // only blanks are trimmed
  EXPECT_FALSE(SearchInProcessList(name, errors_));
  EXPECT_EQ(name, "\tFIX.EXE");
}

TEST_F(SearchInProcessListTest, NamesCompareInCapitals) {
  EXPECT_TRUE(Search("FIX.exe", {"init", "fix.exe"}));
  EXPECT_TRUE(Search("fix.EXE", {"FIX.EXE", "bash"}));
  EXPECT_TRUE(Search("FIX.exe", {"Fix.Exe"}));
}

TEST_F(SearchInProcessListTest, OnlyTheWholeFileNameCounts) {
  EXPECT_FALSE(Search("FIX.exe", {"FIX.EXE.BAK"}));
  EXPECT_FALSE(Search("FIX.exe", {"MYFIX.exe"}));
  EXPECT_FALSE(Search("FIX.exe", {"FIX"}));
  EXPECT_FALSE(Search("FIX.exe", {"FIX exe"}));
  EXPECT_FALSE(Search("FIX.exe", {}));
  EXPECT_FALSE(Search("FIX.exe", {""}));
}

TEST_F(SearchInProcessListTest, BlanksAroundAProcessNameDoNotCount) {
  EXPECT_TRUE(Search("FIX.exe", {" FIX.exe "}));
}

TEST_F(SearchInProcessListTest, EveryProcessIsVisitedAlsoAfterAMatch) {
  EXPECT_TRUE(Search("FIX.exe", {"FIX.exe", "a", "b", "c"}));
  EXPECT_EQ(backend_.events_pumped, 4) << "events processed once per process";
  EXPECT_EQ(env_.process_list_calls, 1);
}

TEST_F(SearchInProcessListTest, FailureIsReportedAndGivesFalse) {
  session_.configuration.strFixPath = system::Utf8FromPath(pictures());
  env_.process_list_error = "cannot open /proc";
  std::string name = " FIX.exe ";
  EXPECT_FALSE(SearchInProcessList(name, errors_));
  EXPECT_EQ(name, "FIX.EXE");
  ASSERT_EQ(backend_.shown.size(), 1u);
  EXPECT_NE(backend_.shown[0].text.find("Module: modProcessList\r\n"
                                        "Procedure: SearchInProcessList\r\n"
                                        "Error description: cannot open /proc"),
            std::string::npos)
      << backend_.shown[0].text;
  const std::string log = Log();
  EXPECT_NE(log.find(";modProcessList;SearchInProcessList;cannot open /proc;\r\n"),
            std::string::npos)
      << log;
}

// The real process list: this very test program is running.
TEST(SearchInProcessListRealTest, FindsThisProgram) {
  const std::string self =
      std::filesystem::path(system::PathOfLibraryContaining(reinterpret_cast<const void*>(&Anchor)))
          .filename()
          .string();
  ASSERT_FALSE(self.empty());
  std::string name = "  " + self + " ";
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const Configuration configuration;
  const ErrorReporter errors(configuration);
  EXPECT_TRUE(SearchInProcessList(name, errors));
  std::string absent = "no-such-program-vt.exe";
  EXPECT_FALSE(SearchInProcessList(absent, errors));
}

}  // namespace
}  // namespace vt::interpreter
