// The picture-selection dialogs' form model on a real pictures folder.
#include "library/maintenance/picture_selection_form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "library/interpreter/module_state.h"
#include "tests/maintenance/maintenance_fixture.h"

namespace vt::maintenance::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;
using Kind = PictureSelectionKind;
using Control = PictureSelectionForm::Control;

class PictureSelectionFormTest : public MaintenanceTest {
 protected:
  void SetUp() override {
    MaintenanceTest::SetUp();
    interpreter::Module().strFixPath = pictures().string();
    interpreter::Module().intStartLangNum = 7;
    interpreter::Module().blnMaintenanceRunning = true;
  }
  // A loaded dialog over Main and Pump.
  PictureSelectionForm Loaded(Kind kind = Kind::UpdateDictionary) {
    WriteSampleApplication();
    std::filesystem::remove(pictures() / "New.grf");
    PictureSelectionForm form(kind);
    form.Form_Load();
    std::sort(form.lstPicList.begin(), form.lstPicList.end(),
              [](const auto& a, const auto& b) { return a.text < b.text; });
    return form;
  }
  std::vector<std::string> Entries(const PictureSelectionForm& form) {
    std::vector<std::string> texts;
    for (const auto& entry : form.lstPicList) texts.push_back(entry.text);
    return texts;
  }
};

TEST_F(PictureSelectionFormTest, ListsOrdinaryPictureFilesOnlyAndProposesTheStartingLanguage) {
  for (const char* file : {"Main.grf", "PUMP.GRF", ".Hidden.grf", "notes.txt", "Main.grf.bak"}) {
    vt::testing::WriteFile(pictures() / file, "{}");
  }
  std::filesystem::create_directory(pictures() / "Folder.grf");
  PictureSelectionForm form(Kind::UpdateDictionary);
  form.Form_Load();
  EXPECT_THAT(Entries(form), UnorderedElementsAre("Main", "PUMP"));
  EXPECT_EQ(form.txtLangNum, "7");
  EXPECT_THAT(TakeMessages(), IsEmpty());

  // In the order of the folder listing.
  std::vector<std::string> listed;
  for (const std::string& file : system::Env::Default()->ListFiles(pictures().string(), "*.grf")) {
    listed.push_back(file.substr(0, file.size() - 4));
  }
  EXPECT_EQ(Entries(form), listed);
}

TEST_F(PictureSelectionFormTest, NumberBoxTakesDigitsBackspaceAndTwelveOnly) {
  PictureSelectionForm form(Kind::UpdateDictionary);
  for (const int code : {int{'0'}, int{'5'}, int{'9'}, 8, 12}) {
    auto KeyAscii = static_cast<std::int16_t>(code);
    form.txtLangNum_KeyPress(KeyAscii);
    EXPECT_EQ(KeyAscii, code);
  }
  EXPECT_THAT(TakeMessages(), IsEmpty());
  for (const int code : {int{'a'}, int{'-'}, int{' '}, int{'.'}, 13}) {
    auto KeyAscii = static_cast<std::int16_t>(code);
    form.txtLangNum_KeyPress(KeyAscii);
    EXPECT_EQ(KeyAscii, 0) << code;
    EXPECT_THAT(TakeMessages(), ElementsAre(Warning("You must insert a number !")));
  }
}

TEST_F(PictureSelectionFormTest, OkChecksEntriesThenTheNumber) {
  struct Case {
    std::vector<bool> checked;
    std::string number;
    std::vector<Message> messages;
    Control focus;
  };
  const Case cases[] = {
      {{false, false},
       "2",
       {Warning("You must select one or more pictures !")},
       Control::lstPicList},
      {{true, false}, "", {Warning("You must insert a language number !")}, Control::txtLangNum},
      {{false, true}, "0", {Warning("You must insert a language number !")}, Control::txtLangNum},
      {{true, true}, "00", {Warning("You must insert a language number !")}, Control::txtLangNum},
  };
  for (const Case& c : cases) {
    PictureSelectionForm form = Loaded();
    for (std::size_t i = 0; i < c.checked.size(); ++i) form.lstPicList[i].selected = c.checked[i];
    form.txtLangNum = c.number;
    form.cmdUpdateDictionary_Click();
    EXPECT_EQ(TakeMessages(), c.messages) << c.number;
    EXPECT_EQ(form.focus_request, c.focus);
    EXPECT_FALSE(form.closed);
    EXPECT_TRUE(interpreter::Module().blnMaintenanceRunning);
    EXPECT_EQ(interpreter::Module().intStartLangNum, 7);
  }
}

TEST_F(PictureSelectionFormTest, OkAcceptsCheckedEntriesInListOrder) {
  PictureSelectionForm form = Loaded();
  interpreter::Module().strSelectedPictures = {"Old", "Older", "Oldest"};
  form.cmdCheckAll_Click();
  EXPECT_EQ(form.lstPicListIndex, 0);
  form.txtLangNum = "12";
  form.cmdUpdateDictionary_Click();
  EXPECT_TRUE(form.closed);
  EXPECT_THAT(interpreter::Module().strSelectedPictures, ElementsAre("Main", "Pump"));
  EXPECT_EQ(interpreter::Module().intStartLangNum, 12);
  EXPECT_TRUE(interpreter::Module().blnMaintenanceRunning);
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_EQ(backend_.beeps, 0);
}

TEST_F(PictureSelectionFormTest, ChangeDevLangAsksFirstAndNoKeepsTheDialogAsItWas) {
  for (const ui::Answer answer : {ui::Answer::No, ui::Answer::Yes}) {
    PictureSelectionForm form = Loaded(Kind::ChangeDevLang);
    interpreter::Module().strSelectedPictures = {"Old"};
    form.lstPicList[1].selected = true;
    form.txtLangNum = "3";
    Answer({answer});
    backend_.beeps = 0;
    form.cmdUpdateDictionary_Click();
    EXPECT_EQ(backend_.beeps, 1);
    EXPECT_THAT(TakeMessages(), ElementsAre(Confirmation()));
    const bool yes = answer == ui::Answer::Yes;
    EXPECT_EQ(form.closed, yes);
    EXPECT_EQ(interpreter::Module().strSelectedPictures,
              yes ? std::vector<std::string>{"Pump"} : std::vector<std::string>{"Old"});
    EXPECT_EQ(interpreter::Module().intStartLangNum, yes ? 3 : 7);
  }
}

TEST_F(PictureSelectionFormTest, EmptyListOkDoesNothingAndCancelLowersTheFlag) {
  PictureSelectionForm form(Kind::UpdateDictionary);
  form.Form_Load();
  form.cmdCheckAll_Click();
  form.cmdUpdateDictionary_Click();
  EXPECT_FALSE(form.closed);
  EXPECT_EQ(form.lstPicListIndex, -1);
  EXPECT_THAT(TakeMessages(), IsEmpty());
  form.cmdCancel_Click();
  EXPECT_TRUE(form.closed);
  EXPECT_FALSE(interpreter::Module().blnMaintenanceRunning);
}

TEST_F(PictureSelectionFormTest, FailuresAreReportedUnderTheDialogAndTheEvent) {
  // A text that is no number can be pasted in; Ok then fails.
  PictureSelectionForm update = Loaded();
  update.lstPicList[0].selected = true;
  update.txtLangNum = "x";
  update.cmdUpdateDictionary_Click();
  EXPECT_FALSE(update.closed);

  test_env_->fail_listing = true;
  PictureSelectionForm change(Kind::ChangeDevLang);
  change.Form_Load();
  EXPECT_THAT(change.lstPicList, IsEmpty());

  const std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_THAT(lines[0], HasSubstr(";frmUpdateDictionary;cmdUpdateDictionary_Click;"));
  EXPECT_THAT(lines[1], HasSubstr(";frmChangeDevLang;Form_Load;listing "));
  EXPECT_EQ(TakeMessages().size(), 2u);
}

}  // namespace
}  // namespace vt::maintenance::testing
