// UpdateAndVerifyDictionary over real pictures, through the batch view.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "library/interpreter/module_state.h"
#include "library/interpreter/veltrano_module.h"
#include "platform/workbook/workbook.h"
#include "tests/maintenance/maintenance_fixture.h"

namespace vt::maintenance::testing {
namespace {

using pictures::testing::Picture;
using pictures::testing::Text;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

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
const char* const kInterrupted = "Dictionary update procedure has been interrupted !";

class UpdateDictionaryTest : public MaintenanceTest {
 protected:
  void SetUp() override {
    MaintenanceTest::SetUp();
    WriteSampleApplication();
  }
  void ExpectFlagsLowered() {
    const interpreter::ModuleState& module = interpreter::Module();
    EXPECT_FALSE(module.blnMaintenanceRunning);
    EXPECT_FALSE(module.blnDictionaryUpdated);
    EXPECT_FALSE(module.blnDevLangSecondPass);
    EXPECT_FALSE(module.blnMaintenanceProcedureRunning);
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
    EXPECT_EQ(interpreter::Module().intStartLangNum, std::stoi(c.language));
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
       {Warning("You must select one or more pictures !"), Warning(kInterrupted)}},
      {"notice cancelled", {"New"}, ui::Answer::Cancel, {UpdateNotice(), Warning(kInterrupted)}},
      // No entries: Ok does nothing, only Cancel is left.
      {"empty folder", {"*"}, ui::Answer::Ok, {Warning(kInterrupted)}},
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
  EXPECT_EQ(interpreter::Module().intStartLangNum, 2);
  EXPECT_EQ(interpreter::Module().strSelectedPictures, std::vector<std::string>{"Main"});
}

TEST_F(UpdateDictionaryTest, RowsReachTheFileAfterEveryPictureBeforeTheVerdict) {
  // Each appends one text, in whichever order the folder lists them.
  WritePicture("Other.grf", Picture({Text("txtOther", "Other text")}));
  Choose({"New", "Other"}, "3");
  auto module = CreateReady();
  // The file's rows at every pump: after each picture's close, and after
  // each picture of the loop.
  std::vector<std::size_t> rows;
  std::function<void()> look = [&] {
    rows.push_back(DictionaryRows().size());
    backend_.on_events = look;
  };
  backend_.on_events = look;
  module->UpdateAndVerifyDictionary();
  backend_.on_events = nullptr;
  EXPECT_THAT(rows, ElementsAre(3u, 4u, 4u, 5u));
  EXPECT_THAT(TakeMessages(), ElementsAre(UpdateNotice(), Warning(UpdatedText(3))));
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

}  // namespace
}  // namespace vt::maintenance::testing
