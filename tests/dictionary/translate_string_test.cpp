// TranslateObjectString and TranslateString over real workbooks.
#include <filesystem>

#include "library/interpreter/session.h"
#include "platform/automation/runtime.h"
#include "platform/system/env.h"
#include "tests/dictionary/dictionary_fixture.h"

namespace vt::dictionary::testing {
namespace {

namespace fs = std::filesystem;
using automation::Variant;
using interpreter::VeltranoModule;

class DictionaryTranslateTest : public DictionaryTest {
 protected:
  void SetUp() override {
    DictionaryTest::SetUp();
    WriteDictionary({
        {"Start", "Démarrer", "Avvio"},                   // row 1
        {"Stop", "Arrêt", ""},                            // row 2
        {"Start", "Lancer", "Partenza"},                  // row 3: a second Start
        {"start", "démarrer (minuscule)", ""},            // row 4
        {"Operator's panel", "Panneau d'opérateur", ""},  // row 5
        {"Température", "温度", "🌡 Temperatura"},      // row 6
    });
    WriteAlarms({});
    object_ = CreateReady();
  }

  std::string Object(std::string text, std::int16_t from, std::int16_t to) {
    return object_->TranslateObjectString(text, from, to);
  }
  std::string String(std::string text, std::int16_t language, bool warn = false,
                     automation::ObjectRef picture_or_form = nullptr) {
    return object_->TranslateString(text, picture_or_form, language, warn);
  }
  std::size_t DictionaryRows() { return ReadWithXlrd(dictionary_path()).size(); }
  void ResetFlags() {
    session_.run.blnMissingTranslationsFound = false;
    session_.run.blnDictionaryUpdated = false;
  }

  std::shared_ptr<VeltranoModule> object_;
};

TEST_F(DictionaryTranslateTest, FoundTextKeepsItsOuterBlanks) {
  EXPECT_EQ(Object("  Start ", 1, 2), "  Démarrer ");
  EXPECT_EQ(Object("Start", 1, 3), "Avvio");
  EXPECT_EQ(Object("   Stop", 1, 2), "   Arrêt");
  EXPECT_EQ(Object(" Température  ", 1, 3), " 🌡 Temperatura  ");
  EXPECT_EQ(Object("温度", 2, 1), "Température");
  EXPECT_EQ(Object("Démarrer", 2, 3), "Avvio");
  EXPECT_FALSE(object_->MissingTranslations());
  EXPECT_FALSE(session_.run.blnMissingTranslationsFound);
  EXPECT_FALSE(session_.run.blnDictionaryUpdated);
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(DictionaryTranslateTest, FirstOfTwoEqualRowsAndLetterCaseMatter) {
  EXPECT_EQ(Object("Start", 1, 2), "Démarrer");
  EXPECT_EQ(Object("start", 1, 2), "démarrer (minuscule)");
  EXPECT_EQ(Object("Lancer", 2, 3), "Partenza");
  EXPECT_FALSE(session_.run.blnDictionaryUpdated);

  // Only letter case differs: a new entry.
  EXPECT_EQ(Object("STOP", 1, 2), "STOP");
  EXPECT_TRUE(session_.run.blnDictionaryUpdated);
  EXPECT_TRUE(object_->MissingTranslations());
}

TEST_F(DictionaryTranslateTest, EmptyAndBlankTextsAreNotLookedUp) {
  for (const std::string text : {"", " ", "     "}) {
    EXPECT_EQ(Object(text, 1, 2), text);
    EXPECT_EQ(String(text, 0), text);  // not even the parameter message
  }
  EXPECT_FALSE(session_.run.blnDictionaryUpdated);
  EXPECT_FALSE(object_->MissingTranslations());
  EXPECT_TRUE(TakeMessages().empty());
  EXPECT_EQ(DictionaryRows(), 7u);
}

TEST_F(DictionaryTranslateTest, MissingTextIsAppendedOnceAndFlagged) {
  EXPECT_EQ(Object(" Steam drum  ", 1, 2), " Steam drum  ");
  EXPECT_TRUE(object_->MissingTranslations());
  EXPECT_TRUE(session_.run.blnMissingTranslationsFound);
  EXPECT_TRUE(session_.run.blnDictionaryUpdated);

  // Seen at once: the second miss finds the row and its empty translation.
  ResetFlags();
  EXPECT_EQ(Object("Steam drum", 1, 3), "Steam drum");
  EXPECT_FALSE(session_.run.blnDictionaryUpdated);
  EXPECT_TRUE(session_.run.blnMissingTranslationsFound);

  // Tabs are not blanks: kept and looked up as they are.
  EXPECT_EQ(Object("\tStart", 1, 2), "\tStart");
  EXPECT_TRUE(session_.run.blnDictionaryUpdated);

  // The public call that follows saves what was appended.
  EXPECT_EQ(String("Stop", 2), "Arrêt");
  const auto rows = ReadWithXlrd(dictionary_path());
  ASSERT_EQ(rows.size(), 9u);
  EXPECT_EQ(rows[7], (std::vector<XlrdCell>{Text("Steam drum"), Empty(), Empty()}));
  EXPECT_EQ(rows[8], (std::vector<XlrdCell>{Text("\tStart"), Empty(), Empty()}));
}

TEST_F(DictionaryTranslateTest, FoundWithEmptyTargetReturnsTheInputAndFlags) {
  EXPECT_EQ(Object("  Stop ", 1, 3), "  Stop ");
  EXPECT_TRUE(object_->MissingTranslations());
  EXPECT_TRUE(session_.run.blnMissingTranslationsFound);
  EXPECT_FALSE(session_.run.blnDictionaryUpdated);
}

TEST_F(DictionaryTranslateTest, SameLanguageMissAppendsWithoutFlags) {
  EXPECT_EQ(Object("Conveyor", 2, 2), "Conveyor");
  EXPECT_TRUE(session_.run.blnDictionaryUpdated);
  EXPECT_FALSE(object_->MissingTranslations());
  EXPECT_FALSE(session_.run.blnMissingTranslationsFound);
  EXPECT_EQ(String("x", 3), "x");  // saves
  EXPECT_EQ(XlrdRow(dictionary_path(), 7, 3),
            (std::vector<XlrdCell>{Empty(), Text("Conveyor"), Empty()}));
}

TEST_F(DictionaryTranslateTest, TargetColumnMissing) {
  // Known text: an error, and the object's text stays as it is.
  EXPECT_EQ(Object(" Start", 1, 9), " Start");
  auto lines = LogLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(";VeltranoModule;TranslateObjectString;"), std::string::npos);
  EXPECT_NE(lines[0].find("Language_9"), std::string::npos) << lines[0];
  auto shown = TakeMessages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].style, 16);

  // TranslateString gives the empty string.
  EXPECT_EQ(String(" Start", 9), "");
  lines = LogLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[1].find(";VeltranoModule;TranslateString;"), std::string::npos);
  EXPECT_EQ(TakeMessages().size(), 1u);

  // Unknown text: appended, returned, no error.
  EXPECT_EQ(Object("Feed pump", 1, 9), "Feed pump");
  EXPECT_EQ(String(" Boiler ", 9), " Boiler ");
  EXPECT_EQ(LogLines().size(), 2u);
  EXPECT_TRUE(TakeMessages().empty());
  const auto rows = ReadWithXlrd(dictionary_path());
  ASSERT_EQ(rows.size(), 9u);
  EXPECT_EQ(rows[7][0], Text("Feed pump"));
  EXPECT_EQ(rows[8][0], Text("Boiler"));
}

TEST_F(DictionaryTranslateTest, SourceColumnMissingIsAnError) {
  EXPECT_EQ(Object("Start", 7, 2), "Start");
  ASSERT_EQ(LogLines().size(), 1u);
  EXPECT_EQ(TakeMessages().size(), 1u);
  EXPECT_EQ(DictionaryRows(), 7u);
}

TEST_F(DictionaryTranslateTest, ApostrophesAreStoredSingleAndFoundAgain) {
  EXPECT_EQ(String("Operator's panel", 2), "Panneau d'opérateur");
  EXPECT_EQ(String("Pump 'A' isn't ready", 2), "Pump 'A' isn't ready");
  EXPECT_EQ(XlrdRow(dictionary_path(), 7, 3)[0], Text("Pump 'A' isn't ready"));
  object_.reset();
  object_ = CreateReady();
  ResetFlags();
  EXPECT_EQ(Object("Pump 'A' isn't ready", 1, 2), "Pump 'A' isn't ready");
  EXPECT_FALSE(session_.run.blnDictionaryUpdated);
  EXPECT_EQ(DictionaryRows(), 8u);
}

TEST_F(DictionaryTranslateTest, UnicodeRoundTripsThroughAppendsAndTheFile) {
  const std::string texts[] = {"Niveau d'eau élevé", "水位が高い", "Alarm 🚨🔥", "Ärger ß"};
  for (const auto& text : texts) EXPECT_EQ(String("  " + text, 2), "  " + text);
  const auto rows = ReadWithXlrd(dictionary_path());
  ASSERT_EQ(rows.size(), 11u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(rows[7 + i][0], Text(texts[i]));

  object_.reset();
  object_ = CreateReady();
  ResetFlags();
  for (const auto& text : texts) EXPECT_EQ(Object(text, 1, 1), text);
  // Letter case of accented letters still distinguishes entries.
  EXPECT_EQ(Object("ÄRGER ß", 1, 1), "ÄRGER ß");
  EXPECT_EQ(DictionaryRows(), 11u);
  EXPECT_EQ(String("x", 2), "x");
  EXPECT_EQ(DictionaryRows(), 13u);
}

TEST_F(DictionaryTranslateTest, TranslateStringTargetFromTheNumberTheMarkerOrGlobalLangNum) {
  object_->put_GlobalLangNum(2);
  auto picture = [](Variant v) { return std::make_shared<TestPicture>(std::move(v)); };
  auto form = [](Variant v) { return std::make_shared<TestForm>(std::move(v)); };

  EXPECT_EQ(String(" Start", 3, false, picture(Variant("2"))), " Avvio");
  EXPECT_EQ(String("Start", 0, false, picture(Variant(std::int16_t{3}))), "Avvio");
  EXPECT_EQ(String("Start", 0, false, picture(Variant(" 3 "))), "Avvio");
  EXPECT_EQ(String("Start", 0, false, picture(Variant("3"))), "Avvio");
  EXPECT_EQ(String("Start", 0, false, picture(Variant(""))), "Démarrer");
  EXPECT_EQ(String("Start", 0, false, picture(Variant("abc"))), "Démarrer");
  EXPECT_EQ(String("Start", 0, false, picture(Variant())), "Démarrer");
  EXPECT_EQ(String("Start", 0, false, form(Variant("3"))), "Avvio");
  EXPECT_EQ(String("Start", 0, false, form(Variant(""))), "Démarrer");
  // 2.6 reads as 3 (rounded as the host converts numbers).
  EXPECT_EQ(String("Start", 0, false, form(Variant("2.6"))), "Avvio");
  // The development language: nothing looked up.
  EXPECT_EQ(String("Start", 0, false, form(Variant("1"))), "Start");
  EXPECT_TRUE(TakeMessages().empty());
  EXPECT_TRUE(LogLines().empty());
}

TEST_F(DictionaryTranslateTest, TranslateStringMarkerFailuresAreReported) {
  // Beyond the 16-bit range.
  EXPECT_EQ(String("Start", 0, false, std::make_shared<TestPicture>(Variant("40000"))), "");
  // A form has no Comments, a picture no Tag: each is read by its own member.
  class Bare : public automation::DispatchObject {
   public:
    std::string TypeName() const override { return "Bare"; }
  };
  EXPECT_EQ(String("Start", 0, false, std::make_shared<Bare>()), "");
  const auto lines = LogLines();
  ASSERT_EQ(lines.size(), 2u);
  for (const auto& line : lines) {
    EXPECT_NE(line.find(";VeltranoModule;TranslateString;"), std::string::npos) << line;
  }
  EXPECT_NE(lines[1].find("Comments"), std::string::npos) << lines[1];
}

TEST_F(DictionaryTranslateTest, TranslateStringParameterMessage) {
  EXPECT_EQ(String("  Start ", 0), "  Start ");
  const auto shown = TakeMessages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].title, " Veltrano - WARNING");
  EXPECT_EQ(shown[0].style, 48);
  EXPECT_EQ(shown[0].text,
            "\"TranslateString\" method parameters are wrong !\r\n"
            "Translation of the string \"  Start \" is not possible.");
  EXPECT_EQ(DictionaryRows(), 7u);
}

TEST_F(DictionaryTranslateTest, TranslateStringDevelopmentLanguageLooksNothingUp) {
  EXPECT_EQ(String(" Unknown text ", 1, true), " Unknown text ");
  EXPECT_TRUE(TakeMessages().empty());
  EXPECT_FALSE(session_.run.blnDictionaryUpdated);
  EXPECT_EQ(DictionaryRows(), 7u);
}

TEST_F(DictionaryTranslateTest, TranslateStringMissingTranslationMessage) {
  const std::string expected_file = (veltrano_dir() / "Veltrano.xls").string();
  EXPECT_EQ(String(" Steam drum ", 2, true), " Steam drum ");
  auto shown = TakeMessages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].title, " Veltrano - WARNING");
  EXPECT_EQ(shown[0].style, 48);
  EXPECT_EQ(shown[0].text,
            "Interpreter cannot find the translation of the string \"Steam drum\" from Language_1 "
            "to Language_2 !\r\nYou can find the string to translate in the dictionary of the "
            "interpreter file \"" +
                expected_file + "\" .");
  // Appended before the call returned.
  EXPECT_EQ(XlrdRow(dictionary_path(), 7, 3)[0], Text("Steam drum"));
  EXPECT_TRUE(session_.run.blnDictionaryUpdated);
  // TranslateString leaves the missing flags alone.
  EXPECT_FALSE(object_->MissingTranslations());
  EXPECT_FALSE(session_.run.blnMissingTranslationsFound);

  // Found with an empty target: the same message, with the target.
  EXPECT_EQ(String("Stop", 3, true), "Stop");
  shown = TakeMessages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].text.find("\"Stop\" from Language_1 to Language_3 !"), std::string::npos);

  // Without the caller's request, no message.
  EXPECT_EQ(String("Stop", 3, false), "Stop");
  EXPECT_EQ(String("Brand new", 3, false), "Brand new");
  EXPECT_TRUE(TakeMessages().empty());
  EXPECT_FALSE(object_->MissingTranslations());
}

TEST_F(DictionaryTranslateTest, TranslateStringWithWarningsOffInTheConfiguration) {
  object_.reset();
  WriteIni("ShowWarningsForMissingTranslations", "N");
  object_ = CreateReady();
  EXPECT_EQ(String("Brand new", 2, true), "Brand new");
  EXPECT_EQ(String("Stop", 3, true), "Stop");
  EXPECT_TRUE(TakeMessages().empty());
}

TEST_F(DictionaryTranslateTest, TranslateStringByNameThroughDispatch) {
  std::vector<Variant> args{Variant("  Start "), Variant(), Variant(std::int16_t{2}),
                            Variant(false)};
  EXPECT_EQ(automation::Call(object_, "TranslateString", args).ToString(), "  Démarrer ");
  // The input is passed by reference and comes back unchanged.
  EXPECT_EQ(args[0].ToString(), "  Start ");
}

TEST_F(DictionaryTranslateTest, GuardReturnsTheInputWithoutAnyLookup) {
  object_.reset();
  WriteIni("InterpreterEnabled", "N");
  object_ = std::make_shared<VeltranoModule>(session_);
  const std::string before = ReadFile(dictionary_path());
  EXPECT_EQ(String(" Unknown ", 2, true), " Unknown ");
  EXPECT_EQ(String(" Unknown ", 0, true), " Unknown ");
  EXPECT_TRUE(TakeMessages().empty());
  EXPECT_EQ(ReadFile(dictionary_path()), before);
}

// A disk that takes no save: neither a new file nor a change in place.
class FullDisk : public system::EnvWrapper {
 public:
  FullDisk() : EnvWrapper(system::Env::Default()) {}
  std::unique_ptr<system::AtomicFile> NewAtomicFile(const std::string& path) override {
    throw system::SystemError(ENOSPC, "Cannot write the file '" + path + "'");
  }
  std::unique_ptr<system::RandomRWFile> NewRandomRWFile(const std::string& path) override {
    throw system::SystemError(ENOSPC, "Cannot write the file '" + path + "'");
  }
};

TEST_F(DictionaryTranslateTest, AFailedSaveIsReportedOnceInTheCallThatAppended) {
  {
    FullDisk disk;
    system::ScopedEnvOverride use(&disk);
    EXPECT_EQ(String("Boiler", 2), "Boiler");
    const auto messages = TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].text.find("Veltrano.xls"), std::string::npos) << messages[0].text;
    // Later calls that append nothing neither retry nor report it.
    EXPECT_EQ(String("Stop", 2), "Arrêt");
    EXPECT_EQ(String("Start", 2), "Démarrer");
    EXPECT_TRUE(TakeMessages().empty());
  }
  EXPECT_EQ(String("Stop", 2), "Arrêt");
  EXPECT_EQ(DictionaryRows(), 7u);  // not retried
  // The next call that appends saves both texts.
  EXPECT_EQ(String("Pump", 2), "Pump");
  EXPECT_TRUE(TakeMessages().empty());
  const auto rows = ReadWithXlrd(dictionary_path());
  ASSERT_EQ(rows.size(), 9u);
  EXPECT_EQ(rows[7][0], Text("Boiler"));
  EXPECT_EQ(rows[8][0], Text("Pump"));
}

}  // namespace
}  // namespace vt::dictionary::testing
