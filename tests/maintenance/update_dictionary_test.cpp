// UpdateAndVerifyDictionary over real pictures, through the batch view.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "library/interpreter/module_state.h"
#include "tests/maintenance/maintenance_fixture.h"

namespace vt::maintenance::testing {
namespace {

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

}  // namespace
}  // namespace vt::maintenance::testing
