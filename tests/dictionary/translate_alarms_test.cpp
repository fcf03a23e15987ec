// TranslateAlarmsRecordset on in-memory recordsets over a real alarm workbook.
#include <set>

#include "library/interpreter/session.h"
#include "platform/automation/runtime.h"
#include "platform/data/recordset.h"
#include "tests/dictionary/dictionary_fixture.h"

namespace vt::dictionary::testing {
namespace {

using automation::Variant;
using interpreter::VeltranoModule;

constexpr std::int16_t kText = 1;  // the alarm list's text column

std::shared_ptr<data::Recordset> Alarms(const std::vector<Variant>& texts) {
  auto rs = data::Recordset::Create(
      {data::FieldDef::Text("Time"), data::FieldDef::Text("Text"), data::FieldDef::Text("Tag")});
  int n = 0;
  for (const auto& text : texts) {
    rs->AddNew();
    rs->SetValue(std::size_t{0}, Variant("10:0" + std::to_string(n++)));
    rs->SetValue(std::size_t{1}, text);
    rs->SetValue(std::size_t{2}, Variant("TAG"));
    rs->Update();
  }
  if (!texts.empty()) rs->MoveFirst();
  return rs;
}

std::vector<std::string> Texts(const std::shared_ptr<data::Recordset>& rs) {
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < static_cast<std::size_t>(rs->RecordCount()); ++i) {
    texts.push_back(rs->ValueAt(i, 1).ToString());
  }
  return texts;
}

// An object of another kind, as the data-access component's recordsets and
// another module's copies of ours are: reached only by name. It forwards to
// one of ours, notes each member asked for ("Type.Member", "=" for an
// assignment) and hands out what it gets (clones, fields) of its own kind.
class Foreign : public automation::Dispatch {
 public:
  Foreign(automation::ObjectRef inner, std::shared_ptr<std::set<std::string>> asked)
      : inner_(std::move(inner)), asked_(std::move(asked)) {}
  std::string TypeName() const override { return inner_->TypeName(); }
  Variant Invoke(std::string_view member, automation::CallKind kind,
                 std::span<Variant> args) override {
    const bool put = kind == automation::CallKind::PropertyPut;
    asked_->insert(TypeName() + "." + std::string(member) + (put ? "=" : ""));
    Variant got = inner_->Invoke(member, kind, args);
    if (!got.IsObject() || !got.ToObject()) return got;
    return Variant(automation::ObjectRef(std::make_shared<Foreign>(got.ToObject(), asked_)));
  }

 private:
  automation::ObjectRef inner_;
  std::shared_ptr<std::set<std::string>> asked_;
};

class DictionaryAlarmsTest : public DictionaryTest {
 protected:
  void SetUp() override {
    DictionaryTest::SetUp();
    WriteDictionary({});
    WriteAlarms({
        {"Pump #1 failed", "Pompe n°1 en panne", "Pompa 1 guasta"},   // row 1
        {"Tank low level", "Niveau bas du réservoir", ""},            // row 2
        {"Valve open", "Vanne ouverte", ""},                          // row 3
        {"Valve open too long", "Vanne ouverte trop longtemps", ""},  // row 4
        {"Überdruck Kessel 温度", "Surpression chaudière", ""},       // row 5
        {"Door 'B' open", "Porte 'B' ouverte", ""},                   // row 6
    });
    object_ = CreateReady();
  }

  // Calls the method; the result as a recordset (nullptr for none).
  std::shared_ptr<data::Recordset> Translate(const std::shared_ptr<data::Recordset>& alarms,
                                             std::int16_t requested, std::int16_t original = 0,
                                             bool restore = false,
                                             automation::ObjectRef picture_or_form = nullptr,
                                             std::int16_t field = kText) {
    const automation::ObjectRef result = object_->TranslateAlarmsRecordset(
        alarms, field, picture_or_form, requested, original, restore);
    if (!result) return nullptr;
    auto rs = std::dynamic_pointer_cast<data::Recordset>(result);
    EXPECT_NE(rs, nullptr) << "not a recordset";
    return rs;
  }

  std::shared_ptr<VeltranoModule> object_;
};

TEST_F(DictionaryAlarmsTest, TranslatesByLiteralContainmentIgnoringCase) {
  auto alarms = Alarms({Variant("Pump #1 failed"), Variant("TANK LOW"), Variant("überdruck"),
                        Variant("温度"), Variant("Door 'B' open")});
  auto result = Translate(alarms, 2);
  ASSERT_NE(result, nullptr);
  const std::vector<std::string> expected{"Pompe n°1 en panne", "Niveau bas du réservoir",
                                          "Surpression chaudière", "Surpression chaudière",
                                          "Porte 'B' ouverte"};
  EXPECT_EQ(Texts(result), expected);
  // The clone shares its rows with the caller's recordset.
  EXPECT_EQ(Texts(alarms), expected);
  EXPECT_EQ(result->ValueAt(0, 2).ToString(), "TAG");
  EXPECT_TRUE(TakeMessages().empty());
  EXPECT_EQ(ReadWithXlrd(alarm_path()).size(), 7u);
  EXPECT_GE(backend_.events_pumped, 5);
}

TEST_F(DictionaryAlarmsTest, BlankTextsStayAsTheyAreAndAreNotAppended) {
  // Every row contains the empty text: it must not take the first row's.
  auto result = Translate(Alarms({Variant(""), Variant("  "), Variant("TANK LOW")}), 2);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(Texts(result), (std::vector<std::string>{"", "  ", "Niveau bas du réservoir"}));
  EXPECT_TRUE(TakeMessages().empty());
  EXPECT_EQ(ReadWithXlrd(alarm_path()).size(), 7u);
}

TEST_F(DictionaryAlarmsTest, TextInTwoRowsTakesTheFirst) {
  auto result = Translate(Alarms({Variant("Valve open")}), 2);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(Texts(result), std::vector<std::string>{"Vanne ouverte"});
  result = Translate(Alarms({Variant("too long")}), 2);
  EXPECT_EQ(Texts(result), std::vector<std::string>{"Vanne ouverte trop longtemps"});
}

TEST_F(DictionaryAlarmsTest, EmptyRecordsetComesBackWithoutMessage) {
  auto alarms = Alarms({});
  auto result = Translate(alarms, 0);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->RecordCount(), 0);
  EXPECT_NE(result, alarms);  // a clone
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(DictionaryAlarmsTest, NoLanguageGivenBringsTheParameterMessage) {
  auto result = Translate(Alarms({Variant("Pump #1 failed")}), 0);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(Texts(result), std::vector<std::string>{"Pump #1 failed"});
  const auto shown = TakeMessages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].title, " Veltrano - WARNING");
  EXPECT_EQ(shown[0].style, 48);
  EXPECT_EQ(shown[0].text,
            "\"TranslateAlarmsRecordset\" method parameters are wrong !\r\n"
            "Translation of the recordset is not possible.");
  EXPECT_FALSE(std::filesystem::exists(log_path()));
}

TEST_F(DictionaryAlarmsTest, MissingTextsAreAppendedAndWarnedOnce) {
  const std::string before = ReadFile(alarm_path());
  auto alarms = Alarms({Variant("Fan 'C' stopped"), Variant("Tank low"), Variant("Valve open"),
                        Variant("  Motor  hot "), Variant("Valve open too long")});
  auto result = Translate(alarms, 3);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(Texts(result), (std::vector<std::string>{"Fan 'C' stopped", "Tank low", "Valve open",
                                                     "  Motor  hot ", "Valve open too long"}));
  const auto shown = TakeMessages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].style, 48);
  EXPECT_EQ(shown[0].title, " Veltrano - WARNING");
  EXPECT_EQ(shown[0].text,
            "Interpreter cannot find the translation of one or more alarm strings from Language_1 "
            "to Language_3 !\r\nYou can find all the strings to translate in the alarms "
            "dictionary of the interpreter file \"" +
                alarm_path().string() + "\" .");

  // Saved before the call returned, texts whole and apostrophes single.
  const auto rows = ReadWithXlrd(alarm_path());
  ASSERT_EQ(rows.size(), 9u);
  EXPECT_EQ(rows[7], (std::vector<XlrdCell>{Text("Fan 'C' stopped"), Empty(), Empty()}));
  EXPECT_EQ(rows[8], (std::vector<XlrdCell>{Text("  Motor  hot "), Empty(), Empty()}));
  // The picture and form flags are not this operation's.
  EXPECT_FALSE(object_->MissingTranslations());
  EXPECT_FALSE(session_.run.blnMissingTranslationsFound);
  EXPECT_FALSE(session_.run.blnDictionaryUpdated);

  // Found next time: no second append.
  result = Translate(Alarms({Variant("fan 'c' STOPPED")}), 3);
  EXPECT_EQ(ReadWithXlrd(alarm_path()).size(), 9u);
  EXPECT_EQ(TakeMessages().size(), 1u);  // still without translation
  EXPECT_NE(ReadFile(alarm_path()), before);
}

TEST_F(DictionaryAlarmsTest, SameLanguageWithoutRestoreLooksNothingUp) {
  const std::string before = ReadFile(alarm_path());
  auto result = Translate(Alarms({Variant("Never seen"), Variant("Tank")}), 1);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(Texts(result), (std::vector<std::string>{"Never seen", "Tank"}));
  result = Translate(Alarms({Variant("Tank")}), 2, 2);
  EXPECT_EQ(Texts(result), std::vector<std::string>{"Tank"});
  EXPECT_EQ(ReadFile(alarm_path()), before);
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(DictionaryAlarmsTest, RestoreTakesTheWholeContainingCell) {
  auto result = Translate(Alarms({Variant("Tank"), Variant("PUMP #1")}), 1, 1, true);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(Texts(result), (std::vector<std::string>{"Tank low level", "Pump #1 failed"}));
  // From a translation back to the development language.
  result = Translate(Alarms({Variant("Niveau bas")}), 1, 2);
  EXPECT_EQ(Texts(result), std::vector<std::string>{"Tank low level"});
}

TEST_F(DictionaryAlarmsTest, LanguageFromTheFormOrPictureMarker) {
  object_->put_GlobalLangNum(2);
  auto result = Translate(Alarms({Variant("Pump #1")}), 0, 0, false,
                          std::make_shared<TestForm>(Variant("3")));
  EXPECT_EQ(Texts(result), std::vector<std::string>{"Pompa 1 guasta"});
  result =
      Translate(Alarms({Variant("Pump #1")}), 0, 0, false, std::make_shared<TestForm>(Variant("")));
  EXPECT_EQ(Texts(result), std::vector<std::string>{"Pompe n°1 en panne"});
  result = Translate(Alarms({Variant("Pump #1")}), 0, 0, false,
                     std::make_shared<TestPicture>(Variant(std::int16_t{3})));
  EXPECT_EQ(Texts(result), std::vector<std::string>{"Pompa 1 guasta"});
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(DictionaryAlarmsTest, FailureMidwayKeepsWhatWasDoneAndReturnsNothing) {
  auto alarms = Alarms(
      {Variant("Pump #1"), Variant("Brand new alarm"), Variant::Null(), Variant("Tank low")});
  EXPECT_EQ(Translate(alarms, 2), nullptr);
  EXPECT_EQ(alarms->ValueAt(0, 1).ToString(), "Pompe n°1 en panne");
  EXPECT_EQ(alarms->ValueAt(1, 1).ToString(), "Brand new alarm");
  EXPECT_TRUE(alarms->ValueAt(2, 1).IsNull());
  EXPECT_EQ(alarms->ValueAt(3, 1).ToString(), "Tank low");
  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(";VeltranoModule;TranslateAlarmsRecordset;"), std::string::npos);
  EXPECT_NE(lines[0].find("Null"), std::string::npos) << lines[0];
  // The append before the failure reached the file.
  EXPECT_EQ(XlrdRow(alarm_path(), 7, 3)[0], Text("Brand new alarm"));
  // The report only; no missing-translation warning after a failure.
  const auto shown = TakeMessages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].style, 16);
}

TEST_F(DictionaryAlarmsTest, BadFieldOrColumnIsReported) {
  EXPECT_EQ(Translate(Alarms({Variant("Pump")}), 2, 0, false, nullptr, 7), nullptr);
  EXPECT_EQ(Translate(Alarms({Variant("Pump")}), 2, 0, false, nullptr, -1), nullptr);
  EXPECT_EQ(Translate(Alarms({Variant("Pump")}), 9), nullptr);
  EXPECT_EQ(Translate(Alarms({Variant("Pump")}), 2, 8), nullptr);
  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_NE(lines[2].find("Language_9"), std::string::npos) << lines[2];
  EXPECT_NE(lines[3].find("Language_8"), std::string::npos) << lines[3];
  EXPECT_EQ(TakeMessages().size(), 4u);
  EXPECT_EQ(ReadWithXlrd(alarm_path()).size(), 7u);
}

TEST_F(DictionaryAlarmsTest, DisabledObjectReturnsTheRecordsetUnchanged) {
  object_.reset();
  WriteIni("InterpreterEnabled", "N");
  object_ = std::make_shared<VeltranoModule>(session_);
  auto result = Translate(Alarms({Variant("Pump #1"), Variant("Unknown")}), 2);
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(Texts(result), (std::vector<std::string>{"Pump #1", "Unknown"}));
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(DictionaryAlarmsTest, ForeignRecordsetIsWorkedInPlaceThroughItsOwnMembers) {
  const struct {
    std::vector<Variant> texts;
    std::int16_t requested;
    std::vector<std::string> after;  // the caller's rows after the call
    bool result;                     // a recordset comes back
  } cases[] = {
      {{Variant("Pump #1"), Variant("Brand new"), Variant("Valve open")},
       2,
       {"Pompe n°1 en panne", "Brand new", "Vanne ouverte"},
       true},
      // A failure midway keeps the rows done before it.
      {{Variant("Tank low"), Variant::Null(), Variant("Valve open")},
       2,
       {"Niveau bas du réservoir", "", "Valve open"},  // "" for the Null
       false},
      // Nothing to look up: the working clone itself.
      {{Variant("Tank low")}, 1, {"Tank low"}, true},
      {{}, 2, {}, true},
  };
  for (const auto& c : cases) {
    auto rows = Alarms(c.texts);
    auto asked = std::make_shared<std::set<std::string>>();
    auto foreign = std::make_shared<Foreign>(rows, asked);
    std::int16_t field = kText, requested = c.requested, original = 0;
    bool restore = false;
    const automation::ObjectRef result =
        object_->TranslateAlarmsRecordset(foreign, field, nullptr, requested, original, restore);
    std::vector<std::string> after;
    for (std::size_t i = 0; i < c.texts.size(); ++i) {
      const Variant value = rows->ValueAt(i, kText);
      after.push_back(value.IsNull() ? "" : value.ToString());
    }
    EXPECT_EQ(after, c.after) << c.texts.size();
    // Only the members the operation names: none copies the rows out.
    const std::set<std::string> allowed{
        "Recordset.Clone", "Recordset.EOF", "Recordset.Fields", "Fields.Item",
        "Field.Value",     "Field.Value=",  "Recordset.Update", "Recordset.MoveNext"};
    for (const std::string& member : *asked) EXPECT_TRUE(allowed.count(member)) << member;
    ASSERT_EQ(result != nullptr, c.result) << c.texts.size();
    if (result) {
      // Of the caller's kind, sharing the caller's rows.
      EXPECT_NE(std::dynamic_pointer_cast<Foreign>(result), nullptr);
      if (!c.texts.empty()) {
        automation::Put(automation::Get(result, "Fields", {Variant(kText)}).ToObject(), "Value",
                        Variant("written through the result"));
        EXPECT_EQ(rows->ValueAt(0, kText).ToString(), "written through the result");
      }
    }
    EXPECT_TRUE(asked->count("Recordset.Clone"));
  }
  EXPECT_EQ(ReadWithXlrd(alarm_path()).size(), 8u);  // "Brand new" appended
  EXPECT_EQ(LogLines().size(), 1u);                  // the Null
}

TEST_F(DictionaryAlarmsTest, OnlyARecordsetIsTaken) {
  class Pump : public automation::DispatchObject {
   public:
    std::string TypeName() const override { return "Fix2DText"; }
  };
  std::int16_t field = kText, requested = 2, original = 0;
  bool restore = false;
  EXPECT_EQ(object_->TranslateAlarmsRecordset(std::make_shared<Pump>(), field, nullptr, requested,
                                              original, restore),
            nullptr);
  EXPECT_EQ(
      object_->TranslateAlarmsRecordset(nullptr, field, nullptr, requested, original, restore),
      nullptr);
  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find("Type mismatch"), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("Object variable"), std::string::npos) << lines[1];
}

TEST_F(DictionaryAlarmsTest, ByNameThroughDispatch) {
  auto alarms = Alarms({Variant("Valve open")});
  std::vector<Variant> args{Variant(automation::ObjectRef(alarms)),
                            Variant(kText),
                            Variant(),
                            Variant(std::int16_t{2}),
                            Variant(),
                            Variant()};
  const auto result = automation::Call(object_, "TranslateAlarmsRecordset", args).ToObject();
  auto rs = std::dynamic_pointer_cast<data::Recordset>(result);
  ASSERT_NE(rs, nullptr);
  EXPECT_EQ(Texts(rs), std::vector<std::string>{"Vanne ouverte"});
}

}  // namespace
}  // namespace vt::dictionary::testing
