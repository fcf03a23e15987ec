// UpdateAndVerifyDictionary over real pictures, through the batch view.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>

#include "library/interpreter/session.h"
#include "library/interpreter/veltrano_module.h"
#include "platform/workbook/workbook.h"
#include "tests/maintenance/maintenance_fixture.h"

namespace vt::maintenance::testing {
namespace {

using pictures::testing::Button;
using pictures::testing::Picture;
using pictures::testing::Text;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

std::string UpdatedText(int n) {
  return "The dictionary of the development language has been UPDATED\r\n"
         "and you have to insert one or more translations to Language_" +
         std::to_string(n) + " !";
}
std::string MissingText(int n) {
  return "The dictionary of the development language was already updated,\r\n"
         "but you have to insert translations to Language_" +
         std::to_string(n) + " !";
}
std::string CompleteText(int n) {
  return "The dictionary of the development language was already updated\r\n"
         "and all the translations to Language_" +
         std::to_string(n) + " are available !";
}
const char* const kUpdateInterrupted = "Dictionary update procedure has been interrupted !";

class UpdateDictionaryTest : public MaintenanceTest {
 protected:
  std::vector<std::string> ReportLines() const {
    const std::string csv = vt::testing::ReadFile(veltrano_dir() / "Veltrano_Report.csv");
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < csv.size();) {
      const std::size_t end = csv.find("\r\n", at);
      lines.push_back(csv.substr(at, end - at));
      at = end + 2;
    }
    return lines;
  }
  void SetUp() override {
    MaintenanceTest::SetUp();
    WriteSampleApplication();
  }
  void ExpectFlagsLowered() {
    const interpreter::Session& module = session_;
    EXPECT_FALSE(module.run.blnMaintenanceRunning);
    EXPECT_FALSE(module.run.blnDictionaryUpdated);
    EXPECT_FALSE(module.run.blnDevLangSecondPass);
    EXPECT_FALSE(module.run.maintenance_procedure_running);
  }
};

TEST_F(UpdateDictionaryTest, OutcomesAndWhichOneWins) {
  struct Case {
    std::vector<std::string> pictures;
    std::string language;
    Message outcome;
    Rows appended;
  };
  const Case cases[] = {
      {{"Main"}, "2", Information(CompleteText(2)), {}},
      // The first picture lacks a translation, the second is complete.
      {{"Pump", "Main"}, "3", Warning(MissingText(3)), {}},
      // Appended and missing: only the update is told; a text met twice is one row.
      {{"New", "Pump"}, "3", Warning(UpdatedText(3)), {{"Feed pump", "", ""}}},
      // The development language itself: nothing is looked up.
      {{"New"}, "1", Information(CompleteText(1)), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    WriteDictionary(SampleDictionary());
    const std::string main = PictureBytes("Main"), pump = PictureBytes("Pump"),
                      added = PictureBytes("New");
    Choose(c.pictures, c.language);
    auto module = CreateReady();
    module->UpdateAndVerifyDictionary();

    EXPECT_THAT(TakeMessages(), ElementsAre(UpdateNotice(), c.outcome));
    Rows rows = SampleDictionary();
    rows.insert(rows.end(), c.appended.begin(), c.appended.end());
    EXPECT_EQ(DictionaryRowsByXlrd(), rows);
    EXPECT_EQ(PictureBytes("Main"), main);
    EXPECT_EQ(PictureBytes("Pump"), pump);
    EXPECT_EQ(PictureBytes("New"), added);
    EXPECT_THAT(workspace_->documents().open(), IsEmpty());
    EXPECT_EQ(session_.configuration.intStartLangNum, std::stoi(c.language));
    ExpectFlagsLowered();
  }
  const auto windows = WindowsAndLaunches();
  ASSERT_EQ(windows.size(), 4u);
  EXPECT_EQ(windows[0], (nlohmann::json{{"form", "frmUpdateDictionary"},
                                        {"caption",
                                         " Veltrano - Update and verify dictionary (only "
                                         "pictures)"}}));
}

TEST_F(UpdateDictionaryTest, InterruptedRunsOpenNoPicture) {
  struct Case {
    const char* what;
    std::vector<std::string> pictures;
    ui::Answer notice;
    std::vector<Message> messages;
  };
  const Case cases[] = {
      {"nothing checked",
       {},
       ui::Answer::Ok,
       {Warning("You must select one or more pictures !"), Warning(kUpdateInterrupted)}},
      {"notice cancelled",
       {"New"},
       ui::Answer::Cancel,
       {UpdateNotice(), Warning(kUpdateInterrupted)}},
      // No entries: Ok does nothing, only Cancel is left.
      {"empty folder", {"*"}, ui::Answer::Ok, {Warning(kUpdateInterrupted)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.pictures == std::vector<std::string>{"*"}) {
      for (const char* name : {"Main.grf", "Pump.grf", "New.grf"}) {
        std::filesystem::remove(pictures() / name);
      }
    }
    Choose(c.pictures, "3");
    auto module = CreateReady();
    Answer({c.notice});
    module->UpdateAndVerifyDictionary();
    EXPECT_EQ(TakeMessages(), c.messages);
    EXPECT_EQ(DictionaryRowsByXlrd(), SampleDictionary());
    ExpectFlagsLowered();
  }
}

TEST_F(UpdateDictionaryTest, TypedNumberGoesThroughKeyPress) {
  // The letter is refused with its message, the digits stay; at most two.
  Choose({"main.GRF", "Missing"}, "0a23");
  auto module = CreateReady();
  module->UpdateAndVerifyDictionary();
  EXPECT_THAT(TakeMessages(), ElementsAre(Warning("You must insert a number !"), UpdateNotice(),
                                          Information(CompleteText(2))));
  EXPECT_EQ(session_.configuration.intStartLangNum, 2);
  EXPECT_EQ(session_.run.strSelectedPictures, std::vector<std::string>{"Main"});
}

TEST_F(UpdateDictionaryTest, RowsReachTheFileASecondAfterTheLastSaveAndBeforeTheVerdict) {
  struct Case {
    const char* name;
    std::chrono::seconds step;  // the clock's move at every event pump
    // The file's rows at every pump: after each picture's close, and after
    // each picture of the loop.
    std::vector<std::size_t> at_pumps;
  };
  const Case cases[] = {
      {"a second per pump", std::chrono::seconds(1), {3, 4, 4, 5}},
      {"frozen clock", std::chrono::seconds(0), {3, 3, 3, 3}},
      {"clock going back", std::chrono::seconds(-1), {3, 4, 4, 5}},
  };
  // Each appends one text, in whichever order the folder lists them.
  WritePicture("Other.grf", Picture({Text("txtOther", "Other text")}));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteDictionary(SampleDictionary());
    Choose({"New", "Other"}, "3");
    auto module = CreateReady();
    test_env_->now = std::chrono::system_clock::time_point(std::chrono::hours(1000));
    std::vector<std::size_t> rows;
    std::function<void()> look = [&] {
      rows.push_back(DictionaryRows().size());
      *test_env_->now += c.step;
      backend_.on_events = look;
    };
    backend_.on_events = look;
    std::vector<std::size_t> rows_at_boxes;
    backend_.on_message = [&](const ui::MessageRequest&) {
      rows_at_boxes.push_back(DictionaryRows().size());
    };
    module->UpdateAndVerifyDictionary();
    backend_.on_events = nullptr;
    backend_.on_message = nullptr;
    test_env_->now.reset();
    EXPECT_EQ(rows, c.at_pumps);
    // The notice before the pictures, the verdict after the last save.
    EXPECT_THAT(rows_at_boxes, ElementsAre(3u, 5u));
    EXPECT_THAT(TakeMessages(), ElementsAre(UpdateNotice(), Warning(UpdatedText(3))));
  }
}

// A save that fails is the run's last word: the verdict would say that rows
// are in the dictionary that are not.
TEST_F(UpdateDictionaryTest, AFailedSaveIsToldInsteadOfTheVerdict) {
  struct Case {
    const char* procedure;
    std::function<void(interpreter::VeltranoModule&)> run;
    std::vector<ui::Answer> answers;
    std::vector<Message> before;
  };
  const Case cases[] = {
      {"UpdateAndVerifyDictionary",
       [](interpreter::VeltranoModule& m) { m.UpdateAndVerifyDictionary(); },
       {ui::Answer::Ok},
       {UpdateNotice()}},
      {"ChangeDevLang",
       [](interpreter::VeltranoModule& m) { m.ChangeDevLang(); },
       {ui::Answer::Yes, ui::Answer::Yes},
       {Confirmation(), ChangeNotice()}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.procedure);
    Choose({"New", "Main"}, "2");
    auto module = CreateReady();
    backend_.answers = c.answers;
    backend_.next = 0;
    test_env_->fail_dictionary_saves = true;
    c.run(*module);
    test_env_->fail_dictionary_saves = false;
    std::vector<Message> messages = TakeMessages();
    ASSERT_EQ(messages.size(), c.before.size() + 1) << ::testing::PrintToString(messages);
    EXPECT_EQ(std::vector<Message>(messages.begin(), messages.end() - 1), c.before);
    EXPECT_EQ(messages.back().title, " Veltrano - WARNING");
    EXPECT_THAT(messages.back().text, HasSubstr("Procedure: " + std::string(c.procedure)));
    EXPECT_THAT(messages.back().text, HasSubstr("No space left on device"));
    EXPECT_EQ(DictionaryRowsByXlrd(), SampleDictionary());
    ExpectFlagsLowered();
  }
}

TEST_F(UpdateDictionaryTest, FailuresAreToldOnceAndEndTheRunWithTheirCount) {
  WritePicture("Other.grf", Picture({Text("txtOther", "Other text")}));
  vt::testing::WriteFile(pictures() / "Broken.grf", "[1, 2");
  struct Case {
    const char* what;
    std::vector<std::string> pictures;
    std::string language;
    const char* told;  // the one error box
    std::string ending;
  };
  const Case cases[] = {
      // Main's two texts are found, and neither has a Language_23 cell to read.
      {"a language without its column",
       {"Main", "Pump"},
       "23",
       "has no column \"Language_23\"",
       "The analysis of 2 pictures have failed !"},
      {"a picture that does not read",
       {"Main", "Broken"},
       "2",
       "Procedure: TranslatePicture",
       "The analysis of 1 picture has failed !"},
      {"a full sheet",
       {"New", "Other"},
       "2",
       "65,536 rows",
       "The analysis of 2 pictures have failed !"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteDictionary(SampleDictionary());
    if (std::string(c.what) == "a full sheet") {
      auto book = workbook::Workbook::Open(dictionary_path());
      book.FindSheet("Dictionary")->SetCellText(workbook::kMaxRows - 1, 0, "last row");
      book.Save();
    }
    Choose(c.pictures, c.language);
    auto module = CreateReady();
    module->UpdateAndVerifyDictionary();
    const std::vector<Message> messages = TakeMessages();
    ASSERT_EQ(messages.size(), 3u) << ::testing::PrintToString(messages);
    EXPECT_EQ(messages[0], UpdateNotice());
    EXPECT_EQ(messages[1].title, " Veltrano - WARNING");
    EXPECT_THAT(messages[1].text, HasSubstr(c.told));
    EXPECT_EQ(messages[2], Warning(c.ending +
                                   "\r\nCorrect the reported errors, then verify the translations "
                                   "to Language_" +
                                   c.language + " again !"));
    ExpectFlagsLowered();
  }
}

TEST_F(UpdateDictionaryTest, TheRunLeavesACoverageReportBesideTheDictionary) {
  WritePicture("Odd.grf", Picture({Text("txtOdd", " Tom & \"Jerry\" <b> "),
                                   Button("cmdStop", "Stop", "Boiler overview")}));
  vt::testing::WriteFile(pictures() / "Broken.grf", "[1, 2");
  struct Case {
    std::optional<std::string> ratio;  // ReportLengthRatio
    const char* stop;                  // "Stoppen" is 1.75 times "Stop"
    const char* logged;
  };
  const Case cases[] = {
      {std::nullopt, "too long", nullptr},
      {"2,5", "translated", nullptr},
      {" 1.75 ", "translated", nullptr},
      {"abc", "too long",
       "ReportLengthRatio of [PARAMETERS], line 2, is \"abc\", not a number "
       "above 0; the coverage report takes 1.5"},
      {"0", "too long", "is \"0\", not a number above 0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ratio.value_or("none"));
    std::string ini = vt::testing::ReadyIni({}, {{"OPERATOR", 3}});
    if (c.ratio) ini.insert(ini.find('\n') + 1, "ReportLengthRatio=" + *c.ratio + "\r\n");
    WriteIniText(ini);
    WriteDictionary(SampleDictionary());
    std::filesystem::remove(log_path());
    Choose({"Main", "Odd", "Broken"}, "3");
    auto module = CreateReady();
    module->UpdateAndVerifyDictionary();

    // The run tells what it told before it left a report.
    const std::vector<Message> messages = TakeMessages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_THAT(messages[2].text, HasSubstr("The analysis of 1 picture has failed !"));
    std::vector<std::string> log;
    if (std::filesystem::exists(log_path())) log = LogLines();
    // The broken picture's own report is the only other line.
    ASSERT_EQ(log.size(), c.logged ? 2u : 1u);
    if (c.logged) {
      EXPECT_THAT(log[1], HasSubstr(";VeltranoModule;UpdateAndVerifyDictionary;"));
      EXPECT_THAT(log[1], HasSubstr(c.logged));
    }

    const std::string stop = c.stop;
    EXPECT_THAT(
        ReportLines(),
        UnorderedElementsAre("\xEF\xBB\xBFPicture,Text,Places,Language_2,Language_3",
                             "Main,Boiler overview,txtTitle.Caption,translated,translated",
                             "Main,Stop,txtStop.Caption," + stop + ",translated",
                             "Odd,\"Tom & \"\"Jerry\"\" <b>\",txtOdd.Caption,missing,missing",
                             "Odd,Stop,cmdStop.Caption," + stop + ",translated",
                             "Odd,Boiler overview,cmdStop.Description,translated,translated"));
    const std::string html = vt::testing::ReadFile(veltrano_dir() / "Veltrano_Report.html");
    EXPECT_THAT(html, HasSubstr("<td class=\"text\">Tom &amp; &quot;Jerry&quot; &lt;b&gt;</td>"));
    EXPECT_THAT(html, HasSubstr("Not counted, their analysis failed: Broken"));
  }
}

// Noon of a day, local time.
std::chrono::system_clock::time_point Noon(int year, int month, int day) {
  std::tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = 12;
  fields.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&fields));
}

// A picture shown in another language is looked up in that language's column;
// the report names its texts by their development-language text, the sheet
// by the texts it shows, under that language.
TEST_F(UpdateDictionaryTest, APictureInAnotherLanguageIsReportedByItsOriginals) {
  WritePicture("German.grf", Picture({Text("txtStop", "Stoppen")}, 2));
  test_env_->now = Noon(2026, 3, 1);
  Choose({"German", "Main"}, "3");
  auto module = CreateReady();
  module->UpdateAndVerifyDictionary();
  EXPECT_THAT(TakeMessages(), ElementsAre(UpdateNotice(), Information(CompleteText(3))));
  // In the order the folder listed the pictures.
  EXPECT_THAT(ReportLines(),
              UnorderedElementsAre("\xEF\xBB\xBFPicture,Text,Places,Language_2,Language_3",
                                   "German,Stop,txtStop.Caption,too long,translated",
                                   "Main,Boiler overview,txtTitle.Caption,translated,translated",
                                   "Main,Stop,txtStop.Caption,too long,translated"));
  using vt::testing::Number;
  using vt::testing::Text;
  EXPECT_EQ(vt::testing::ReadWithXlrd(dictionary_path(), "Where used"),
            (std::vector<std::vector<vt::testing::XlrdCell>>{
                {Text("Text"), Text("Language"), Text("Places"), Text("Pictures"), Text("Was"),
                 Text("Seen")},
                {Text("Boiler overview"), Text("Language_1"), Text("Main/txtTitle.Caption"),
                 Number(1), vt::testing::Empty(), Text("2026-03-01")},
                {Text("Stop"), Text("Language_1"), Text("Main/txtStop.Caption"), Number(1),
                 vt::testing::Empty(), Text("2026-03-01")},
                {Text("Stoppen"), Text("Language_2"), Text("German/txtStop.Caption"), Number(1),
                 vt::testing::Empty(), Text("2026-03-01")}}));
}

// Sheets of before named the language verified beside the development-
// language text, their counts as texts: the next run reads them as rows of
// the development language and writes them anew.
TEST_F(UpdateDictionaryTest, ASheetOfTheEarlierRuleIsRewrittenByTheNextRun) {
  {
    auto book = workbook::Workbook::Open(dictionary_path());
    workbook::Sheet* sheet = book.AddSheet("Where used");
    const std::vector<std::vector<std::string>> rows = {
        {"Text", "Language", "Places", "Pictures", "Was", "Seen"},
        {"Flow", "Language_3", "Other/txtFlow.Caption", "1", "Flux", "2026-01-01"},
        {"Stop", "Language_2", "Gone/txtStop.Caption; Main/txtStop.Caption", "2", "", "2026-01-02"},
        {"Stop", "Language_3", "Main/txtStop.Caption; Other/cmdStop.Caption", "2", "",
         "2026-01-01"},
    };
    for (std::size_t row = 0; row < rows.size(); ++row) {
      for (std::size_t column = 0; column < rows[row].size(); ++column) {
        sheet->SetCellText(row, column, rows[row][column]);
      }
    }
    book.Save();
  }
  test_env_->now = Noon(2026, 3, 1);
  Choose({"Main"}, "3");
  auto module = CreateReady();
  module->UpdateAndVerifyDictionary();
  EXPECT_THAT(TakeMessages(), ElementsAre(UpdateNotice(), Information(CompleteText(3))));
  using vt::testing::Empty;
  using vt::testing::Number;
  using vt::testing::Text;
  const auto sheet = vt::testing::ReadWithXlrd(dictionary_path(), "Where used");
  EXPECT_EQ(std::vector(sheet.begin() + 1, sheet.end()),
            (std::vector<std::vector<vt::testing::XlrdCell>>{
                {Text("Boiler overview"), Text("Language_1"), Text("Main/txtTitle.Caption"),
                 Number(1), Empty(), Text("2026-03-01")},
                {Text("Flow"), Text("Language_1"), Text("Other/txtFlow.Caption"), Number(1),
                 Text("Flux"), Text("2026-01-01")},
                {Text("Stop"), Text("Language_1"),
                 Text("Gone/txtStop.Caption; Main/txtStop.Caption; Other/cmdStop.Caption"),
                 Number(3), Empty(), Text("2026-03-01")}}));
}

// Groups are entered to the ninth level: what lies inside ten or more groups
// is never translated, so the report tells it, and the dictionary never gets it.
TEST_F(UpdateDictionaryTest, TextsTooDeepToTranslateAreReportedNotReached) {
  using pictures::testing::Group;
  using pictures::testing::Json;
  // `levels` groups around the members.
  const auto nested = [](int levels, Json members) {
    for (int level = levels; level >= 1; --level) {
      members = Json::array({Group("grp" + std::to_string(level), std::move(members))});
    }
    return members;
  };
  WritePicture(
      "Deep.grf",
      Picture({Text("txtTop", "Stop"),
               nested(9, {Text("txtAtLimit", "Start"),
                          Group("grp10",
                                {Text("txtBelow", "Pressure"),
                                 Group("grp11", {Button("cmdDeep", "Stop", "Deep down")})})})[0]}));
  Choose({"Deep"}, "3");
  auto module = CreateReady();
  module->UpdateAndVerifyDictionary();
  EXPECT_THAT(TakeMessages(), ElementsAre(UpdateNotice(), Warning(MissingText(3))));
  EXPECT_THAT(ReportLines(),
              ElementsAre("\xEF\xBB\xBFPicture,Text,Places,Language_2,Language_3",
                          "Deep,Stop,txtTop.Caption,too long,translated",
                          "Deep,Start,txtAtLimit.Caption,translated,missing",
                          "Deep,Pressure,txtBelow.Caption,not reached,not reached",
                          "Deep,Stop,cmdDeep.Caption,not reached,not reached",
                          "Deep,Deep down,cmdDeep.Description,not reached,not reached"));
  const std::string html = vt::testing::ReadFile(veltrano_dir() / "Veltrano_Report.html");
  EXPECT_THAT(html, HasSubstr("Not reached by translation (3)"));
  EXPECT_THAT(html, HasSubstr("<td class=\"text\">Deep down</td><td class=\"places\">"
                              "Deep/cmdDeep.Description</td>"));
  EXPECT_EQ(DictionaryRowsByXlrd(), SampleDictionary());
}

// A sheet of that name that the run did not write is somebody's own: left as
// it is, and the reason logged.
TEST_F(UpdateDictionaryTest, ASheetWhereUsedOfSomebodyElseIsLeftAlone) {
  {
    auto book = workbook::Workbook::Open(dictionary_path());
    workbook::Sheet* notes = book.AddSheet("Where Used");
    notes->SetCellText(0, 0, "My notes");
    notes->SetCellText(1, 0, "Keep them");
    book.Save();
  }
  Choose({"Main"}, "2");
  auto module = CreateReady();
  module->UpdateAndVerifyDictionary();
  EXPECT_THAT(TakeMessages(), ElementsAre(UpdateNotice(), Information(CompleteText(2))));
  const std::vector<std::string> log = LogLines();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_THAT(log[0], HasSubstr("the sheet \"Where used\" was not written by Veltrano (column 1 "
                                "is not \"Text\"): it is left as it is"));
  EXPECT_EQ(vt::testing::ReadWithXlrd(dictionary_path(), "Where Used"),
            (std::vector<std::vector<vt::testing::XlrdCell>>{{vt::testing::Text("My notes")},
                                                             {vt::testing::Text("Keep them")}}));
  EXPECT_TRUE(std::filesystem::exists(veltrano_dir() / "Veltrano_Report.html"));
}

// The report is an extra: a failure to write it is logged (and told on
// stderr), and the run's messages are the ones it would have shown.
TEST_F(UpdateDictionaryTest, AReportThatCannotBeWrittenIsLoggedAndChangesNoMessage) {
  Choose({"Main", "New"}, "3");
  auto module = CreateReady();
  test_env_->fail_saves_of = "Veltrano_Report.html";
  module->UpdateAndVerifyDictionary();
  test_env_->fail_saves_of.clear();
  EXPECT_THAT(TakeMessages(), ElementsAre(UpdateNotice(), Warning(UpdatedText(3))));
  const std::vector<std::string> log = LogLines();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_THAT(log[0], HasSubstr(";VeltranoModule;UpdateAndVerifyDictionary;the coverage report "
                                "was not written: Cannot write the file '"));
  EXPECT_THAT(log[0], HasSubstr("Veltrano_Report.html"));
  EXPECT_FALSE(std::filesystem::exists(veltrano_dir() / "Veltrano_Report.html"));
  EXPECT_TRUE(std::filesystem::exists(veltrano_dir() / "Veltrano_Report.csv"));
  EXPECT_EQ(DictionaryRowsByXlrd().size(), SampleDictionary().size() + 1);
}

TEST_F(UpdateDictionaryTest, TheRunKeepsWhereEveryTextIsShown) {
  using Sheet = std::vector<std::vector<std::string>>;
  const std::vector<std::string> header = {"Text", "Language", "Places", "Pictures", "Was", "Seen"};
  struct Step {
    const char* what;
    std::vector<std::string> pictures;
    const char* language;
    Sheet rows;
  };
  // The pictures are drawn in Language_1: whichever language a run verifies,
  // their rows are of Language_1.
  const Step steps[] = {
      {"a first run: the workbook gets the sheet",
       {"Main", "Pump"},
       "3",
       {{"Boiler overview", "Language_1", "Main/txtTitle.Caption", "1", "", "2026-03-01"},
        {"Start", "Language_1", "Pump/txtStart.Caption", "1", "", "2026-03-01"},
        {"Stop", "Language_1", "Main/txtStop.Caption", "1", "", "2026-03-01"}}},
      // Main's title is reworded and gets a twin: only Main is walked, Pump's row stays.
      {"a caption reworded",
       {"Main"},
       "3",
       {{"Boiler view", "Language_1", "Main/txtTitle.Caption; Main/txtTwin.Caption", "1",
         "Boiler overview", "2026-03-02"},
        {"Start", "Language_1", "Pump/txtStart.Caption", "1", "", "2026-03-01"},
        {"Stop", "Language_1", "Main/txtStop.Caption", "1", "", "2026-03-02"}}},
      // Another language verified: the same rows, seen again; the hint was for
      // the run after the change.
      {"another language",
       {"Main", "Pump"},
       "2",
       {{"Boiler view", "Language_1", "Main/txtTitle.Caption; Main/txtTwin.Caption", "1", "",
         "2026-03-03"},
        {"Start", "Language_1", "Pump/txtStart.Caption", "1", "", "2026-03-03"},
        {"Stop", "Language_1", "Main/txtStop.Caption", "1", "", "2026-03-03"}}},
      // Pump's only text is gone: so is its row, and the sheet is a row shorter.
      {"a text removed",
       {"Pump"},
       "3",
       {{"Boiler view", "Language_1", "Main/txtTitle.Caption; Main/txtTwin.Caption", "1", "",
         "2026-03-03"},
        {"Stop", "Language_1", "Main/txtStop.Caption", "1", "", "2026-03-03"}}},
  };
  int day = 0;
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    if (day == 1) {
      WritePicture("Main.grf", Picture({Text("txtTitle", "Boiler view"), Text("txtStop", "Stop"),
                                        Text("txtTwin", " Boiler view")}));
    }
    if (day == 3) WritePicture("Pump.grf", Picture({Text("txtStart", "")}));
    test_env_->now = Noon(2026, 3, ++day);
    Choose(step.pictures, step.language);
    auto module = CreateReady();
    module->UpdateAndVerifyDictionary();
    module.reset();
    EXPECT_EQ(TakeMessages().size(), 2u);

    Sheet rows;
    for (const auto& row : vt::testing::ReadWithXlrd(dictionary_path(), "Where used")) {
      std::vector<std::string>& texts = rows.emplace_back();
      for (const vt::testing::XlrdCell& cell : row) {
        // The count is a number, the rest texts.
        const bool counted = rows.size() > 1 && texts.size() == 3;
        EXPECT_EQ(cell.kind, counted ? "number" : cell.text.empty() ? "empty" : "text");
        texts.push_back(counted ? std::to_string(static_cast<int>(cell.number)) : cell.text);
      }
      texts.resize(header.size());
    }
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front(), header);
    EXPECT_EQ(Sheet(rows.begin() + 1, rows.end()), step.rows);
  }
  // The sheet "Dictionary" holds what the runs appended, and nothing reads the other sheet.
  Rows dictionary = SampleDictionary();
  dictionary.push_back({"Boiler view", "", ""});
  EXPECT_EQ(DictionaryRowsByXlrd(), dictionary);
  auto module = CreateReady();
  EXPECT_THAT(TakeMessages(), IsEmpty());
  pictures::testing::TranslatePicture(*module, "Main", 2);
  EXPECT_EQ(CaptionIn("Main", "txtStop"), "Stoppen");
}

}  // namespace
}  // namespace vt::maintenance::testing
