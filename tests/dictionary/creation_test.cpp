// Creation steps 7 to 12 (both workbooks checked, opened, the dictionary
// normalised) and termination.
#include <filesystem>

#include "library/interpreter/session.h"
#include "platform/system/env.h"
#include "tests/dictionary/dictionary_fixture.h"

namespace vt::dictionary::testing {
namespace {

namespace fs = std::filesystem;
using interpreter::Lifecycle;
using interpreter::VeltranoModule;

std::string Translate(VeltranoModule& object, std::string text, std::int16_t language) {
  bool warn = false;
  return object.TranslateString(text, nullptr, language, warn);
}

std::uint64_t Inode(const fs::path& file) {
  const auto stamp = system::CurrentEnv().StatFile(file.string());
  EXPECT_TRUE(stamp.has_value()) << file;
  return stamp ? stamp->file_id : 0;
}

class DictionaryCreationTest : public DictionaryTest {
 protected:
  void ExpectMissingFileMessage(const fs::path& file) {
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, " Veltrano - WARNING");
    EXPECT_EQ(shown[0].style, 16);
    EXPECT_EQ(shown[0].text, "The file \"" + file.string() +
                                 "\" does not exist:\r\nVeltrano cannot start.\r\n\r\n"
                                 "Please call your supplier !");
  }

  // The one report of a failed creation: logged and shown.
  void ExpectCreationReport(const std::string& description_part) {
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(";VeltranoModule;Class_Initialize;"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find(description_part), std::string::npos) << lines[0];
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].style, 16);
    EXPECT_NE(shown[0].text.find("Procedure: Class_Initialize"), std::string::npos);
  }
};

TEST_F(DictionaryCreationTest, NormalisationTrimsSpacesOnlyAndReachesTheFile) {
  WriteDictionary({
      {"  Start  ", "  Démarrer", "Avvio  "},
      {"   ", "Blank source", ""},
      {"\tTabbed\t", " Line\r\nbreak ", "a  b"},
      {"  温度 🔥  ", "Température ", ""},
  });
  WriteAlarms({{"  Pump low  ", "  Pompe basse  ", ""}});
  auto object = CreateReady();

  const auto rows = ReadWithXlrd(dictionary_path());
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0],
            (std::vector<XlrdCell>{Text("Language_1"), Text("Language_2"), Text("Language_3")}));
  EXPECT_EQ(rows[1], (std::vector<XlrdCell>{Text("Start"), Text("Démarrer"), Text("Avvio")}));
  EXPECT_EQ(rows[2], (std::vector<XlrdCell>{Empty(), Text("Blank source"), Empty()}));
  EXPECT_EQ(rows[3],
            (std::vector<XlrdCell>{Text("\tTabbed\t"), Text("Line\r\nbreak"), Text("a  b")}));
  EXPECT_EQ(rows[4], (std::vector<XlrdCell>{Text("温度 🔥"), Text("Température"), Empty()}));

  // The row set sees the normalised texts.
  EXPECT_EQ(Translate(*object, "Start", 2), "Démarrer");
  EXPECT_EQ(Translate(*object, " 温度 🔥", 2), " Température");
  EXPECT_EQ(Translate(*object, "\tTabbed\t", 3), "a  b");

  // The alarm workbook is opened as it is.
  EXPECT_EQ(XlrdRow(alarm_path(), 1, 3)[0], Text("  Pump low  "));
}

TEST_F(DictionaryCreationTest, NormalDictionaryIsNotRewritten) {
  WriteDictionary({{"Start", "Démarrer", ""}});
  WriteAlarms({});
  const std::string before = ReadFile(dictionary_path());
  const std::uint64_t inode = Inode(dictionary_path());
  auto object = CreateReady();
  EXPECT_EQ(Inode(dictionary_path()), inode);
  EXPECT_EQ(ReadFile(dictionary_path()), before);
}

TEST_F(DictionaryCreationTest, NumberCellsAreLeftAsTheSpreadsheetMadeThem) {
  if (RunShell("command -v soffice >/dev/null 2>&1") != 0) GTEST_SKIP() << "no LibreOffice";
  // LibreOffice names the sheet after the CSV file.
  const fs::path csv = dir() / "Dictionary.csv";
  WriteFile(csv,
            "Language_1,Language_2,Code\n"
            "\"  Pressure  \",\" Druck \",42\n"
            "\"   \",Leer,3.5\n");
  const std::string convert = "cd " + ShellQuote(dir().string()) +
                              " && soffice -env:UserInstallation=file://" + dir().string() +
                              "/profile --headless --infilter=CSV:44,34,76,1 "
                              "--convert-to 'xls:MS Excel 97' Dictionary.csv >/dev/null 2>&1";
  ASSERT_EQ(RunShell(convert), 0);
  fs::rename(dir() / "Dictionary.xls", dictionary_path());
  ASSERT_EQ(XlrdRow(dictionary_path(), 1, 3)[2], Number(42));
  WriteAlarms({});

  auto object = CreateReady();
  const auto rows = ReadWithXlrd(dictionary_path());
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1], (std::vector<XlrdCell>{Text("Pressure"), Text("Druck"), Number(42)}));
  EXPECT_EQ(rows[2], (std::vector<XlrdCell>{Empty(), Text("Leer"), Number(3.5)}));
  EXPECT_EQ(Translate(*object, "Pressure ", 2), "Druck ");
}

TEST_F(DictionaryCreationTest, MissingDictionaryDisablesWithItsMessage) {
  WriteAlarms({});
  auto object = std::make_shared<VeltranoModule>(session_);
  EXPECT_EQ(object->lifecycle(), Lifecycle::Disabled);
  ExpectMissingFileMessage(dictionary_path());
  EXPECT_GE(backend_.pointer_restored, 1);
  EXPECT_GE(backend_.events_pumped, 1);
  EXPECT_EQ(Translate(*object, " Start ", 2), " Start ");
  EXPECT_TRUE(TakeMessages().empty());
  EXPECT_FALSE(fs::exists(log_path()));
}

TEST_F(DictionaryCreationTest, MissingAlarmWorkbookOpensNothing) {
  WriteDictionary({{"  Start  ", "Démarrer", ""}});
  const std::string before = ReadFile(dictionary_path());
  auto object = std::make_shared<VeltranoModule>(session_);
  EXPECT_EQ(object->lifecycle(), Lifecycle::Disabled);
  ExpectMissingFileMessage(alarm_path());
  // Not normalised: the dictionary was never opened.
  EXPECT_EQ(ReadFile(dictionary_path()), before);
  EXPECT_EQ(Translate(*object, "Start", 2), "Start");
}

TEST_F(DictionaryCreationTest, FolderCountsAsMissing) {
  fs::create_directory(dictionary_path());
  WriteAlarms({});
  auto object = std::make_shared<VeltranoModule>(session_);
  EXPECT_EQ(object->lifecycle(), Lifecycle::Disabled);
  ExpectMissingFileMessage(dictionary_path());
}

TEST_F(DictionaryCreationTest, DisabledConfigurationOpensNoWorkbook) {
  WriteIni("InterpreterEnabled", "N");
  // No workbook at all: they are never looked for.
  auto object = std::make_shared<VeltranoModule>(session_);
  EXPECT_EQ(object->lifecycle(), Lifecycle::Disabled);
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(DictionaryCreationTest, DamagedDictionaryIsReportedAndLeavesTheObjectBroken) {
  WriteFile(dictionary_path(), std::string(4096, 'x'));
  WriteAlarms({{"Pump", "Pompe", ""}});
  auto object = std::make_shared<VeltranoModule>(session_);
  EXPECT_EQ(object->lifecycle(), Lifecycle::Broken);
  ExpectCreationReport("Veltrano.xls");
  EXPECT_EQ(ReadFile(dictionary_path()), std::string(4096, 'x'));

  // Not Disabled, but what needs the workbook that creation could not open
  // does nothing: a report at every call would hide the first one's cause.
  EXPECT_EQ(Translate(*object, "Start", 2), "Start");
  EXPECT_EQ(LogLines().size(), 1u);
}

TEST_F(DictionaryCreationTest, SheetNotNamedDictionaryIsReported) {
  WriteWorkbook(dictionary_path(), ThreeLanguages(), {{"Start", "Démarrer", ""}}, "Sheet1");
  WriteAlarms({});
  auto object = std::make_shared<VeltranoModule>(session_);
  EXPECT_EQ(object->lifecycle(), Lifecycle::Broken);
  ExpectCreationReport("Dictionary");
}

TEST_F(DictionaryCreationTest, AlarmWorkbookFailureKeepsTheDictionaryOpen) {
  WriteDictionary({{" Start", "Démarrer", ""}});
  WriteWorkbook(alarm_path(), ThreeLanguages(), {{"Pump", "Pompe", ""}}, "Alarms");
  auto object = std::make_shared<VeltranoModule>(session_);
  EXPECT_EQ(object->lifecycle(), Lifecycle::Broken);
  ExpectCreationReport("Veltrano_Alm.xls");
  // Opened and normalised before the failure: it stays so.
  EXPECT_EQ(XlrdRow(dictionary_path(), 1, 3)[0], Text("Start"));
  EXPECT_EQ(Translate(*object, "Start", 2), "Démarrer");
}

TEST_F(DictionaryCreationTest, TerminationReleasesTheWorkbooksAndTheUserList) {
  WriteDictionary({{"Start", "Démarrer", ""}});
  WriteAlarms({});
  {
    auto first = CreateReady();
    auto second = CreateReady();
    first.reset();
    EXPECT_EQ(Translate(*second, "Start", 2), "Démarrer");
  }
  EXPECT_EQ(session_.rsUsersLang, nullptr);

  // A translator's edit made after the release is seen by the next object.
  WriteDictionary({{"Start", "Inizio", ""}});
  auto object = CreateReady();
  EXPECT_EQ(Translate(*object, "Start", 2), "Inizio");
}

}  // namespace
}  // namespace vt::dictionary::testing
