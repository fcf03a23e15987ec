// The templates as deployed: a Veltrano folder the library can start on, and
// workbooks that LibreOffice and xlrd read.
#include "library/interpreter/session.h"
#include "platform/data/recordset.h"
#include "tests/support/library_test.h"
#include "tests/support/shell.h"
#include "tests/wizard/wizard_fixture.h"
#include "wizard/unattended.h"

namespace vt::wizard::testing {
namespace {

namespace fs = std::filesystem;
using vt::testing::ReadWithXlrd;
using vt::testing::RunShell;
using vt::testing::ShellQuote;
using vt::testing::Text;
using vt::testing::XlrdCell;

std::vector<std::string> Languages() {
  std::vector<std::string> names;
  for (int n = 1; n <= 8; ++n) names.push_back("Language_" + std::to_string(n));
  return names;
}

// The wizard run unattended into the fixture's pictures folder, then an
// interpreter object created there by the fake host.
class DeployedTemplatesTest : public vt::testing::FakeHostLibraryTest<> {
 protected:
  DeployedTemplatesTest() : FakeHostLibraryTest("vt-templates") {}

  void SetUp() override {
    FakeHostLibraryTest::SetUp();
    fs::remove_all(veltrano_dir());  // a new application
    fs::create_directories(dir() / "program");
    fs::copy(BuiltKelmora(), dir() / "program" / "Kelmora");
    ScopedAppPath app_path((dir() / "program").string());
    std::ostringstream err;
    ASSERT_EQ(RunUnattended(pictures().string(), FileChoice{}, err), 0) << err.str();
    ASSERT_EQ(TakeMessages().size(), 1u);  // "Rostavel has completed !"
  }
};

TEST_F(DeployedTemplatesTest, TheLibraryStartsReadyAndAppendsToTheDictionary) {
  auto object = CreateReady();
  EXPECT_EQ(session_.configuration.intDevLangNum, 1);
  EXPECT_EQ(object->get_GlobalLangNum(), 1);
  EXPECT_EQ(session_.rsUsersLang->RecordCount(), 1);

  std::string text = "Boiler overview";
  std::int16_t language = 2;
  bool warn = false;
  EXPECT_EQ(object->TranslateString(text, nullptr, language, warn), "Boiler overview");
  object.reset();  // saves the workbook
  const auto rows = ReadWithXlrd(dictionary_path());
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1][0], Text("Boiler overview"));
}

TEST_F(DeployedTemplatesTest, WorkbooksHaveTheDictionarySheetAndEightLanguages) {
  std::vector<XlrdCell> header;
  for (const std::string& name : Languages()) header.push_back(Text(name));
  for (const fs::path& book : {dictionary_path(), alarm_path()}) {
    const auto rows = ReadWithXlrd(book);
    ASSERT_EQ(rows.size(), 1u) << book;
    EXPECT_EQ(rows[0], header) << book;
  }

  if (RunShell("command -v soffice >/dev/null 2>&1") != 0) GTEST_SKIP() << "no LibreOffice";
  const fs::path out = dir() / "csv";
  const std::string convert = "soffice -env:UserInstallation=file://" + dir().string() +
                              "/profile --headless --convert-to csv --outdir " +
                              ShellQuote(out.string()) + " " +
                              ShellQuote(dictionary_path().string()) + " " +
                              ShellQuote(alarm_path().string()) + " >/dev/null 2>&1";
  ASSERT_EQ(RunShell(convert), 0);
  std::string expected;
  for (const std::string& name : Languages()) expected += (expected.empty() ? "" : ",") + name;
  for (const char* name : {"Veltrano.csv", "Veltrano_Alm.csv"}) {
    EXPECT_EQ(ReadFile(out / name), expected + "\n") << name;
  }
}

TEST_F(DeployedTemplatesTest, EveryConfigurationKeyHasACommentAbove) {
  const auto lines = ReadLines(ini_path());
  const std::vector<std::string> expected{"InterpreterEnabled=Y",
                                          "ShowInfoPanelOnStartup=N",
                                          "ShowWarningsForMissingTranslations=Y",
                                          "TranslateInvisibleText=Y",
                                          "DevelopmentLanguageNumber=1",
                                          "StartingLanguageNumber=1",
                                          "GetObjectsPrefix=N",
                                          "ObjectsTargetPrefix=",
                                          "UserName_001=OPERATOR",
                                          "UserLang_001=1"};
  std::vector<std::string> settings;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find('=') == std::string::npos) continue;
    settings.push_back(lines[i]);
    ASSERT_GT(i, 0u);
    EXPECT_EQ(lines[i - 1].rfind("; ", 0), 0u) << "no comment above " << lines[i];
  }
  EXPECT_EQ(settings, expected);
  // Written for Windows: every line ends with CR LF.
  const std::string text = ReadFile(ini_path());
  std::size_t crlf = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos;
       at = text.find("\r\n", at + 2)) {
    ++crlf;
  }
  EXPECT_EQ(crlf, static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
}

}  // namespace
}  // namespace vt::wizard::testing
