// TranslateAll over the workspace's open pictures and given forms, and the
// markers that TranslateString and TranslateAlarmsRecordset read.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>

#include "host/collection.h"
#include "host/pictures/documents.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "platform/data/csv.h"
#include "tests/pictures/pictures_fixture.h"

namespace vt::pictures::testing {
namespace {

using automation::Variant;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const Rows kAllDictionary = {
    {"Title", "Titel", "Titre"},
    {"Login", "Anmeldung", "Connexion"},
};

// A document of another kind than a picture.
class ScheduleDocument : public automation::DispatchObject {
 public:
  explicit ScheduleDocument(std::string name) {
    AddProperty("Type", [](std::span<Variant>) { return Variant("FIX.Schedule"); });
    AddProperty("Name", [name](std::span<Variant>) { return Variant(name); });
  }
  std::string TypeName() const override { return "Document"; }
};

// The real workspace's documents, with one document of another type among
// them, counting the pictures the library opens.
class MixedDocuments : public automation::DispatchObject {
 public:
  MixedDocuments(std::shared_ptr<host::Workspace> workspace, automation::ObjectRef other)
      : workspace_(std::move(workspace)), other_(std::move(other)) {
    AddMethod("Open", [this](std::span<Variant> args) {
      if (args.size() != 2) throw automation::errors::InvalidCall("Open takes a path and a mode");
      opened.push_back(args[0].ToString());
      modes.push_back(args[1]);
      return Variant(workspace_->documents().Open(args[0].ToString()));
    });
  }
  std::string TypeName() const override { return "Documents"; }
  std::vector<Variant> Enumerate() override {
    std::vector<Variant> items;
    for (const auto& document : workspace_->documents().open()) {
      items.emplace_back(document);
      if (items.size() == 1) items.emplace_back(other_);
    }
    return items;
  }

  std::vector<std::string> opened;
  std::vector<Variant> modes;

 private:
  std::shared_ptr<host::Workspace> workspace_;
  automation::ObjectRef other_;
};

// The real workspace's System, with MixedDocuments as its Documents.
class MixedWorkspace : public automation::DispatchObject {
 public:
  MixedWorkspace(std::shared_ptr<host::Workspace> workspace, automation::ObjectRef other)
      : system_(automation::Get(workspace, "System").ToObject()),
        documents(std::make_shared<MixedDocuments>(std::move(workspace), std::move(other))) {
    AddProperty("System", [this](std::span<Variant>) { return Variant(system_); });
    AddProperty("Documents", [this](std::span<Variant>) { return Variant(documents); });
  }
  std::string TypeName() const override { return "Application"; }

 private:
  automation::ObjectRef system_;

 public:
  std::shared_ptr<MixedDocuments> documents;
};

class TranslateAllTest : public PictureTest {
 protected:
  void SetUp() override {
    PictureTest::SetUp();
    WriteDictionary(kAllDictionary);
  }

  // Puts the workspace with a schedule document in place of the plain one.
  std::shared_ptr<MixedWorkspace> UseMixedWorkspace() {
    auto mixed =
        std::make_shared<MixedWorkspace>(workspace_, std::make_shared<ScheduleDocument>("First"));
    automation::RegisterActiveObject("Workspace.Application", mixed);
    return mixed;
  }

  std::shared_ptr<host::forms::UserForm> LoadForm(const Json& form) {
    const std::string name = form.at("Name").get<std::string>();
    return host::forms::UserForm::Load(WriteForm(name + ".frm.json", form).string());
  }

  static std::shared_ptr<host::ObjectCollection> UserForms(
      std::vector<automation::ObjectRef> forms) {
    return std::make_shared<host::ObjectCollection>("UserForms", 0, std::move(forms));
  }
};

TEST_F(TranslateAllTest, EveryOpenPictureIsTranslatedOnceAndOtherDocumentsAreSkipped) {
  WritePicture("First.grf", Picture({Text("txtTitle", "Title")}));
  WritePicture("Second.grf", Picture({Text("txtTitle", "Title")}));
  Open("First");
  Open("Second");
  auto mixed = UseMixedWorkspace();
  auto module = CreateReady();
  module->put_GlobalLangNum(2);

  module->TranslateAll(nullptr);

  EXPECT_THAT(mixed->documents->opened, ElementsAre((pictures() / "First.grf").string(),
                                                    (pictures() / "Second.grf").string()));
  for (const Variant& mode : mixed->documents->modes) EXPECT_EQ(mode.ToInteger(), 2);
  EXPECT_EQ(CaptionIn("First", "txtTitle"), "Titel");
  EXPECT_EQ(CaptionIn("Second", "txtTitle"), "Titel");
  EXPECT_EQ(MarkerOf("Second").ToString(), "2");
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_THAT(LogLines(), IsEmpty());
}

TEST_F(TranslateAllTest, FormsAreTranslatedAfterAllPicturesInTheCollectionsOrder) {
  // Every text is missing, so the dictionary rows show the order of the walk.
  WritePicture("P1.grf", Picture({Text("txt", "picture one")}));
  WritePicture("P2.grf", Picture({Text("txt", "picture two")}));
  Open("P1");
  Open("P2");
  auto a = LoadForm(Form("frmA", "form A", "", Json::array()));
  auto b = LoadForm(Form("frmB", "form B", "", Json::array()));
  auto module = CreateReady();
  module->put_GlobalLangNum(3);

  module->TranslateAll(UserForms({b, a}));

  Rows expected = kAllDictionary;
  for (const char* text : {"picture one", "picture two", "form B", "form A"}) {
    expected.push_back({text, "", ""});
  }
  EXPECT_EQ(DictionaryRows(), expected);
  EXPECT_EQ(Property(a, "Tag"), "3");
  EXPECT_EQ(Property(b, "Tag"), "3");
  EXPECT_EQ(MarkerOf("P2").ToString(), "3");
  // Each picture and each form warns for itself.
  const auto messages = TakeMessages();
  ASSERT_EQ(messages.size(), 4u);
  for (const auto& m : messages) EXPECT_EQ(m.text, CannotFindText(1, 3, dictionary_text()));
}

TEST_F(TranslateAllTest, WithoutFormsOnlyThePicturesAreTranslated) {
  WritePicture("Main.grf", Picture({Text("txtTitle", "Title")}));
  Open("Main");
  auto form = LoadForm(Form("frmLogin", "Login", "", Json::array()));
  auto module = CreateReady();
  module->put_GlobalLangNum(2);
  std::vector<Variant> args{Variant(automation::ObjectRef())};
  automation::Call(module, "TranslateAll", args);
  EXPECT_EQ(CaptionIn("Main", "txtTitle"), "Titel");
  EXPECT_EQ(Property(form, "Caption"), "Login");
}

TEST_F(TranslateAllTest, PictureAlreadyInGlobalLangNumIsLeftAlone) {
  WritePicture("Main.grf", Picture({Text("txtTitle", "Not in the dictionary")}, 2));
  Open("Main");
  auto module = CreateReady();
  module->put_GlobalLangNum(2);
  module->TranslateAll(nullptr);
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_EQ(DictionaryRows(), kAllDictionary);
}

TEST_F(TranslateAllTest, DisabledObjectDoesNothing) {
  WriteIni({{"InterpreterEnabled", "N"}});
  WritePicture("Main.grf", Picture({Text("txtTitle", "Title")}));
  Open("Main");
  auto form = LoadForm(Form("frmLogin", "Login", "", Json::array()));
  interpreter::VeltranoModule module(session_);
  module.put_GlobalLangNum(2);
  module.TranslateAll(UserForms({form}));
  EXPECT_EQ(CaptionIn("Main", "txtTitle"), "Title");
  EXPECT_EQ(Property(form, "Tag"), "");
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

TEST_F(TranslateAllTest, OutsideTheHostNoOperationDoesAnything) {
  env_.SetFixRunning(false);
  WritePicture("Main.grf", Picture({Text("txtTitle", "Title")}));
  Open("Main");
  auto form = LoadForm(Form("frmLogin", "Login", "", Json::array()));
  interpreter::VeltranoModule module(session_);
  ASSERT_EQ(module.lifecycle(), interpreter::Lifecycle::OutsideHost);
  EXPECT_EQ(TakeMessages().size(), 1u);
  module.put_GlobalLangNum(2);

  module.TranslateAll(UserForms({form}));
  TranslatePicture(module, "Main", 2);
  TranslateForm(module, form, 2);

  EXPECT_EQ(CaptionIn("Main", "txtTitle"), "Title");
  EXPECT_EQ(MarkerOf("Main").ToString(), "");
  EXPECT_EQ(Property(form, "Tag"), "");
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_EQ(DictionaryRows(), kAllDictionary);
}

// A form whose caption, when read, calls TranslateAll on the same object.
class ReentrantForm : public automation::DispatchObject {
 public:
  ReentrantForm(interpreter::VeltranoModule& module, MixedDocuments& documents)
      : module_(module), documents_(documents) {
    AddProperty("Name", [](std::span<Variant>) { return Variant("frmReentrant"); });
    AddProperty(
        "Tag", [this](std::span<Variant>) { return tag_; },
        [this](std::span<Variant>, const Variant& v) { tag_ = v; });
    AddProperty("Controls", [](std::span<Variant>) {
      return Variant(std::make_shared<host::ObjectCollection>("Controls", 0));
    });
    AddProperty(
        "Caption",
        [this](std::span<Variant>) {
          const std::size_t opened = documents_.opened.size();
          auto self = std::dynamic_pointer_cast<ReentrantForm>(shared_from_this());
          module_.TranslateAll(std::make_shared<host::ObjectCollection>(
              "UserForms", 0, std::vector<automation::ObjectRef>{self}));
          ++inner_calls;
          opened_during_inner_call += documents_.opened.size() - opened;
          return Variant("Login");
        },
        [this](std::span<Variant>, const Variant& v) { caption = v.ToString(); });
  }
  std::string TypeName() const override { return "UserForm"; }

  int inner_calls = 0;
  std::size_t opened_during_inner_call = 0;
  std::string caption;

 private:
  interpreter::VeltranoModule& module_;
  MixedDocuments& documents_;
  Variant tag_ = Variant("");
};

TEST_F(TranslateAllTest, CallDuringACallReturnsAtOnceAndTheNextCallWorks) {
  WritePicture("First.grf", Picture({Text("txtTitle", "Title")}));
  Open("First");
  auto mixed = UseMixedWorkspace();
  auto module = CreateReady();
  module->put_GlobalLangNum(2);
  auto form = std::make_shared<ReentrantForm>(*module, *mixed->documents);

  module->TranslateAll(UserForms({form}));

  EXPECT_EQ(form->inner_calls, 1);
  EXPECT_EQ(form->opened_during_inner_call, 0u);
  EXPECT_EQ(form->caption, "Anmeldung");
  EXPECT_EQ(mixed->documents->opened.size(), 1u);
  EXPECT_EQ(CaptionIn("First", "txtTitle"), "Titel");

  module->put_GlobalLangNum(3);
  module->TranslateAll(nullptr);
  EXPECT_EQ(mixed->documents->opened.size(), 2u);
  EXPECT_EQ(CaptionIn("First", "txtTitle"), "Titre");
  EXPECT_THAT(LogLines(), IsEmpty());
}

// A collection of forms that cannot be enumerated.
class BrokenForms : public automation::DispatchObject {
 public:
  std::string TypeName() const override { return "UserForms"; }
  std::vector<Variant> Enumerate() override { throw std::runtime_error("the forms are gone"); }
};

TEST_F(TranslateAllTest, FailureIsReportedUnderTranslateAllAndTheNextCallWorks) {
  WritePicture("Main.grf", Picture({Text("txtTitle", "Title")}));
  Open("Main");
  auto module = CreateReady();
  module->put_GlobalLangNum(2);

  module->TranslateAll(std::make_shared<BrokenForms>());
  // The pictures went first and stay translated.
  EXPECT_EQ(CaptionIn("Main", "txtTitle"), "Titel");
  auto log = LogLines();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_THAT(log[0], HasSubstr(";VeltranoModule;TranslateAll;"));
  EXPECT_THAT(log[0], HasSubstr("the forms are gone"));
  EXPECT_EQ(TakeMessages().size(), 1u);

  auto form = LoadForm(Form("frmLogin", "Login", "", Json::array()));
  module->put_GlobalLangNum(3);
  module->TranslateAll(UserForms({form}));
  EXPECT_EQ(CaptionIn("Main", "txtTitle"), "Titre");
  EXPECT_EQ(Property(form, "Caption"), "Connexion");
  EXPECT_EQ(LogLines().size(), 1u);
}

TEST_F(TranslateAllTest, MissingWorkspaceIsReportedAndTheNextCallWorks) {
  WritePicture("Main.grf", Picture({Text("txtTitle", "Title")}));
  Open("Main");
  auto module = CreateReady();
  module->put_GlobalLangNum(2);
  automation::RevokeActiveObject("Workspace.Application");
  module->TranslateAll(nullptr);
  ASSERT_EQ(LogLines().size(), 1u);
  EXPECT_THAT(LogLines()[0], HasSubstr(";VeltranoModule;TranslateAll;"));

  automation::RegisterActiveObject("Workspace.Application", workspace_);
  module->TranslateAll(nullptr);
  EXPECT_EQ(CaptionIn("Main", "txtTitle"), "Titel");
}

// TranslateString and TranslateAlarmsRecordset take their target from the
// marker of the form or picture they are given.
class MarkerTargetTest : public TranslateAllTest {
 protected:
  void SetUp() override {
    TranslateAllTest::SetUp();
    WriteAlarms({{"Pump failure", "Pumpenstörung", "Défaut pompe"}});
    const std::filesystem::path csv = pictures() / "alarms.csv";
    std::ofstream(csv, std::ios::binary) << "Time,Text\r\n08:00,Pump failure\r\n";
    alarms_ = data::LoadCsv(csv.string());
  }

  std::string TranslateString(interpreter::VeltranoModule& module,
                              const automation::ObjectRef& marker_owner) {
    std::string text = " Title ";
    std::int16_t language = 0;
    bool warn = false;
    return module.TranslateString(text, marker_owner, language, warn);
  }
  std::string TranslateAlarm(interpreter::VeltranoModule& module,
                             const automation::ObjectRef& marker_owner) {
    std::int16_t field = 1;
    std::int16_t requested = 0;
    std::int16_t original = 0;
    bool restore = false;
    auto result = std::dynamic_pointer_cast<data::Recordset>(module.TranslateAlarmsRecordset(
        alarms_, field, marker_owner, requested, original, restore));
    if (!result) return "(no recordset)";
    result->MoveFirst();
    return result->GetValue(1).ToString();
  }

  std::shared_ptr<data::Recordset> alarms_;
};

TEST_F(MarkerTargetTest, FormWhoseTagHoldsThreeTranslatesToLanguageThree) {
  auto form = LoadForm(Form("frmLogin", "Login", "3", Json::array()));
  auto module = CreateReady();
  module->put_GlobalLangNum(2);
  EXPECT_EQ(TranslateString(*module, form), " Titre ");
  EXPECT_EQ(TranslateAlarm(*module, form), "Défaut pompe");
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

TEST_F(MarkerTargetTest, FormWithAnEmptyTagTranslatesToGlobalLangNum) {
  auto form = LoadForm(Form("frmLogin", "Login", "", Json::array()));
  auto module = CreateReady();
  module->put_GlobalLangNum(2);
  EXPECT_EQ(TranslateString(*module, form), " Titel ");
  EXPECT_EQ(TranslateAlarm(*module, form), "Pumpenstörung");
}

TEST_F(MarkerTargetTest, TranslatedFormAndPictureCarryTheirLanguageToLaterStrings) {
  WritePicture("Main.grf", Picture({Text("txtTitle", "Title")}));
  auto form = LoadForm(Form("frmLogin", "Login", "", Json::array()));
  auto module = CreateReady();
  module->put_GlobalLangNum(2);
  TranslatePicture(*module, "Main", 3);
  TranslateForm(*module, form, 3);
  const auto document = workspace_->documents().Find("Main");
  EXPECT_EQ(TranslateString(*module, document), " Titre ");
  EXPECT_EQ(TranslateString(*module, PageOf("Main")), " Titre ");
  EXPECT_EQ(TranslateString(*module, form), " Titre ");
  EXPECT_EQ(TranslateAlarm(*module, document), "Défaut pompe");
  EXPECT_EQ(TranslateAlarm(*module, form), "Défaut pompe");
}

}  // namespace
}  // namespace vt::pictures::testing
