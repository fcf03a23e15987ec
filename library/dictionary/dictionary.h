#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_DICTIONARY
#error "library/dictionary/dictionary.h is above the component that includes it"
#endif

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "library/interpreter/session_fwd.h"
#include "platform/automation/dispatch.h"

namespace vt::dictionary {

class Connection;
class RowSet;

// The seam pictures and forms translate through: the lookup-and-append
// operation every shown text passes.
class TextTranslator {
 public:
  // The text in the language `intToLang`, its outer blanks kept, or the text
  // itself when the dictionary has no translation (the missing flags then
  // raised).
  virtual std::string TranslateObjectString(const std::string& strString, std::int16_t intFromLang,
                                            std::int16_t intToLang) = 0;

 protected:
  ~TextTranslator() = default;
};

// What picture objects and form controls share: the object-name prefix
// filter and the replacement of one text property by its translation.
class ObjectTexts {
 public:
  ObjectTexts(TextTranslator& translator, const bool& GetObjectsPrefix,
              const interpreter::Configuration& configuration)
      : translator_(translator),
        GetObjectsPrefix_(GetObjectsPrefix),
        configuration_(configuration) {}

  bool PassesPrefixFilter(const automation::ObjectRef& object) const;
  // Replaces one text property by its translation (assigned even when
  // equal); returns the text it replaced.
  std::string ReplaceText(const automation::ObjectRef& object, std::string_view property,
                          std::int16_t intFromLang, std::int16_t intToLang) const;

 private:
  TextTranslator& translator_;
  const bool& GetObjectsPrefix_;
  const interpreter::Configuration& configuration_;
};

// The interpreter object's fields the dictionary works on.
struct DictionaryFields {
  std::shared_ptr<Connection>& cnDictionary;
  std::shared_ptr<RowSet>& rsDictionary;
  std::shared_ptr<Connection>& cnAlarmDictionary;
  std::shared_ptr<RowSet>& rsAlarmDictionary;
  const std::int16_t& GlobalLangNum;
  bool& blnMissingTranslations;
  // Raised by the failures of a picture's translation, its texts' included.
  bool& translation_failed;
};

// The two dictionary workbooks and the translation of single texts: the
// lookup-and-append, the public string translation and the alarm recordsets.
// Failures are reported as the interpreter object's ("VeltranoModule").
class Dictionary final : public TextTranslator {
 public:
  Dictionary(DictionaryFields fields, const interpreter::Configuration& configuration,
             interpreter::RunFlags& run, interpreter::Messages& messages,
             const interpreter::ErrorReporter& errors, interpreter::CallNotices& notices);

  // Creation steps 7 to 12: both workbooks checked, opened, the dictionary
  // normalised. False when a workbook is missing (told).
  bool OpenDictionaries();

  std::string TranslateObjectString(const std::string& strString, std::int16_t intFromLang,
                                    std::int16_t intToLang) override;
  // The bodies of the public operations, after their guard.
  std::string TranslateString(const std::string& strString,
                              const automation::ObjectRef& objPictureOrForm,
                              std::int16_t intLanguageNumber, bool blnShowWarning);
  // `refused`: the guard refuses, and the recordset is handed back as it is.
  automation::ObjectRef TranslateAlarmsRecordset(const automation::ObjectRef& rsToTranslate,
                                                 std::int16_t intFieldToTranslate,
                                                 const automation::ObjectRef& objPictureOrForm,
                                                 std::int16_t intRequestedLanguageNumber,
                                                 std::int16_t intOriginalLanguageNumber,
                                                 bool blnRestoreOriginalStrings, bool refused);

  // The lookup row set; throws when the dictionary was never opened.
  RowSet& Lookup();
  // The outermost public call `strProcedure` returns: what it appended is
  // saved (a failure reported under its name).
  void EndCall(const char* strProcedure);

 private:
  // The target of TranslateString / TranslateAlarmsRecordset: the number when
  // given, else the marker of the picture or form, else GlobalLangNum.
  std::int16_t RequestedLanguage(std::int16_t intLanguageNumber,
                                 const automation::ObjectRef& objPictureOrForm) const;
  // Appends `strText` under the language's column of the dictionary (a full
  // sheet raises once per public call, then leaves the texts out: false).
  bool AppendToDictionary(const std::string& strText, std::int16_t lang);
  bool Insert(Connection& connection, std::string_view column_name, std::string_view text);

  DictionaryFields fields_;
  const interpreter::Configuration& configuration_;
  interpreter::RunFlags& run_;
  interpreter::Messages& messages_;
  const interpreter::ErrorReporter& errors_;
  interpreter::CallNotices& notices_;
};

}  // namespace vt::dictionary
