// TranslatePicture on real pictures of the host's workspace.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "host/pictures/documents.h"
#include "library/interpreter/session.h"
#include "platform/automation/runtime.h"
#include "platform/ui/backend.h"
#include "platform/workbook/workbook.h"
#include "tests/pictures/pictures_fixture.h"
#include "tests/support/temp_dir.h"

namespace vt::pictures::testing {
namespace {

using automation::Variant;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const Rows kPictureDictionary = {
    {"Boiler overview", "Kesselübersicht", "Vue chaudière"},
    {"Start", "Starten", "Démarrer"},
    {"Starts the feed pump", "Startet die Speisepumpe", "Démarre la pompe"},
};

Json BoilerPicture(Json comments = "") {
  return Picture(
      {Text("txtTitle", "Boiler overview"), Button("cmdStart", "Start", "Starts the feed pump")},
      std::move(comments));
}

class TranslatePictureTest : public PictureTest {
 protected:
  void SetUp() override {
    PictureTest::SetUp();
    WriteDictionary(kPictureDictionary);
  }
};

TEST_F(TranslatePictureTest, MarkerMovesFromEmptyToTargetAndStaysOnASecondCall) {
  WritePicture("Main.grf", BoilerPicture());
  auto module = CreateReady();

  TranslatePicture(*module, "Main", 2);
  EXPECT_EQ(MarkerOf("Main").ToString(), "2");
  EXPECT_EQ(MarkerOf("Main").type(), automation::VarType::Integer);
  EXPECT_EQ(CaptionIn("Main", "txtTitle"), "Kesselübersicht");
  EXPECT_EQ(CaptionIn("Main", "cmdStart"), "Starten");
  EXPECT_EQ(Property(FindObject(PageOf("Main"), "cmdStart"), "Description"),
            "Startet die Speisepumpe");
  EXPECT_THAT(TakeMessages(), IsEmpty());

  // Already in 2: the texts are not looked up again (they would not be found
  // in Language_1 any more and would be appended).
  TranslatePicture(*module, "Main", 2);
  EXPECT_EQ(MarkerOf("Main").ToString(), "2");
  EXPECT_EQ(CaptionIn("Main", "txtTitle"), "Kesselübersicht");
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_EQ(DictionaryRows(), kPictureDictionary);
}

TEST_F(TranslatePictureTest, TranslatesOnFromTheMarkedLanguage) {
  WritePicture("Main.grf", BoilerPicture());
  auto module = CreateReady();
  TranslatePicture(*module, "Main", 2);
  TranslatePicture(*module, "Main", 3);
  EXPECT_EQ(MarkerOf("Main").ToString(), "3");
  EXPECT_EQ(CaptionIn("Main", "txtTitle"), "Vue chaudière");
  TranslatePicture(*module, "Main", 1);
  EXPECT_EQ(MarkerOf("Main").ToString(), "1");
  EXPECT_EQ(CaptionIn("Main", "cmdStart"), "Start");
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_EQ(DictionaryRows(), kPictureDictionary);
}

TEST_F(TranslatePictureTest, TargetEqualToTheDevelopmentLanguageChangesNothing) {
  // An empty marker is the development language, which is also GlobalLangNum.
  WritePicture("Main.grf", Picture({Text("txtNew", "Not in the dictionary")}));
  auto module = CreateReady();
  TranslatePicture(*module, "Main");
  TranslatePicture(*module, "Main", 1);
  EXPECT_EQ(MarkerOf("Main").ToString(), "");
  EXPECT_EQ(CaptionIn("Main", "txtNew"), "Not in the dictionary");
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_EQ(DictionaryRows(), kPictureDictionary);
}

TEST_F(TranslatePictureTest, NonNumericMarkerCountsAsTheDevelopmentLanguage) {
  WritePicture("Main.grf", BoilerPicture("Deutsch"));
  auto module = CreateReady();
  TranslatePicture(*module, "Main", 2);
  EXPECT_EQ(MarkerOf("Main").ToString(), "2");
  EXPECT_EQ(CaptionIn("Main", "txtTitle"), "Kesselübersicht");
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

TEST_F(TranslatePictureTest, NumericTextMarkerIsTheCurrentLanguage) {
  WritePicture("Main.grf", Picture({Text("txtTitle", "Kesselübersicht")}, "2"));
  auto module = CreateReady();
  TranslatePicture(*module, "Main", 3);
  EXPECT_EQ(CaptionIn("Main", "txtTitle"), "Vue chaudière");
  EXPECT_EQ(MarkerOf("Main").ToString(), "3");
}

TEST_F(TranslatePictureTest, ExtensionInAnyCaseIsCutOffTheCallersName) {
  WritePicture("MAIN.grf", BoilerPicture());
  WritePicture("Main.grf", BoilerPicture());
  auto module = CreateReady();

  std::string strName = "MAIN.GRF";
  std::int16_t intLanguage = 2;
  std::string strUser;
  module->TranslatePicture(strName, intLanguage, strUser);
  EXPECT_EQ(strName, "MAIN");
  ASSERT_NE(workspace_->documents().Find("MAIN"), nullptr);
  EXPECT_EQ(workspace_->documents().Find("MAIN")->path(), (pictures() / "MAIN.grf").string());
  EXPECT_EQ(CaptionIn("MAIN", "txtTitle"), "Kesselübersicht");
  EXPECT_EQ(workspace_->documents().Find("Main"), nullptr);

  strName = "Main";
  module->TranslatePicture(strName, intLanguage, strUser);
  EXPECT_EQ(strName, "Main");
  EXPECT_EQ(CaptionIn("Main", "txtTitle"), "Kesselübersicht");

  // Through late binding the caller's variable changes too.
  WritePicture("Other.grf", BoilerPicture());
  std::vector<Variant> args{Variant("Other.Grf"), Variant(std::int16_t{3}), Variant("")};
  automation::Call(module, "TranslatePicture", args);
  EXPECT_EQ(args[0].ToString(), "Other");
  EXPECT_EQ(CaptionIn("Other", "txtTitle"), "Vue chaudière");
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

TEST_F(TranslatePictureTest, TargetFallsBackFromNumberToUserToGlobalLangNum) {
  for (const char* name : {"Global", "User", "Unknown", "Number"}) {
    WritePicture(std::string(name) + ".grf", BoilerPicture());
  }
  auto module = CreateReady();
  module->put_GlobalLangNum(2);

  TranslatePicture(*module, "Global");
  TranslatePicture(*module, "User", 0, "OPERATOR");
  TranslatePicture(*module, "Unknown", 0, "VISITOR");
  TranslatePicture(*module, "Number", 1, "OPERATOR");

  EXPECT_EQ(MarkerOf("Global").ToString(), "2");
  EXPECT_EQ(CaptionIn("Global", "txtTitle"), "Kesselübersicht");
  EXPECT_EQ(MarkerOf("User").ToString(), "3");
  EXPECT_EQ(CaptionIn("User", "txtTitle"), "Vue chaudière");
  EXPECT_EQ(MarkerOf("Unknown").ToString(), "2");
  // The number wins over the user: 1 is the development language already.
  EXPECT_EQ(MarkerOf("Number").ToString(), "");
  EXPECT_EQ(CaptionIn("Number", "txtTitle"), "Boiler overview");
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

TEST_F(TranslatePictureTest, TwoMissingTextsGiveOneMessageAndAreAppendedUnderTheCurrentLanguage) {
  WritePicture("Main.grf",
               Picture({Text("txtA", " Feed valve  "), Text("txtTitle", "Boiler overview"),
                        Button("cmdB", "Drain", "")}));
  auto module = CreateReady();
  TranslatePicture(*module, "Main", 2);

  EXPECT_EQ(CaptionIn("Main", "txtA"), " Feed valve  ");
  EXPECT_EQ(CaptionIn("Main", "cmdB"), "Drain");
  EXPECT_EQ(CaptionIn("Main", "txtTitle"), "Kesselübersicht");
  ExpectOneWarning(CannotFindText(1, 2, dictionary_text()));
  Rows expected = kPictureDictionary;
  expected.push_back({"Feed valve", "", ""});
  expected.push_back({"Drain", "", ""});
  EXPECT_EQ(DictionaryRows(), expected);
  EXPECT_EQ(DictionaryRowsByXlrd(), expected);
  EXPECT_TRUE(session_.run.blnMissingTranslationsFound);
}

TEST_F(TranslatePictureTest, MissingTextsOfAPictureInAnotherLanguageGoUnderThatColumn) {
  WritePicture("Main.grf",
               Picture({Text("txtTitle", "Kesselübersicht"), Text("txtNew", "Neu")}, 2));
  auto module = CreateReady();
  TranslatePicture(*module, "Main", 3);
  EXPECT_EQ(CaptionIn("Main", "txtTitle"), "Vue chaudière");
  EXPECT_EQ(CaptionIn("Main", "txtNew"), "Neu");
  ExpectOneWarning(CannotFindText(2, 3, dictionary_text()));
  Rows expected = kPictureDictionary;
  expected.push_back({"", "Neu", ""});
  EXPECT_EQ(DictionaryRows(), expected);
}

TEST_F(TranslatePictureTest, PictureInAnotherLanguageIsRefusedAfterAnyMissingTranslation) {
  WritePicture("First.grf", Picture({Text("txtNew", "Unknown text")}));
  WritePicture("Second.grf", Picture({Text("txtTitle", "Kesselübersicht")}, 2));
  WritePicture("Third.grf", BoilerPicture());
  auto module = CreateReady();

  TranslatePicture(*module, "First", 2);
  EXPECT_EQ(TakeMessages().size(), 1u);

  TranslatePicture(*module, "Second.grf", 1);
  EXPECT_EQ(MarkerOf("Second").ToString(), "2");
  EXPECT_EQ(CaptionIn("Second", "txtTitle"), "Kesselübersicht");
  ExpectOneWarning(
      "Before translating the picture \"Second\" from the Language_2 to the Language_1\r\n"
      "you must insert all the missing translations in the interpreter file \"" +
      pictures().string() + "/Veltrano/Veltrano.xls\" .");

  // A picture in the development language still can be translated.
  TranslatePicture(*module, "Third", 3);
  EXPECT_EQ(CaptionIn("Third", "txtTitle"), "Vue chaudière");
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

TEST_F(TranslatePictureTest, MissingTranslationInAFormAlsoBlocksPicturesInAnotherLanguage) {
  WritePicture("Second.grf", Picture({Text("txtTitle", "Kesselübersicht")}, 2));
  auto form = host::forms::UserForm::Load(
      WriteForm("frmA.frm.json", Form("frmA", "Unknown form title", "", Json::array())).string());
  auto module = CreateReady();
  TranslateForm(*module, form, 2);
  EXPECT_EQ(TakeMessages().size(), 1u);

  TranslatePicture(*module, "Second", 3);
  EXPECT_EQ(MarkerOf("Second").ToString(), "2");
  EXPECT_EQ(CaptionIn("Second", "txtTitle"), "Kesselübersicht");
  ExpectOneWarning(BeforeTranslatingText("picture", "Second", 2, 3, dictionary_text()));
}

TEST_F(TranslatePictureTest, EmptyTargetCellCountsAsMissing) {
  WriteDictionary({{"Boiler overview", "", "Vue chaudière"}});
  WritePicture("Main.grf", Picture({Text("txtTitle", "Boiler overview")}));
  auto module = CreateReady();
  TranslatePicture(*module, "Main", 2);
  EXPECT_EQ(CaptionIn("Main", "txtTitle"), "Boiler overview");
  EXPECT_EQ(MarkerOf("Main").ToString(), "2");
  ExpectOneWarning(CannotFindText(1, 2, dictionary_text()));
  // Found, so nothing appended.
  EXPECT_EQ(DictionaryRows().size(), 1u);
}

// `groups` groups, each inside the previous one, the outermost on the page.
Json Nested(int groups, Json innermost) {
  Json members = Json::array({std::move(innermost)});
  for (int level = groups; level >= 1; --level) {
    members = Json::array({Group("grpLevel" + std::to_string(level), std::move(members))});
  }
  return members;
}

TEST_F(TranslatePictureTest, TextInsideNineNestedGroupsIsTranslatedInsideTenItIsNot) {
  WritePicture("Nine.grf", Picture(Nested(9, Text("txtDeep", "Start"))));
  WritePicture("Ten.grf", Picture(Nested(10, Text("txtDeep", "Start"))));
  auto module = CreateReady();
  TranslatePicture(*module, "Nine", 2);
  TranslatePicture(*module, "Ten", 2);
  EXPECT_EQ(CaptionIn("Nine", "txtDeep"), "Starten");
  EXPECT_EQ(CaptionIn("Ten", "txtDeep"), "Start");
  EXPECT_EQ(MarkerOf("Ten").ToString(), "2");
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_EQ(DictionaryRows(), kPictureDictionary);
}

TEST_F(TranslatePictureTest, GroupMembersAreTranslatedInPlaceBeforeTheNextSibling) {
  // Missing texts are appended in walk order, which shows depth first.
  WritePicture(
      "Main.grf",
      Picture({Text("txtA", "A"),
               Group("grpOuter", {Text("txtB", "B"), Group("grpInner", {Text("txtC", "C")}),
                                  Text("txtD", "D")}),
               Text("txtE", "E")}));
  auto module = CreateReady();
  TranslatePicture(*module, "Main", 2);
  Rows expected = kPictureDictionary;
  for (const char* text : {"A", "B", "C", "D", "E"}) expected.push_back({text, "", ""});
  EXPECT_EQ(DictionaryRows(), expected);
  EXPECT_EQ(TakeMessages().size(), 1u);
}

TEST_F(TranslatePictureTest, MissingPictureGivesOneErrorReportAndChangesNothing) {
  WritePicture("Main.grf", BoilerPicture());
  auto module = CreateReady();
  TranslatePicture(*module, "Nowhere", 2);

  const auto messages = TakeMessages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].style, 16);
  EXPECT_EQ(messages[0].title, " Veltrano - WARNING");
  EXPECT_THAT(messages[0].text, HasSubstr("\r\nProcedure: TranslatePicture\r\n"));
  const auto log = LogLines();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_THAT(log[0], HasSubstr(";VeltranoModule;TranslatePicture;"));
  EXPECT_THAT(log[0], HasSubstr("Nowhere.grf"));
  EXPECT_TRUE(workspace_->documents().open().empty());
  EXPECT_EQ(DictionaryRows(), kPictureDictionary);
}

TEST_F(TranslatePictureTest, MarkerBeyondTheIntegerRangeIsReportedAndTheTextsStay) {
  WritePicture("Main.grf", BoilerPicture(40000));
  auto module = CreateReady();
  TranslatePicture(*module, "Main", 2);
  EXPECT_EQ(CaptionIn("Main", "txtTitle"), "Boiler overview");
  EXPECT_EQ(MarkerOf("Main").ToLong(), 40000);
  const auto log = LogLines();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_THAT(log[0], HasSubstr(";VeltranoModule;TranslatePicture;"));
}

TEST_F(TranslatePictureTest, WarningsOffShowsNeitherMessage) {
  WriteIni({{"ShowWarningsForMissingTranslations", "N"}});
  WritePicture("First.grf", Picture({Text("txtNew", "Unknown text")}));
  WritePicture("Second.grf", Picture({Text("txtTitle", "Kesselübersicht")}, 2));
  auto module = CreateReady();

  TranslatePicture(*module, "First", 2);
  TranslatePicture(*module, "Second", 1);
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_EQ(DictionaryRows().back(), (std::vector<std::string>{"Unknown text", "", ""}));
  // Refused all the same.
  EXPECT_EQ(MarkerOf("Second").ToString(), "2");
}

TEST_F(TranslatePictureTest, DisabledObjectOpensNothing) {
  WriteIni({{"InterpreterEnabled", "N"}});
  WritePicture("Main.grf", BoilerPicture());
  interpreter::VeltranoModule module(session_);
  EXPECT_EQ(module.lifecycle(), interpreter::Lifecycle::Disabled);
  std::string name = "Main.grf";
  std::int16_t language = 2;
  std::string user;
  module.TranslatePicture(name, language, user);
  EXPECT_TRUE(workspace_->documents().open().empty());
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

// Counts the event pumps; message boxes answer OK.
class PumpCounter : public ui::Backend {
 public:
  std::string_view Name() const override { return "pump counter"; }
  ui::Answer ShowMessage(const ui::MessageRequest&) override { return ui::Answer::Ok; }
  void DoEvents() override { ++pumped; }
  void RestoreDefaultMousePointer() override {}
  int pumped = 0;
};

class MaintenanceTest : public TranslatePictureTest {
 protected:
  void TearDown() override {
    session_.run.blnMaintenanceRunning = false;
    TranslatePictureTest::TearDown();
  }
};

TEST_F(MaintenanceTest, FirstPassClosesWithoutSavingAndSilencesTheCannotFindMessage) {
  WritePicture("Main.grf", Picture({Text("txtTitle", "Boiler overview"), Text("txtNew", "New")}));
  const std::string before = [&] {
    std::ifstream in(pictures() / "Main.grf", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();
  auto module = CreateReady();
  PumpCounter pumps;
  ui::ScopedBackend scope(pumps);
  session_.run.blnMaintenanceRunning = true;

  TranslatePicture(*module, "Main", 2);

  EXPECT_TRUE(workspace_->documents().open().empty());
  std::ifstream in(pictures() / "Main.grf", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), before);
  EXPECT_EQ(pumps.pumped, 1);
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_EQ(DictionaryRows().back(), (std::vector<std::string>{"New", "", ""}));
  EXPECT_TRUE(module->MissingTranslations());
}

TEST_F(MaintenanceTest, SecondPassOfTheLanguageChangeSavesThePicture) {
  WritePicture("Main.grf", BoilerPicture());
  auto module = CreateReady();
  session_.run.blnMaintenanceRunning = true;
  session_.run.blnDevLangSecondPass = true;

  TranslatePicture(*module, "Main", 3);

  EXPECT_TRUE(workspace_->documents().open().empty());
  const Json saved = Json::parse(std::ifstream(pictures() / "Main.grf"));
  EXPECT_EQ(saved.at("Comments"), 3);
  EXPECT_EQ(saved.at("ContainedObjects").at(0).at("Caption"), "Vue chaudière");
  EXPECT_EQ(saved.at("ContainedObjects").at(1).at("Description"), "Démarre la pompe");
}

TEST_F(MaintenanceTest, ClosesAPictureItDidNotTranslateAndStillShowsTheRefusal) {
  WritePicture("First.grf", Picture({Text("txtNew", "Unknown text")}));
  WritePicture("Second.grf", Picture({Text("txtTitle", "Kesselübersicht")}, 2));
  WritePicture("Same.grf", BoilerPicture(2));
  auto module = CreateReady();
  session_.run.blnMaintenanceRunning = true;

  TranslatePicture(*module, "First", 2);
  TranslatePicture(*module, "Second", 1);
  TranslatePicture(*module, "Same", 2);

  EXPECT_TRUE(workspace_->documents().open().empty());
  ExpectOneWarning(BeforeTranslatingText("picture", "Second", 2, 1, dictionary_text()));
}

// The real documents, each wrapped so that the arguments of Close are seen.
class ClosingDocument : public automation::DispatchObject {
 public:
  ClosingDocument(automation::ObjectRef document, std::vector<std::vector<Variant>>& closes) {
    AddProperty("Page",
                [document](std::span<Variant>) { return automation::Get(document, "Page"); });
    AddMethod("Close", [document, &closes](std::span<Variant> args) {
      closes.emplace_back(args.begin(), args.end());
      return automation::Call(document, "Close", args);
    });
  }
  std::string TypeName() const override { return "Document"; }
};

class ClosingWorkspace : public automation::DispatchObject {
 public:
  explicit ClosingWorkspace(std::shared_ptr<host::Workspace> workspace)
      : documents_(std::make_shared<Documents>(workspace, closes)) {
    AddProperty("System",
                [workspace](std::span<Variant>) { return automation::Get(workspace, "System"); });
    AddProperty("Documents", [this](std::span<Variant>) { return Variant(documents_); });
  }
  std::string TypeName() const override { return "Application"; }

  std::vector<std::vector<Variant>> closes;

 private:
  class Documents : public automation::DispatchObject {
   public:
    Documents(std::shared_ptr<host::Workspace> workspace,
              std::vector<std::vector<Variant>>& closes) {
      AddMethod("Open", [workspace, &closes](std::span<Variant> args) {
        const automation::ObjectRef real =
            automation::Call(automation::Get(workspace, "Documents").ToObject(), "Open", args)
                .ToObject();
        return Variant(std::make_shared<ClosingDocument>(real, closes));
      });
    }
    std::string TypeName() const override { return "Documents"; }
  };
  automation::ObjectRef documents_;
};

TEST_F(MaintenanceTest, CloseGetsTheCodeAndOneAlsoAfterAFailure) {
  WritePicture("Main.grf", BoilerPicture());
  WritePicture("Broken.grf", BoilerPicture(40000));
  auto closing = std::make_shared<ClosingWorkspace>(workspace_);
  automation::RegisterActiveObject("Workspace.Application", closing);
  auto module = CreateReady();
  session_.run.blnMaintenanceRunning = true;

  TranslatePicture(*module, "Main", 2);
  TranslatePicture(*module, "Broken", 2);
  session_.run.blnDevLangSecondPass = true;
  TranslatePicture(*module, "Main", 3);

  ASSERT_EQ(closing->closes.size(), 3u);
  const std::int16_t codes[] = {2, 2, 1};
  for (std::size_t i = 0; i < 3; ++i) {
    ASSERT_EQ(closing->closes[i].size(), 2u);
    EXPECT_EQ(closing->closes[i][0].type(), automation::VarType::Integer);
    EXPECT_EQ(closing->closes[i][0].ToInteger(), codes[i]) << i;
    EXPECT_EQ(closing->closes[i][1].ToInteger(), 1) << i;
  }
  EXPECT_TRUE(workspace_->documents().open().empty());
  ASSERT_EQ(LogLines().size(), 1u);
  EXPECT_THAT(LogLines()[0], HasSubstr(";VeltranoModule;TranslatePicture;"));
  // The first pass left the file as it was, so the second starts from 1.
  const Json saved = Json::parse(std::ifstream(pictures() / "Main.grf"));
  EXPECT_EQ(saved.at("Comments"), 3);
  EXPECT_EQ(saved.at("ContainedObjects").at(0).at("Caption"), "Vue chaudière");
}

TEST_F(MaintenanceTest, MissingPictureIsReportedAndNothingIsClosed) {
  WritePicture("Main.grf", BoilerPicture());
  Open("Main");
  auto module = CreateReady();
  session_.run.blnMaintenanceRunning = true;
  TranslatePicture(*module, "Nowhere", 2);
  EXPECT_EQ(LogLines().size(), 1u);
  EXPECT_EQ(workspace_->documents().open().size(), 1u);
}

TEST_F(TranslatePictureTest, OutsideMaintenanceThePictureStaysOpenAndItsFileUnchanged) {
  WritePicture("Main.grf", BoilerPicture());
  auto module = CreateReady();
  TranslatePicture(*module, "Main", 2);
  ASSERT_EQ(workspace_->documents().open().size(), 1u);
  EXPECT_TRUE(workspace_->documents().open()[0]->is_open());
  const Json saved = Json::parse(std::ifstream(pictures() / "Main.grf"));
  EXPECT_EQ(saved.at("Comments"), "");
}

TEST_F(TranslatePictureTest, NamesThatLeaveThePicturesFolderAreRefusedBeforeOpening) {
  // A picture beside the pictures folder that a save must never reach.
  const std::string outside = Picture({Text("txtTitle", "Boiler overview")}).dump();
  vt::testing::WriteFile(dir() / "Outside.grf", outside);
  auto module = CreateReady();
  for (const std::string& name :
       std::vector<std::string>{"../Outside", "..\\Outside", std::string("Main\0x", 6)}) {
    TranslatePicture(*module, name, 2);
    const auto lines = LogLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_THAT(lines.back(),
                HasSubstr(";VeltranoModule;TranslatePicture;Bad file name or number"));
  }
  EXPECT_EQ(LogLines().size(), 3u);
  EXPECT_TRUE(workspace_->documents().open().empty());
  EXPECT_EQ(vt::testing::ReadFile(dir() / "Outside.grf"), outside);
}

TEST_F(TranslatePictureTest, UpperCaseExtensionOnDiskIsTheSamePicture) {
  WritePicture("Up.GRF", BoilerPicture());
  auto module = CreateReady();
  TranslatePicture(*module, "Up", 2);
  ASSERT_EQ(workspace_->documents().open().size(), 1u);
  EXPECT_EQ(workspace_->documents().open()[0]->name(), "Up");
  EXPECT_EQ(CaptionIn("Up", "cmdStart"), "Starten");
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(TranslatePictureTest, AFullDictionaryIsReportedOncePerCall) {
  {
    auto book = workbook::Workbook::Open(dictionary_path());
    book.FindSheet("Dictionary")->SetCellText(workbook::kMaxRows - 1, 0, "last row");
    book.Save();
  }
  WritePicture("Main.grf", Picture({Text("txtA", "New one"), Text("txtB", "New two"),
                                    Group("grp", {Text("txtC", "New three")})}));
  auto module = CreateReady();
  TranslatePicture(*module, "Main", 2);
  ASSERT_EQ(LogLines().size(), 1u);
  EXPECT_THAT(LogLines()[0], HasSubstr("65,536 rows"));
  EXPECT_EQ(CaptionIn("Main", "txtC"), "New three");  // texts stay as they were
  TakeMessages();
  // The next call tells it again, once.
  TranslatePicture(*module, "Main", 3);
  EXPECT_EQ(LogLines().size(), 2u);
}

}  // namespace
}  // namespace vt::pictures::testing
