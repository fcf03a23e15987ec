// ChangeDevLang over real pictures, through the batch view: both passes, the
// configuration rewrite, and the runs that must change nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "host/pictures/documents.h"
#include "library/interpreter/session.h"
#include "tests/maintenance/maintenance_fixture.h"

namespace vt::maintenance::testing {
namespace {

using pictures::testing::Picture;
using pictures::testing::Text;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ui::Answer::No;
using ui::Answer::Yes;

const char* const kChangeInterrupted =
    "Development language change procedure has been interrupted !";

std::string ChangedText(int n) {
  const std::string N = std::to_string(n);
  return "The dictionary of the previous development language was already updated\r\n"
         "and all the strings have been translated to Language_" +
         N + " !\r\nNow Language_" + N + "  is the new development language.";
}

class ChangeDevLangTest : public MaintenanceTest {
 protected:
  void SetUp() override {
    MaintenanceTest::SetUp();
    WriteSampleApplication();
    // Starting in 3, so that the rewrite of both keys shows.
    WriteIni({{"StartingLanguageNumber", "3"}});
  }
  std::string Ini() const { return vt::testing::ReadFile(ini_path()); }
  // The configuration with these keys changed and every other byte as written.
  static std::string IniWith(const std::string& development, const std::string& starting) {
    return vt::testing::ReadyIni(
        {{"DevelopmentLanguageNumber", development}, {"StartingLanguageNumber", starting}},
        {{"OPERATOR", 3}});
  }
  // The picture's marker and first caption as stored in its file.
  std::pair<std::string, std::string> Stored(const std::string& name) const {
    const Json picture = Json::parse(PictureBytes(name));
    return {picture["Comments"].dump(), picture["ContainedObjects"][0]["Caption"]};
  }
  void Run(const std::vector<std::string>& pictures, const std::string& language,
           std::initializer_list<ui::Answer> answers = {Yes, Yes}) {
    Choose(pictures, language);
    auto module = CreateReady();
    Answer(answers);
    module->ChangeDevLang();
    const interpreter::Session& state = session_;
    EXPECT_FALSE(state.run.blnMaintenanceRunning || state.run.blnDevLangSecondPass ||
                 state.run.blnDictionaryUpdated || state.run.maintenance_procedure_running);
    EXPECT_THAT(workspace_->documents().open(), IsEmpty());
  }
};

TEST_F(ChangeDevLangTest, SecondPassStoresThePicturesInTheNewLanguage) {
  const std::string added = PictureBytes("New");
  Run({"Main", "Pump"}, "2");
  EXPECT_THAT(TakeMessages(),
              ElementsAre(Confirmation(), ChangeNotice(), Information(ChangedText(2))));
  EXPECT_EQ(Stored("Main"), std::make_pair(std::string("2"), std::string("Kesselübersicht")));
  EXPECT_EQ(Stored("Pump"), std::make_pair(std::string("2"), std::string("Starten")));
  EXPECT_EQ(PictureBytes("New"), added) << "not chosen";
  EXPECT_EQ(Ini(), IniWith("2", "1"));
  EXPECT_EQ(DictionaryRowsByXlrd(), SampleDictionary());
}

TEST_F(ChangeDevLangTest, ToTheCurrentDevelopmentLanguageKeepsThePicturesAndWritesBothKeys) {
  const std::string main = PictureBytes("Main");
  Run({"Main"}, "1");
  EXPECT_THAT(TakeMessages(),
              ElementsAre(Confirmation(), ChangeNotice(), Information(ChangedText(1))));
  EXPECT_EQ(Stored("Main"), std::make_pair(std::string("\"\""), std::string("Boiler overview")));
  EXPECT_EQ(Ini(), IniWith("1", "1"));
}

TEST_F(ChangeDevLangTest, FirstPassFindingAnythingMissingChangesNoPicture) {
  struct Case {
    std::vector<std::string> pictures;
    std::string language;
    std::string warning;
    Rows appended;
  };
  const Case cases[] = {
      {{"Main", "New"},
       "2",
       "The dictionary of the current development language has been UPDATED\r\n"
       "and you have to insert one or more translations to Language_2\r\n"
       "before it can become the new development language !",
       {{"Feed pump", "", ""}}},
      // A missing cell in the first picture is enough.
      {{"Pump", "Main"},
       "3",
       "The dictionary of the development language was already updated,\r\n"
       "but you have to insert translations to Language_3\r\n"
       "before it can become the new development language !",
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    WriteDictionary(SampleDictionary());
    const std::string main = PictureBytes("Main"), pump = PictureBytes("Pump"),
                      added = PictureBytes("New"), ini = Ini();
    Run(c.pictures, c.language);
    EXPECT_THAT(TakeMessages(), ElementsAre(Confirmation(), ChangeNotice(), Warning(c.warning)));
    EXPECT_EQ(PictureBytes("Main"), main);
    EXPECT_EQ(PictureBytes("Pump"), pump);
    EXPECT_EQ(PictureBytes("New"), added);
    EXPECT_EQ(Ini(), ini);
    Rows rows = SampleDictionary();
    rows.insert(rows.end(), c.appended.begin(), c.appended.end());
    EXPECT_EQ(DictionaryRowsByXlrd(), rows);
  }
}

TEST_F(ChangeDevLangTest, APictureFailingInTheFirstPassStopsTheRunBeforeAnythingIsSaved) {
  vt::testing::WriteFile(pictures() / "Broken.grf", "[1, 2");
  const std::string main = PictureBytes("Main"), ini = Ini();
  Run({"Main", "Broken"}, "2");
  const std::vector<Message> messages = TakeMessages();
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_THAT(messages[2].text, HasSubstr("Procedure: TranslatePicture"));
  EXPECT_EQ(messages[3], Warning("The analysis of 1 picture has failed !\r\n"
                                 "No picture has been changed: correct the reported errors\r\n"
                                 "before Language_2 can become the new development language !"));
  EXPECT_EQ(PictureBytes("Main"), main);
  EXPECT_EQ(Ini(), ini);
}

std::string ConversionFailedText(const std::string& former) {
  return "The conversion of 1 picture has failed !\r\nLanguage_" + former +
         " is still the development language: correct the reported errors\r\n"
         "and run the change again to complete it !";
}

// The converted pictures carry the new marker and the one that failed is as
// it was before the pass, so the configuration stays: running the change
// again completes it.
TEST_F(ChangeDevLangTest, APictureFailingInTheSecondPassLeavesTheConfigurationAsItIs) {
  struct Case {
    const char* what;
    const char* told;
    bool save_fails;  // else the picture changes on disk between the passes
  };
  const Case cases[] = {
      {"its save fails", "No space left on device", true},
      // Its marker then names a language without a column, which the walk
      // meets after the new marker is written.
      {"its conversion fails half way", "has no column \"Language_7\"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteSampleApplication();
    WriteIni({{"StartingLanguageNumber", "3"}});
    const std::string ini = Ini();
    std::string failed = "Pump";
    std::string failed_bytes = PictureBytes(failed);
    if (c.save_fails) test_env_->fail_saves_of = "Pump.grf";
    // At the first pump of the second pass one picture is converted; the
    // other changes on disk.
    std::function<void()> between = [&] {
      if (!session_.run.blnDevLangSecondPass) {
        backend_.on_events = between;
        return;
      }
      failed = Stored("Main").first == "2" ? "Pump" : "Main";
      Json picture = Json::parse(PictureBytes(failed));
      picture["Comments"] = "7";
      WritePicture(failed + ".grf", picture);
      failed_bytes = PictureBytes(failed);
    };
    if (!c.save_fails) backend_.on_events = between;
    Run({"Main", "Pump"}, "2");
    backend_.on_events = nullptr;
    test_env_->fail_saves_of.clear();

    const std::vector<Message> messages = TakeMessages();
    ASSERT_EQ(messages.size(), 4u) << ::testing::PrintToString(messages);
    EXPECT_THAT(messages[2].text, HasSubstr(c.told));
    EXPECT_EQ(messages[3], Warning(ConversionFailedText("1")));
    EXPECT_EQ(Ini(), ini);
    EXPECT_EQ(PictureBytes(failed), failed_bytes);
    EXPECT_EQ(Stored(failed == "Pump" ? "Main" : "Pump").first, "2");
    if (c.save_fails) {
      Run({"Main", "Pump"}, "2");
      EXPECT_THAT(TakeMessages(),
                  ElementsAre(Confirmation(), ChangeNotice(), Information(ChangedText(2))));
      EXPECT_EQ(Stored("Pump"), std::make_pair(std::string("2"), std::string("Starten")));
      EXPECT_EQ(Ini(), IniWith("2", "1"));
    }
  }
}

TEST_F(ChangeDevLangTest, AConfigurationThatCannotBeWrittenIsReportedNotAnnounced) {
  test_env_->fail_ini_writes = true;
  const std::string ini = Ini();
  Run({"Main"}, "2");
  const std::vector<Message> messages = TakeMessages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[2].title, " Veltrano - WARNING");
  EXPECT_THAT(messages[2].text, HasSubstr("Procedure: ChangeDevLang"));
  EXPECT_THAT(LogLines().back(), HasSubstr(";VeltranoModule;ChangeDevLang;"));
  EXPECT_EQ(Ini(), ini);
}

TEST_F(ChangeDevLangTest, BothKeysChangeInOneWriteOfTheConfiguration) {
  // A second write that fails stands for a run stopped between two writes.
  test_env_->fail_ini_write_number = 2;
  Run({"Main"}, "2");
  EXPECT_THAT(TakeMessages(),
              ElementsAre(Confirmation(), ChangeNotice(), Information(ChangedText(2))));
  EXPECT_EQ(Ini(), IniWith("2", "1"));
  EXPECT_EQ(test_env_->ini_writes, 1);
}

TEST_F(ChangeDevLangTest, NoToEitherQuestionIsAnInterruption) {
  const std::string main = PictureBytes("Main");
  // No to the confirmation: the dialog stays open and the batch view cancels.
  Run({"Main"}, "2", {No});
  EXPECT_THAT(TakeMessages(), ElementsAre(Confirmation(), Warning(kChangeInterrupted)));
  Run({"Main"}, "2", {Yes, No});
  EXPECT_THAT(TakeMessages(),
              ElementsAre(Confirmation(), ChangeNotice(), Warning(kChangeInterrupted)));
  EXPECT_EQ(PictureBytes("Main"), main);
  const auto windows = WindowsAndLaunches();
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_EQ(windows[1]["caption"], " Veltrano - Change development language (only pictures)");
}

TEST_F(ChangeDevLangTest, AMaintenanceCallDuringTheRunsEventsReturnsAtOnce) {
  Choose({"Main", "Pump"}, "2");
  auto module = CreateReady();
  Answer({Yes, Yes});
  // At every pump of both passes; the second pass is where the outer run saves.
  int nested = 0;
  std::function<void()> again;
  again = [&] {
    ++nested;
    module->UpdateAndVerifyDictionary();
    module->ChangeDevLang();
    backend_.on_events = again;
  };
  backend_.on_events = again;
  module->ChangeDevLang();
  backend_.on_events = nullptr;
  EXPECT_GE(nested, 8);
  EXPECT_THAT(TakeMessages(),
              ElementsAre(Confirmation(), ChangeNotice(), Information(ChangedText(2))));
  EXPECT_EQ(Stored("Main").first, "2");
  EXPECT_EQ(Stored("Pump").first, "2");
  EXPECT_EQ(WindowsAndLaunches().size(), 1u);
}

}  // namespace
}  // namespace vt::maintenance::testing
