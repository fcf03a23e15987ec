// TranslateForm, TranslateFormObject and TranslateMultiPage on real UserForms
// of the host loaded from form files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "host/collection.h"
#include "library/interpreter/session.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "tests/pictures/pictures_fixture.h"

namespace vt::pictures::testing {
namespace {

using automation::Variant;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const Rows kFormDictionary = {
    {"Login", "Anmeldung", "Connexion"},    {"User name", "Benutzername", "Nom d'utilisateur"},
    {"Your name", "Ihr Name", "Votre nom"}, {"General", "Allgemein", "Général"},
    {"Tabs", "Reiter", "Onglets"},          {"OK", "OK", "Valider"},
};

class TranslateFormTest : public PictureTest {
 protected:
  void SetUp() override {
    PictureTest::SetUp();
    WriteDictionary(kFormDictionary);
  }

  std::shared_ptr<host::forms::UserForm> LoadForm(const Json& form) {
    const std::string name = form.at("Name").get<std::string>();
    return host::forms::UserForm::Load(WriteForm(name + ".frm.json", form).string());
  }
  static automation::ObjectRef ControlOf(const automation::ObjectRef& form,
                                         const std::string& name) {
    return automation::Call(automation::Get(form, "Controls").ToObject(), "Item", {Variant(name)})
        .ToObject();
  }
  static std::string ControlText(const automation::ObjectRef& form, const std::string& control,
                                 const std::string& property) {
    return Property(ControlOf(form, control), property);
  }
  static std::string PageText(const automation::ObjectRef& form, const std::string& control,
                              std::int16_t page, const std::string& property) {
    const auto pages = automation::Get(ControlOf(form, control), "Pages").ToObject();
    return Property(automation::Call(pages, "Item", {Variant(page)}).ToObject(), property);
  }
};

Json LoginForm(const std::string& tag = "") {
  return Form("frmLogin", "Login", tag,
              {Control("Label", "lblUser", "User name", "Your name"),
               Control("CommandButton", "cmdOk", "OK", ""),
               MultiPage("mpgMain", {FormPage("General", "")})});
}

TEST_F(TranslateFormTest, EmptyTagMovesToTheTargetAndASecondCallChangesNothing) {
  auto form = LoadForm(LoginForm());
  auto module = CreateReady();
  TranslateForm(*module, form, 2);

  EXPECT_EQ(Property(form, "Tag"), "2");
  EXPECT_EQ(Property(form, "Caption"), "Anmeldung");
  EXPECT_EQ(ControlText(form, "lblUser", "Caption"), "Benutzername");
  EXPECT_EQ(ControlText(form, "lblUser", "ControlTipText"), "Ihr Name");
  EXPECT_EQ(ControlText(form, "cmdOk", "Caption"), "OK");
  EXPECT_EQ(PageText(form, "mpgMain", 0, "Caption"), "Allgemein");
  EXPECT_THAT(TakeMessages(), IsEmpty());

  TranslateForm(*module, form, 2);
  EXPECT_EQ(Property(form, "Tag"), "2");
  EXPECT_EQ(Property(form, "Caption"), "Anmeldung");
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_EQ(DictionaryRows(), kFormDictionary);

  TranslateForm(*module, form, 3);
  EXPECT_EQ(Property(form, "Tag"), "3");
  EXPECT_EQ(ControlText(form, "lblUser", "Caption"), "Nom d'utilisateur");
  EXPECT_EQ(ControlText(form, "cmdOk", "Caption"), "Valider");
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

TEST_F(TranslateFormTest, WordInTagCountsAsTheDevelopmentLanguageAndIsReplaced) {
  auto form = LoadForm(LoginForm("settings"));
  auto module = CreateReady();
  TranslateForm(*module, form, 2);
  EXPECT_EQ(Property(form, "Tag"), "2");
  EXPECT_EQ(Property(form, "Caption"), "Anmeldung");
}

TEST_F(TranslateFormTest, NumericTagWithBlanksOrAFractionIsTheCurrentLanguage) {
  auto blanks = LoadForm(Form("frmBlanks", "Anmeldung", " 2 ", Json::array()));
  auto half = LoadForm(Form("frmHalf", "Anmeldung", "2.5", Json::array()));
  auto module = CreateReady();
  TranslateForm(*module, blanks, 3);
  TranslateForm(*module, half, 3);
  EXPECT_EQ(Property(blanks, "Caption"), "Connexion");
  // Halves round to the even number: 2.
  EXPECT_EQ(Property(half, "Caption"), "Connexion");
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

TEST_F(TranslateFormTest, TagBeyondTheIntegerRangeIsReportedUnderTranslateForm) {
  auto form = LoadForm(LoginForm("70000"));
  auto module = CreateReady();
  TranslateForm(*module, form, 2);
  EXPECT_EQ(Property(form, "Tag"), "70000");
  EXPECT_EQ(Property(form, "Caption"), "Login");
  const auto log = LogLines();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_THAT(log[0], HasSubstr(";VeltranoModule;TranslateForm;"));
}

TEST_F(TranslateFormTest, TargetIsTheNumberThenTheUsersLanguageThenGlobalLangNum) {
  auto global = LoadForm(Form("frmGlobal", "Login", "", Json::array()));
  auto user = LoadForm(Form("frmUser", "Login", "", Json::array()));
  auto unknown = LoadForm(Form("frmUnknown", "Login", "", Json::array()));
  auto number = LoadForm(Form("frmNumber", "Login", "", Json::array()));
  auto module = CreateReady();
  module->put_GlobalLangNum(2);

  TranslateForm(*module, global);
  TranslateForm(*module, user, 0, "OPERATOR");
  TranslateForm(*module, unknown, 0, "VISITOR");
  TranslateForm(*module, number, 3, "VISITOR");

  EXPECT_EQ(Property(global, "Tag"), "2");
  EXPECT_EQ(Property(user, "Tag"), "3");
  EXPECT_EQ(Property(user, "Caption"), "Connexion");
  EXPECT_EQ(Property(unknown, "Tag"), "2");
  EXPECT_EQ(Property(number, "Tag"), "3");
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

TEST_F(TranslateFormTest, MissingTextGivesOneMessageAndIsAppendedUnderTheCurrentLanguage) {
  auto form = LoadForm(Form("frmNew", "Login", "",
                            {Control("Label", "lblA", "Password", "Your password"),
                             Control("Label", "lblB", "User name", "")}));
  auto module = CreateReady();
  TranslateForm(*module, form, 2);
  EXPECT_EQ(ControlText(form, "lblA", "Caption"), "Password");
  EXPECT_EQ(ControlText(form, "lblB", "Caption"), "Benutzername");
  EXPECT_TRUE(module->MissingTranslations());
  ExpectOneWarning(CannotFindText(1, 2, dictionary_text()));
  Rows expected = kFormDictionary;
  expected.push_back({"Password", "", ""});
  expected.push_back({"Your password", "", ""});
  EXPECT_EQ(DictionaryRows(), expected);
}

TEST_F(TranslateFormTest, FormInAnotherLanguageIsRefusedAfterAnyMissingTranslation) {
  WritePicture("Main.grf", Picture({Text("txtNew", "Unknown text")}));
  auto form = LoadForm(
      Form("frmLogin", "Anmeldung", "2", {Control("Label", "lblUser", "Benutzername", "")}));
  auto fresh = LoadForm(Form("frmFresh", "Login", "", Json::array()));
  auto module = CreateReady();
  TranslatePicture(*module, "Main", 2);
  EXPECT_EQ(TakeMessages().size(), 1u);

  TranslateForm(*module, form, 1);
  EXPECT_EQ(Property(form, "Tag"), "2");
  EXPECT_EQ(Property(form, "Caption"), "Anmeldung");
  EXPECT_EQ(ControlText(form, "lblUser", "Caption"), "Benutzername");
  ExpectOneWarning(
      "Before translating the form \"frmLogin\" from the Language_2 to the Language_1\r\n"
      "you must insert all the missing translations in the interpreter file \"" +
      pictures().string() + "/Veltrano/Veltrano.xls\" .");

  // In the development language it still can.
  TranslateForm(*module, fresh, 3);
  EXPECT_EQ(Property(fresh, "Caption"), "Connexion");
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

TEST_F(TranslateFormTest, WarningsOffShowsNeitherMessage) {
  WriteIni({{"ShowWarningsForMissingTranslations", "N"}});
  auto missing = LoadForm(Form("frmNew", "Unknown title", "", Json::array()));
  auto refused = LoadForm(Form("frmLogin", "Anmeldung", "2", Json::array()));
  auto module = CreateReady();
  TranslateForm(*module, missing, 2);
  TranslateForm(*module, refused, 1);
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_EQ(Property(refused, "Caption"), "Anmeldung");
  EXPECT_EQ(DictionaryRows().back(), (std::vector<std::string>{"Unknown title", "", ""}));
}

TEST_F(TranslateFormTest, MaintenanceSilencesOnlyTheCannotFindMessage) {
  auto missing = LoadForm(Form("frmNew", "Unknown title", "", Json::array()));
  auto refused = LoadForm(Form("frmLogin", "Anmeldung", "2", Json::array()));
  auto module = CreateReady();
  session_.run.blnMaintenanceRunning = true;
  TranslateForm(*module, missing, 2);
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_EQ(Property(missing, "Tag"), "2");

  TranslateForm(*module, refused, 1);
  ExpectOneWarning(BeforeTranslatingText("form", "frmLogin", 2, 1, dictionary_text()));
}

TEST_F(TranslateFormTest, PrefixFilterIsCaseSensitiveAndAppliesToTheMultiPageItself) {
  WriteIni({{"GetObjectsPrefix", "Y"}, {"ObjectsTargetPrefix", "lbl"}});
  auto form = LoadForm(Form("frmLogin", "Login", "",
                            {Control("Label", "lblUser", "User name", "Your name"),
                             Control("Label", "LBLpass", "User name", "Your name"),
                             Control("Label", "Label1", "User name", "Your name"),
                             MultiPage("mpgMain", {FormPage("General", "Tabs")}),
                             MultiPage("lblPages", {FormPage("General", "Tabs")})}));
  auto module = CreateReady();
  TranslateForm(*module, form, 2);

  // The form's own caption is no control: it is always translated.
  EXPECT_EQ(Property(form, "Caption"), "Anmeldung");
  EXPECT_EQ(ControlText(form, "lblUser", "Caption"), "Benutzername");
  EXPECT_EQ(ControlText(form, "lblUser", "ControlTipText"), "Ihr Name");
  for (const char* name : {"LBLpass", "Label1"}) {
    EXPECT_EQ(ControlText(form, name, "Caption"), "User name") << name;
    EXPECT_EQ(ControlText(form, name, "ControlTipText"), "Your name") << name;
  }
  EXPECT_EQ(PageText(form, "mpgMain", 0, "Caption"), "General");
  EXPECT_EQ(PageText(form, "mpgMain", 0, "ControlTipText"), "Tabs");
  EXPECT_EQ(PageText(form, "lblPages", 0, "Caption"), "Allgemein");
  EXPECT_EQ(PageText(form, "lblPages", 0, "ControlTipText"), "Reiter");
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

TEST_F(TranslateFormTest, WithoutThePrefixSwitchEveryListedControlIsTranslated) {
  WriteIni({{"GetObjectsPrefix", "N"}, {"ObjectsTargetPrefix", "lbl"}});
  auto form = LoadForm(Form("frmLogin", "Login", "",
                            {Control("Label", "Label1", "User name", ""),
                             MultiPage("mpgMain", {FormPage("General", "")})}));
  auto module = CreateReady();
  TranslateForm(*module, form, 2);
  EXPECT_EQ(ControlText(form, "Label1", "Caption"), "Benutzername");
  EXPECT_EQ(PageText(form, "mpgMain", 0, "Caption"), "Allgemein");
}

TEST_F(TranslateFormTest, EachListedTypeHasItsTextsReplacedAndValuesStay) {
  Json textbox = Control("TextBox", "txtUser", "", "Your name");
  textbox["Value"] = "User name";
  Json combo = Control("ComboBox", "cboLang", "", "Your name");
  combo["List"] = Json::array({"User name", "Login"});
  Json tabs = Control("TabStrip", "tabMain", "Login", "Your name");
  Json custom = Control("CustomGauge", "gauLevel", "Login", "Your name");
  Json lower = Control("label", "lblLower", "Login", "Your name");
  Json controls = {textbox, combo, tabs, custom, lower};
  for (const char* type : {"ListBox", "SpinButton", "ScrollBar", "Image"}) {
    controls.push_back(Control(type, std::string("x") + type, "Login", "Your name"));
  }
  for (const char* type :
       {"Label", "CheckBox", "OptionButton", "Frame", "CommandButton", "ToggleButton"}) {
    controls.push_back(Control(type, std::string("x") + type, "Login", "Your name"));
  }
  auto form = LoadForm(Form("frmAll", "Login", "", controls));
  auto module = CreateReady();
  TranslateForm(*module, form, 2);

  // Tip only: the caption (and the value) are the user's.
  for (const char* name :
       {"txtUser", "cboLang", "xListBox", "xSpinButton", "xScrollBar", "xImage"}) {
    EXPECT_EQ(ControlText(form, name, "ControlTipText"), "Ihr Name") << name;
  }
  for (const char* name : {"xListBox", "xSpinButton", "xScrollBar", "xImage"}) {
    EXPECT_EQ(ControlText(form, name, "Caption"), "Login") << name;
  }
  for (const char* name :
       {"xLabel", "xCheckBox", "xOptionButton", "xFrame", "xCommandButton", "xToggleButton"}) {
    EXPECT_EQ(ControlText(form, name, "Caption"), "Anmeldung") << name;
    EXPECT_EQ(ControlText(form, name, "ControlTipText"), "Ihr Name") << name;
  }
  for (const char* name : {"tabMain", "gauLevel", "lblLower"}) {
    EXPECT_EQ(ControlText(form, name, "Caption"), "Login") << name;
    EXPECT_EQ(ControlText(form, name, "ControlTipText"), "Your name") << name;
  }
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_EQ(DictionaryRows(), kFormDictionary);

  form->Save();
  const Json saved = Json::parse(std::ifstream(pictures() / "frmAll.frm.json"));
  EXPECT_EQ(saved.at("Controls").at(0).at("Value"), "User name");
  EXPECT_EQ(saved.at("Controls").at(1).at("List"), Json::array({"User name", "Login"}));
  EXPECT_EQ(saved.at("Controls").at(2), tabs);
}

TEST_F(TranslateFormTest, MultiPageOfThreePagesIsTranslatedInPageOrderOneOfNoneNotAtAll) {
  auto form = LoadForm(Form("frmPages", "Login", "",
                            {MultiPage("mpgThree", {FormPage("P0", "T0"), FormPage("P1", "T1"),
                                                    FormPage("General", "Tabs")}),
                             MultiPage("mpgNone", Json::array())}));
  auto module = CreateReady();
  TranslateForm(*module, form, 2);

  EXPECT_EQ(PageText(form, "mpgThree", 2, "Caption"), "Allgemein");
  EXPECT_EQ(PageText(form, "mpgThree", 2, "ControlTipText"), "Reiter");
  // The MultiPage's own tip is not touched, although the dictionary has it.
  EXPECT_EQ(ControlText(form, "mpgThree", "ControlTipText"), "Tabs");
  EXPECT_EQ(ControlText(form, "mpgNone", "ControlTipText"), "Tabs");
  // Missing texts are appended in the order they were met.
  Rows expected = kFormDictionary;
  for (const char* text : {"P0", "T0", "P1", "T1"}) expected.push_back({text, "", ""});
  EXPECT_EQ(DictionaryRows(), expected);
  EXPECT_EQ(TakeMessages().size(), 1u);
  EXPECT_THAT(LogLines(), IsEmpty());
}

TEST_F(TranslateFormTest, EmptyTipTextsStayEmptyAndAreNotAppended) {
  auto form = LoadForm(
      Form("frmTips", "Login", "",
           {Control("Label", "lblA", "User name", ""), Control("TextBox", "txtB", "", "  "),
            MultiPage("mpgC", {FormPage("General", "")})}));
  auto module = CreateReady();
  TranslateForm(*module, form, 2);
  EXPECT_EQ(ControlText(form, "lblA", "ControlTipText"), "");
  EXPECT_EQ(ControlText(form, "txtB", "ControlTipText"), "  ");
  EXPECT_EQ(PageText(form, "mpgC", 0, "ControlTipText"), "");
  EXPECT_EQ(DictionaryRows(), kFormDictionary);
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

// The pages of a real MultiPage, except that one of them cannot be fetched.
class FailingPages : public automation::DispatchObject {
 public:
  FailingPages(automation::ObjectRef pages, std::int32_t failing) {
    AddProperty("Count", [pages](std::span<Variant>) { return automation::Get(pages, "Count"); });
    AddMethod("Item", [pages, failing](std::span<Variant> args) {
      if (args.size() != 1 || args[0].ToLong() == failing) {
        throw automation::Error(automation::errors::kSubscriptOutOfRange, "page refused");
      }
      return Variant(automation::Call(pages, "Item", {args[0]}));
    });
  }
  std::string TypeName() const override { return "Pages"; }
};

class FailingMultiPage : public automation::DispatchObject {
 public:
  explicit FailingMultiPage(automation::ObjectRef pages)
      : pages_(std::make_shared<FailingPages>(std::move(pages), 1)) {
    AddProperty("Name", [](std::span<Variant>) { return Variant("mpgFailing"); });
    AddProperty("Pages", [this](std::span<Variant>) { return Variant(pages_); });
  }
  std::string TypeName() const override { return "MultiPage"; }

 private:
  automation::ObjectRef pages_;
};

// A form whose controls are given: real controls and a failing one.
class AssembledForm : public automation::DispatchObject {
 public:
  explicit AssembledForm(std::vector<automation::ObjectRef> controls)
      : controls_(std::make_shared<host::ObjectCollection>("Controls", 0, std::move(controls))) {
    AddProperty("Name", [](std::span<Variant>) { return Variant("frmAssembled"); });
    AddProperty(
        "Caption", [this](std::span<Variant>) { return Variant(caption_); },
        [this](std::span<Variant>, const Variant& v) { caption_ = v.ToString(); });
    AddProperty(
        "Tag", [this](std::span<Variant>) { return tag_; },
        [this](std::span<Variant>, const Variant& v) { tag_ = v; });
    AddProperty("Controls", [this](std::span<Variant>) { return Variant(controls_); });
  }
  std::string TypeName() const override { return "UserForm"; }

 private:
  std::string caption_ = "Login";
  Variant tag_ = Variant("");
  automation::ObjectRef controls_;
};

TEST_F(TranslateFormTest, FailingPageIsReportedUnderTranslateMultiPageAndTheWalkGoesOn) {
  auto loaded =
      LoadForm(Form("frmSource", "", "",
                    {MultiPage("mpgMain", {FormPage("General", ""), FormPage("General", ""),
                                           FormPage("General", "")}),
                     Control("Label", "lblUser", "User name", "")}));
  const auto pages = automation::Get(ControlOf(loaded, "mpgMain"), "Pages").ToObject();
  auto form = std::make_shared<AssembledForm>(std::vector<automation::ObjectRef>{
      std::make_shared<FailingMultiPage>(pages), ControlOf(loaded, "lblUser")});
  auto module = CreateReady();
  TranslateForm(*module, form, 2);

  EXPECT_EQ(PageText(loaded, "mpgMain", 0, "Caption"), "Allgemein");
  // The pages after the failing one are not translated.
  EXPECT_EQ(PageText(loaded, "mpgMain", 2, "Caption"), "General");
  EXPECT_EQ(ControlText(loaded, "lblUser", "Caption"), "Benutzername");
  EXPECT_EQ(Property(form, "Caption"), "Anmeldung");
  const auto log = LogLines();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_THAT(log[0], HasSubstr(";VeltranoModule;TranslateMultiPage;"));
  EXPECT_THAT(log[0], HasSubstr("page refused"));
}

// A control of a listed type that lacks its texts.
class LabelWithoutTexts : public automation::DispatchObject {
 public:
  LabelWithoutTexts() {
    AddProperty("Name", [](std::span<Variant>) { return Variant("lblBroken"); });
  }
  std::string TypeName() const override { return "Label"; }
};

TEST_F(TranslateFormTest, ControlWithoutCaptionIsReportedUnderTranslateFormObject) {
  auto loaded = LoadForm(Form("frmSource", "", "", {Control("Label", "lblUser", "User name", "")}));
  auto form = std::make_shared<AssembledForm>(std::vector<automation::ObjectRef>{
      std::make_shared<LabelWithoutTexts>(), ControlOf(loaded, "lblUser")});
  auto module = CreateReady();
  TranslateForm(*module, form, 2);
  EXPECT_EQ(ControlText(loaded, "lblUser", "Caption"), "Benutzername");
  const auto log = LogLines();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_THAT(log[0], HasSubstr(";VeltranoModule;TranslateFormObject;"));
}

TEST_F(TranslateFormTest, DisabledObjectChangesNoForm) {
  WriteIni({{"InterpreterEnabled", "N"}});
  auto form = LoadForm(LoginForm());
  interpreter::VeltranoModule module(session_);
  TranslateForm(module, form, 2);
  EXPECT_EQ(Property(form, "Tag"), "");
  EXPECT_EQ(Property(form, "Caption"), "Login");
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

}  // namespace
}  // namespace vt::pictures::testing
