// TranslatePictureObject through the picture walk: types, prefix filter and
// the language-bound alarm summaries.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "host/pictures/documents.h"
#include "platform/automation/runtime.h"
#include "tests/pictures/pictures_fixture.h"

namespace vt::pictures::testing {
namespace {

using ::testing::IsEmpty;

const Rows kObjectDictionary = {
    {"Title", "Titel", "Titre"},
    {"Start", "Starten", "Démarrer"},
    {"Starts the pump", "Startet die Pumpe", "Démarre la pompe"},
};

class PictureObjectTest : public PictureTest {
 protected:
  void SetUp() override {
    PictureTest::SetUp();
    WriteDictionary(kObjectDictionary);
  }

  bool VisibleIn(const std::string& picture, const std::string& name) {
    return automation::Get(FindObject(PageOf(picture), name), "Visible").ToBoolean();
  }
};

Json AlarmPicture() {
  return Picture({Alarm("AlarmSummary1", "Language_1"), Alarm("AlarmSummary2", "Language_2", false),
                  Alarm("AlarmSummary3", "Language_3"), Alarm("almPlain", "Alarms", false),
                  Alarm("almMain", "Language_2 main"), Alarm("almLower", "language_2"),
                  Alarm("almEmbedded", "See Language_2")});
}

TEST_F(PictureObjectTest, OnlyTheAlarmSummaryOfTheTargetLanguageIsShown) {
  WritePicture("Two.grf", AlarmPicture());
  WritePicture("Four.grf", AlarmPicture());
  auto module = CreateReady();
  TranslatePicture(*module, "Two", 2);
  TranslatePicture(*module, "Four", 4);

  EXPECT_FALSE(VisibleIn("Two", "AlarmSummary1"));
  EXPECT_TRUE(VisibleIn("Two", "AlarmSummary2"));
  EXPECT_FALSE(VisibleIn("Two", "AlarmSummary3"));
  for (const char* name : {"AlarmSummary1", "AlarmSummary2", "AlarmSummary3"}) {
    EXPECT_FALSE(VisibleIn("Four", name)) << name;
  }
  for (const char* picture : {"Two", "Four"}) {
    // Not bound to a language: left as they were.
    EXPECT_FALSE(VisibleIn(picture, "almPlain"));
    EXPECT_TRUE(VisibleIn(picture, "almLower"));
    // Bound, but to no language exactly: hidden for every target.
    EXPECT_FALSE(VisibleIn(picture, "almMain"));
    EXPECT_FALSE(VisibleIn(picture, "almEmbedded"));
  }
  // Descriptions are neither translated nor looked up.
  EXPECT_EQ(Property(FindObject(PageOf("Two"), "AlarmSummary2"), "Description"), "Language_2");
  EXPECT_EQ(DictionaryRows(), kObjectDictionary);
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

TEST_F(PictureObjectTest, ButtonCaptionThenDescriptionAreLookedUpAndAppended) {
  WritePicture("Main.grf", Picture({Button("cmdStart", "Start", "Starts the pump"),
                                    Button("cmdStop", "Stop", "Stops the pump")}));
  auto module = CreateReady();
  TranslatePicture(*module, "Main", 2);
  const auto start = FindObject(PageOf("Main"), "cmdStart");
  EXPECT_EQ(Property(start, "Caption"), "Starten");
  EXPECT_EQ(Property(start, "Description"), "Startet die Pumpe");
  Rows expected = kObjectDictionary;
  expected.push_back({"Stop", "", ""});
  expected.push_back({"Stops the pump", "", ""});
  EXPECT_EQ(DictionaryRows(), expected);
}

TEST_F(PictureObjectTest, BlankCaptionsStayAndAreNotAppended) {
  WritePicture("Main.grf", Picture({Text("txtEmpty", ""), Text("txtBlank", "   "),
                                    Button("cmdNoTip", "Start", "")}));
  auto module = CreateReady();
  TranslatePicture(*module, "Main", 2);
  EXPECT_EQ(CaptionIn("Main", "txtEmpty"), "");
  EXPECT_EQ(CaptionIn("Main", "txtBlank"), "   ");
  EXPECT_EQ(CaptionIn("Main", "cmdNoTip"), "Starten");
  EXPECT_EQ(DictionaryRows(), kObjectDictionary);
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

TEST_F(PictureObjectTest, OuterBlanksOfACaptionAreKeptAroundTheTranslation) {
  WritePicture("Main.grf", Picture({Text("txtTitle", "  Title ")}));
  auto module = CreateReady();
  TranslatePicture(*module, "Main", 3);
  EXPECT_EQ(CaptionIn("Main", "txtTitle"), "  Titre ");
}

TEST_F(PictureObjectTest, UnlistedTypesAreLeftAloneAndKeepEveryKey) {
  Json chart = {{"TypeName", "Fix2DChart"},
                {"Name", "chtFlow"},
                {"Caption", "Start"},
                {"Description", "Title"},
                {"Pens", 3}};
  Json text_lower = {{"TypeName", "fix2dtext"}, {"Name", "txtLower"}, {"Caption", "Title"}};
  WritePicture("Main.grf", Picture({chart, text_lower}));
  auto module = CreateReady();
  TranslatePicture(*module, "Main", 2);
  EXPECT_EQ(CaptionIn("Main", "chtFlow"), "Start");
  EXPECT_EQ(CaptionIn("Main", "txtLower"), "Title");
  EXPECT_EQ(MarkerOf("Main").ToString(), "2");
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_EQ(DictionaryRows(), kObjectDictionary);
  workspace_->documents().Find("Main")->Close(host::pictures::CloseCode::Save);
  const Json saved = Json::parse(std::ifstream(pictures() / "Main.grf"));
  EXPECT_EQ(saved.at("ContainedObjects").at(0), chart);
}

TEST_F(PictureObjectTest, PrefixFilterSkipsObjectsWhoseNameDiffersCaseSensitively) {
  WriteIni({{"GetObjectsPrefix", "Y"}, {"ObjectsTargetPrefix", "txt"}});
  WritePicture("Main.grf", Picture({Text("txtTitle", "Title"), Text("Text1", "Title"),
                                    Text("TXTUpper", "Title"), Text("tx", "Title"),
                                    Button("cmdStart", "Start", "Starts the pump"),
                                    Alarm("AlarmSummary1", "Language_1"),
                                    // Groups are entered whatever their name.
                                    Group("grpPump", {Text("txtInGroup", "Start")})}));
  auto module = CreateReady();
  ASSERT_TRUE(module->get_GetObjectsPrefix());
  TranslatePicture(*module, "Main", 2);

  EXPECT_EQ(CaptionIn("Main", "txtTitle"), "Titel");
  EXPECT_EQ(CaptionIn("Main", "txtInGroup"), "Starten");
  EXPECT_EQ(CaptionIn("Main", "Text1"), "Title");
  EXPECT_EQ(CaptionIn("Main", "TXTUpper"), "Title");
  EXPECT_EQ(CaptionIn("Main", "tx"), "Title");
  EXPECT_EQ(CaptionIn("Main", "cmdStart"), "Start");
  EXPECT_TRUE(automation::Get(FindObject(PageOf("Main"), "AlarmSummary1"), "Visible").ToBoolean());
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

TEST_F(PictureObjectTest, PrefixSwitchedOffByTheCallerHandlesEveryObject) {
  WriteIni({{"GetObjectsPrefix", "Y"}, {"ObjectsTargetPrefix", "txt"}});
  WritePicture("Main.grf", Picture({Text("Text1", "Title"), Button("cmdStart", "Start", ""),
                                    Alarm("AlarmSummary1", "Language_1")}));
  auto module = CreateReady();
  automation::Put(module, "GetObjectsPrefix", automation::Variant(false));
  TranslatePicture(*module, "Main", 2);
  EXPECT_EQ(CaptionIn("Main", "Text1"), "Titel");
  EXPECT_EQ(CaptionIn("Main", "cmdStart"), "Starten");
  EXPECT_FALSE(automation::Get(FindObject(PageOf("Main"), "AlarmSummary1"), "Visible").ToBoolean());
}

TEST_F(PictureObjectTest, PrefixIsComparedInCharactersNotBytes) {
  WriteIni({{"GetObjectsPrefix", "Y"}, {"ObjectsTargetPrefix", "äb"}});
  WritePicture("Main.grf", Picture({Text("äbTitle", "Title"), Text("äcTitle", "Title"),
                                    Text("abTitle", "Title")}));
  auto module = CreateReady();
  TranslatePicture(*module, "Main", 2);
  EXPECT_EQ(CaptionIn("Main", "äbTitle"), "Titel");
  EXPECT_EQ(CaptionIn("Main", "äcTitle"), "Title");
  EXPECT_EQ(CaptionIn("Main", "abTitle"), "Title");
}

TEST_F(PictureObjectTest, EmptyPrefixLetsEveryObjectPass) {
  WriteIni({{"GetObjectsPrefix", "Y"}, {"ObjectsTargetPrefix", ""}});
  WritePicture("Main.grf", Picture({Text("Text1", "Title")}));
  auto module = CreateReady();
  TranslatePicture(*module, "Main", 2);
  EXPECT_EQ(CaptionIn("Main", "Text1"), "Titel");
}

}  // namespace
}  // namespace vt::pictures::testing
