// The picture-selection dialogs' form model on a real pictures folder.
#include "library/maintenance/picture_selection_form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "library/interpreter/session.h"
#include "platform/system/utf8_path.h"
#include "tests/maintenance/maintenance_fixture.h"

namespace vt::maintenance::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using Kind = PictureSelectionKind;
using Control = PictureSelectionForm::Control;

class PictureSelectionFormTest : public MaintenanceTest {
 protected:
  void SetUp() override {
    MaintenanceTest::SetUp();
    session_.configuration.strFixPath = system::Utf8FromPath(pictures());
    session_.configuration.intStartLangNum = 7;
    session_.run.blnMaintenanceRunning = true;
    vt::testing::WriteFile(pictures() / "Main.grf", "{}");
  }
  PictureSelectionForm Loaded(Kind kind = Kind::UpdateDictionary) {
    PictureSelectionForm form(kind, session_, messages_, errors_);
    form.Form_Load();
    return form;
  }
};

TEST_F(PictureSelectionFormTest, ListsOrdinaryPictureFilesOnlyAndProposesTheStartingLanguage) {
  for (const char* file : {"PUMP.GRF", ".Hidden.grf", "notes.txt", "Main.grf.bak"}) {
    vt::testing::WriteFile(pictures() / file, "{}");
  }
  std::filesystem::create_directory(pictures() / "Folder.grf");
  const PictureSelectionForm form = Loaded();
  std::vector<std::string> entries;
  for (const auto& entry : form.lstPicList) entries.push_back(entry.text);
  EXPECT_THAT(entries, ::testing::UnorderedElementsAre("Main", "PUMP"));
  EXPECT_EQ(form.txtLangNum, "7");
}

// The real platform holds one of the names that differ only in letter case:
// the list shows the one the host opens for the entry, and tells the others.
TEST_F(PictureSelectionFormTest, NamesDifferingOnlyInLetterCaseAreListedOnceAndTheOthersTold) {
  struct Case {
    std::vector<std::string> files;  // besides Main.grf
    std::vector<std::string> entries;
    std::vector<std::pair<std::string, std::string>> told;  // file, the one listed
  };
  const Case cases[] = {
      {{"Dup.GRF", "Dup.grf"}, {"Dup", "Main"}, {{"Dup.GRF", "Dup.grf"}}},
      {{"MAIN.GRF", "main.Grf"}, {"Main"}, {{"MAIN.GRF", "Main.grf"}, {"main.Grf", "Main.grf"}}},
      // Neither ends as the run's ".grf": the first in name order.
      {{"up.GRF", "Up.GRF"}, {"Main", "Up"}, {{"up.GRF", "Up.GRF"}}},
      {{"Pump.grf", "Pump.grf.bak"}, {"Main", "Pump"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.files[0]);
    for (const auto& entry : std::filesystem::directory_iterator(pictures())) {
      if (entry.is_regular_file() && entry.path().filename() != "Main.grf") {
        std::filesystem::remove(entry.path());
      }
    }
    for (const std::string& file : c.files) vt::testing::WriteFile(pictures() / file, "{}");
    const PictureSelectionForm form = Loaded();
    std::vector<std::string> entries;
    for (const auto& entry : form.lstPicList) entries.push_back(entry.text);
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, c.entries);
    std::vector<std::string> lines;
    for (const auto& [file, listed] : c.told) {
      lines.push_back("The picture \"" + file + "\" is not listed: its name differs from \"" +
                      listed + "\" only in letter case !");
    }
    const std::vector<Message> messages = TakeMessages();
    if (lines.empty()) {
      EXPECT_THAT(messages, IsEmpty());
      continue;
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, " Veltrano - Warning");
    EXPECT_EQ(messages[0].style, 48);
    std::vector<std::string> told;
    for (std::size_t at = 0, end = 0; end != std::string::npos; at = end + 2) {
      end = messages[0].text.find("\r\n", at);
      told.push_back(messages[0].text.substr(at, end - at));
    }
    EXPECT_THAT(told, ::testing::UnorderedElementsAreArray(lines));
  }
}

TEST_F(PictureSelectionFormTest, NumberBoxPassesDigitsBackspaceAndTwelveOnly) {
  PictureSelectionForm form(Kind::UpdateDictionary, session_, messages_, errors_);
  for (const int code : {int{'0'}, int{'9'}, 8, 12, int{'a'}, int{'-'}, int{' '}, 13}) {
    auto KeyAscii = static_cast<std::int16_t>(code);
    form.txtLangNum_KeyPress(KeyAscii);
    const bool passes = (code >= '0' && code <= '9') || code == 8 || code == 12;
    EXPECT_EQ(KeyAscii, passes ? code : 0) << code;
    EXPECT_EQ(TakeMessages(), passes ? std::vector<Message>{}
                                     : std::vector<Message>{Warning("You must insert a number !")});
  }
}

TEST_F(PictureSelectionFormTest, OkChecksEntriesThenTheNumber) {
  struct Case {
    bool checked;
    std::string number;
    std::string message;
    Control focus;
  };
  const Case cases[] = {
      {false, "2", "You must select one or more pictures !", Control::lstPicList},
      {true, "", "You must insert a language number !", Control::txtLangNum},
      {true, "0", "You must insert a language number !", Control::txtLangNum},
      {true, "00", "You must insert a language number !", Control::txtLangNum},
  };
  for (const Case& c : cases) {
    PictureSelectionForm form = Loaded();
    form.lstPicList[0].selected = c.checked;
    form.txtLangNum = c.number;
    form.cmdUpdateDictionary_Click();
    EXPECT_THAT(TakeMessages(), ElementsAre(Warning(c.message))) << c.number;
    EXPECT_EQ(form.focus_request, c.focus);
    EXPECT_FALSE(form.closed);
    EXPECT_EQ(session_.configuration.intStartLangNum, 7);
  }
}

TEST_F(PictureSelectionFormTest, ChangeDevLangAsksFirstAndNoKeepsTheDialogAsItWas) {
  for (const ui::Answer answer : {ui::Answer::No, ui::Answer::Yes}) {
    PictureSelectionForm form = Loaded(Kind::ChangeDevLang);
    session_.run.strSelectedPictures = {"Old"};
    form.cmdCheckAll_Click();
    form.txtLangNum = "3";
    Answer({answer});
    backend_.beeps = 0;
    form.cmdUpdateDictionary_Click();
    EXPECT_EQ(backend_.beeps, 1);
    EXPECT_THAT(TakeMessages(), ElementsAre(Confirmation()));
    const bool yes = answer == ui::Answer::Yes;
    EXPECT_EQ(form.closed, yes);
    EXPECT_EQ(session_.run.strSelectedPictures[0], yes ? "Main" : "Old");
    EXPECT_EQ(session_.configuration.intStartLangNum, yes ? 3 : 7);
  }
}

TEST_F(PictureSelectionFormTest, FailuresAreReportedUnderTheDialogAndTheEvent) {
  // A text that is no number can be pasted in; Ok then fails.
  PictureSelectionForm update = Loaded();
  update.lstPicList[0].selected = true;
  update.txtLangNum = "x";
  update.cmdUpdateDictionary_Click();
  EXPECT_FALSE(update.closed);

  test_env_->fail_listing = true;
  EXPECT_THAT(Loaded(Kind::ChangeDevLang).lstPicList, IsEmpty());

  const std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_THAT(lines[0], HasSubstr(";frmUpdateDictionary;cmdUpdateDictionary_Click;"));
  EXPECT_THAT(lines[1], HasSubstr(";frmChangeDevLang;Form_Load;listing "));
  EXPECT_EQ(TakeMessages().size(), 2u);
}

}  // namespace
}  // namespace vt::maintenance::testing
