// HandleError and the reporter it shares with the wizard: the log line byte for
// byte, the message box, and every failing step skipped.
#include <gtest/gtest.h>

#include <regex>

#include "library/interpreter/mod_err_handler.h"
#include "platform/report/error_report.h"
#include "platform/system/date_time.h"
#include "platform/system/paths.h"
#include "platform/system/utf8_path.h"
#include "tests/interpreter/interpreter_fixture.h"

namespace vt::interpreter {
namespace {

using testing::InterpreterTest;
using testing::LocalTime;

class HandleErrorTest : public InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    session_.configuration.strFixPath = system::Utf8FromPath(pictures());
    env_.now = LocalTime(2024, 3, 5, 14, 7, 9);
  }
  std::string Stamp() const { return system::FormatDateTime(*env_.now); }
};

TEST_F(HandleErrorTest, AppendsOneLineAndShowsTheCriticalBox) {
  testing::WriteFile(log_path(), "earlier report\r\n");
  errors_.HandleError("modIniHandler", "ReadIniFile", "Type mismatch", "");

  const std::string stamp = Stamp();
  EXPECT_NE(stamp.find(":07:09"), std::string::npos) << stamp;  // 14:07:09 or 2:07:09 PM
  EXPECT_EQ(Log(), "earlier report\r\n" + stamp + ";modIniHandler;ReadIniFile;Type mismatch;\r\n");

  ASSERT_EQ(backend_.shown.size(), 1u);
  EXPECT_EQ(backend_.shown[0].text, "Veltrano - " + stamp +
                                        "\r\nA critical error has occurred !\r\n\r\n"
                                        "Module: modIniHandler\r\n"
                                        "Procedure: ReadIniFile\r\n"
                                        "Error description: Type mismatch");
  EXPECT_EQ(backend_.shown[0].title, " Veltrano - WARNING");
  EXPECT_EQ(backend_.shown[0].style, 16);
}

TEST_F(HandleErrorTest, EachReportOpensTheLogAfresh) {
  errors_.HandleError("VeltranoModule", "GetUserLang", "first", "");
  std::filesystem::remove(log_path());  // someone moved the log away meanwhile
  errors_.HandleError("VeltranoModule", "SetUserGlobalLang", "second", "");
  EXPECT_EQ(Log(), Stamp() + ";VeltranoModule;SetUserGlobalLang;second;\r\n");
  errors_.HandleError("VeltranoModule", "GetUserLang", "third", "");
  EXPECT_EQ(Log(), Stamp() + ";VeltranoModule;SetUserGlobalLang;second;\r\n" + Stamp() +
                       ";VeltranoModule;GetUserLang;third;\r\n");
  EXPECT_EQ(backend_.shown.size(), 3u);
}

TEST_F(HandleErrorTest, DebugReferenceFillsFifthFieldAndAddsALine) {
  errors_.HandleError("modX", "ProcY", "Overflow", "row 12");
  EXPECT_EQ(Log(), Stamp() + ";modX;ProcY;Overflow;row 12\r\n");
  ASSERT_EQ(backend_.shown.size(), 1u);
  const std::string& text = backend_.shown[0].text;
  const std::string tail = "\r\nError description: Overflow\r\nDebug reference: row 12";
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST_F(HandleErrorTest, LineBreaksInsideAFieldBecomeBlanks) {
  errors_.HandleError("mod\nA", "Proc\r", "line one\r\nline two\nthree", "a\rb");
  EXPECT_EQ(Log(), Stamp() + ";mod A;Proc ;line one  line two three;a b\r\n");
  // The operator still sees the text as it was.
  ASSERT_EQ(backend_.shown.size(), 1u);
  EXPECT_NE(backend_.shown[0].text.find("Error description: line one\r\nline two\nthree"),
            std::string::npos);
}

TEST_F(HandleErrorTest, SemicolonsAreWrittenAsTheyAre) {
  errors_.HandleError("m", "p", "a;b", "");
  EXPECT_EQ(Log(), Stamp() + ";m;p;a;b;\r\n");
}

TEST_F(HandleErrorTest, UnicodeDescriptionIsKeptAsUtf8) {
  errors_.HandleError("m", "p", "Fichier « Größe » introuvable", "");
  EXPECT_EQ(Log(), Stamp() + ";m;p;Fichier « Größe » introuvable;\r\n");
}

// The log stays UTF-8 text, as the transcript does: a folder or file name in
// another encoding reaches it as U+FFFD, one for each damaged sequence.
TEST_F(HandleErrorTest, BytesThatAreNotUtf8AreLoggedAsReplacementCharacters) {
  const std::vector<std::pair<std::string, std::string>> cases{
      {"caf\xE9/Veltrano.xls", "caf\uFFFD/Veltrano.xls"},
      {"\xF0\x9F\x98", "\uFFFD"},                                  // a sequence cut short
      {"\xC0\xAF\xFF", "\uFFFD\uFFFD\uFFFD"},                      // an overlong form, a stray byte
      {"\xE2\x82\xAC \xED\xA0\x80", "\u20AC \uFFFD\uFFFD\uFFFD"},  // a surrogate
  };
  for (const auto& [description, logged] : cases) {
    std::filesystem::remove(log_path());
    errors_.HandleError("m", "p", description, "");
    EXPECT_EQ(Log(), Stamp() + ";m;p;" + logged + ";\r\n") << description;
  }
}

TEST_F(HandleErrorTest, MidnightLeavesTheTimeOut) {
  env_.now = LocalTime(2024, 12, 31, 0, 0, 0);
  errors_.HandleError("m", "p", "d", "");
  const std::string stamp = Stamp();
  EXPECT_EQ(stamp.find(':'), std::string::npos) << stamp;
  EXPECT_EQ(stamp, system::FormatDateTime(LocalTime(2024, 12, 31, 0, 0, 0)));
  EXPECT_EQ(Log(), stamp + ";m;p;d;\r\n");
  ASSERT_EQ(backend_.shown.size(), 1u);
  EXPECT_EQ(backend_.shown[0].text.rfind("Veltrano - " + stamp + "\r\n", 0), 0u);

  // One second later the time is there again.
  env_.now = LocalTime(2024, 12, 31, 0, 0, 1);
  EXPECT_NE(Stamp().find(":00:01"), std::string::npos) << Stamp();
}

TEST_F(HandleErrorTest, TimeStampIsShortDateThenLongTimeOfTheLocale) {
  errors_.HandleError("m", "p", "d", "");
#ifdef _WIN32
  // Wine's default regional settings (English, United States).
  EXPECT_TRUE(std::regex_search(Log(), std::regex(R"(^3/5/2024 2:07:09 PM;m;p;d;\r\n$)"))) << Log();
#else
  // The tests run in the C locale (the only one installed here): MM/DD/YY.
  EXPECT_TRUE(std::regex_search(Log(), std::regex(R"(^03/05/24 14:07:09;m;p;d;\r\n$)"))) << Log();
#endif
}

TEST_F(HandleErrorTest, MissingVeltranoFolderStillShowsTheBoxAndCreatesNothing) {
  std::filesystem::remove_all(veltrano_dir());
  errors_.HandleError("m", "p", "d", "");
  EXPECT_EQ(backend_.shown.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(veltrano_dir()));
  EXPECT_TRUE(std::filesystem::is_empty(pictures()));
}

TEST_F(HandleErrorTest, UnwritableLogStillShowsTheBox) {
  std::filesystem::create_directory(log_path());  // a folder where the log should be
  errors_.HandleError("m", "p", "d", "");
  EXPECT_EQ(backend_.shown.size(), 1u);
  EXPECT_TRUE(std::filesystem::is_directory(log_path()));

  std::filesystem::remove(log_path());
  env_.append_error = true;
  errors_.HandleError("m", "p", "d", "");
  EXPECT_EQ(backend_.shown.size(), 2u);
}

TEST_F(HandleErrorTest, UnreadableClockStillLogsAndShows) {
  env_.clock_error = true;
  errors_.HandleError("m", "p", "d", "");
  EXPECT_EQ(Log(), ";m;p;d;\r\n");
  ASSERT_EQ(backend_.shown.size(), 1u);
  EXPECT_EQ(backend_.shown[0].text.rfind("Veltrano - \r\nA critical error has occurred !", 0), 0u);
}

TEST_F(HandleErrorTest, BeforeThePicturesFolderIsKnownTheLogIsAtTheRoot) {
  session_.configuration.strFixPath.clear();
  env_.append_error = true;  // never write to the real root
  errors_.HandleError("modProcessList", "SearchInProcessList", "d", "");
  ASSERT_EQ(env_.appended_to.size(), 1u);
  EXPECT_EQ(env_.appended_to[0], system::SystemPath("\\Veltrano\\Veltrano.log"));
  EXPECT_EQ(backend_.shown.size(), 1u);
}

TEST_F(HandleErrorTest, WizardSettingsGiveFourFieldsAndItsOwnTitle) {
  const report::ReporterSettings wizard{
      .log_path = (dir() / "Rostavel.log").string(),
      .message_prefix = " Rostavel - ",
      .title = " WARNING",
      .with_debug_reference = false,
  };
  report::Report(wizard, "frmRostavel", "cmdNext_Click", "Path not found", "ignored");
  EXPECT_EQ(testing::ReadFile(dir() / "Rostavel.log"),
            Stamp() + ";frmRostavel;cmdNext_Click;Path not found\r\n");
  ASSERT_EQ(backend_.shown.size(), 1u);
  EXPECT_EQ(backend_.shown[0].text, " Rostavel - " + Stamp() +
                                        "\r\nA critical error has occurred !\r\n\r\n"
                                        "Module: frmRostavel\r\n"
                                        "Procedure: cmdNext_Click\r\n"
                                        "Error description: Path not found");
  EXPECT_EQ(backend_.shown[0].title, " WARNING");
  EXPECT_EQ(backend_.shown[0].style, 16);
}

TEST(LogLineTest, FieldsJoinedBySemicolons) {
  const report::ReporterSettings library{"", "", "", true};
  const report::ReporterSettings wizard{"", "", "", false};
  EXPECT_EQ(report::LogLine(library, "T", "m", "p", "d", ""), "T;m;p;d;");
  EXPECT_EQ(report::LogLine(library, "", "", "", "", ""), ";;;;");
  EXPECT_EQ(report::LogLine(wizard, "T", "m", "p", "d", "x"), "T;m;p;d");
  EXPECT_EQ(report::LogLine(wizard, "T\r\n", "m", "p", "\r\n", "x"), "T  ;m;p;  ");
}

}  // namespace
}  // namespace vt::interpreter
