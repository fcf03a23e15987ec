// The lookup-and-append operation and the public translation of one string.
#include <exception>
#include <string>

#include "library/dictionary/connection.h"
#include "library/dictionary/dictionary.h"
#include "library/dictionary/row_set.h"
#include "library/interpreter/language_marker.h"
#include "library/interpreter/messages.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/session.h"
#include "platform/automation/error.h"
#include "platform/automation/text.h"
#include "platform/system/utf8_path.h"

namespace vt::dictionary {
namespace {

namespace text = automation::text;

// A text split into its outer blanks and the trimmed text between them.
struct Blanks {
  explicit Blanks(std::string_view s)
      : trimmed(text::Trim(s)),
        lead(trimmed.empty() ? 0 : static_cast<std::size_t>(trimmed.data() - s.data())),
        trail(trimmed.empty() ? 0 : s.size() - lead - trimmed.size()) {}

  // Built in one allocation: every shown text passes here.
  std::string Around(std::string_view translation) const {
    std::string text;
    text.reserve(lead + translation.size() + trail);
    return text.append(lead, ' ').append(translation).append(trail, ' ');
  }

  std::string_view trimmed;
  std::size_t lead;
  std::size_t trail;
};

}  // namespace

Dictionary::Dictionary(DictionaryFields fields, const interpreter::Configuration& configuration,
                       interpreter::RunFlags& run, interpreter::Messages& messages,
                       const interpreter::ErrorReporter& errors, interpreter::CallNotices& notices)
    : fields_(fields),
      configuration_(configuration),
      run_(run),
      messages_(messages),
      errors_(errors),
      notices_(notices) {}

RowSet& Dictionary::Lookup() {
  if (!fields_.rsDictionary) throw automation::errors::ObjectNotSet();
  return *fields_.rsDictionary;
}

bool Dictionary::Insert(Connection& connection, std::string_view column_name,
                        std::string_view text) {
  // The full sheet is told once in the call; the texts after it are left out
  // without a word.
  const std::string notice = "full: " + system::Utf8FromPath(connection.Path());
  if (notices_.Noted(notice)) return false;
  connection.Column(column_name);
  if (connection.Full()) notices_.First(notice);
  connection.Insert(column_name, text);
  return true;
}

bool Dictionary::AppendToDictionary(const std::string& strText, std::int16_t lang) {
  if (!fields_.cnDictionary) throw automation::errors::ObjectNotSet();
  if (!Insert(*fields_.cnDictionary, LanguageColumn(lang), strText)) return false;
  fields_.rsDictionary->Requery();
  run_.blnDictionaryUpdated = true;
  return true;
}

void Dictionary::EndCall(const char* strProcedure) {
  notices_.Clear();
  for (const auto& connection : {fields_.cnDictionary, fields_.cnAlarmDictionary}) {
    if (!connection) continue;
    try {
      connection->Commit();
    } catch (const std::exception& e) {
      errors_.HandleError("VeltranoModule", strProcedure, e.what(), "");
    }
  }
}

std::string Dictionary::TranslateObjectString(const std::string& strString,
                                              std::int16_t intFromLang, std::int16_t intToLang) {
  try {
    const Blanks blanks(strString);
    if (blanks.trimmed.empty()) return strString;

    const auto row = Lookup().FindExact(intFromLang, blanks.trimmed);
    if (!row) {
      // Not inserted: the full sheet was told once in this call; the text
      // fails as the first one did, without raising the missing flags.
      if (!AppendToDictionary(std::string(blanks.trimmed), intFromLang)) {
        fields_.translation_failed = true;
        return strString;
      }
      if (intToLang != intFromLang) {
        fields_.blnMissingTranslations = true;
        run_.blnMissingTranslationsFound = true;
      }
      return strString;
    }
    const std::string_view translation = Lookup().Value(*row, intToLang);
    if (!translation.empty()) return blanks.Around(translation);
    fields_.blnMissingTranslations = true;
    run_.blnMissingTranslationsFound = true;
    return strString;
  } catch (const MissingColumn& e) {
    // Every text of the call meets it: told once, counted for each.
    fields_.translation_failed = true;
    if (notices_.First(e.what())) {
      errors_.HandleError("VeltranoModule", "TranslateObjectString", e.what(), "");
    }
    return strString;
  } catch (const std::exception& e) {
    fields_.translation_failed = true;
    errors_.HandleError("VeltranoModule", "TranslateObjectString", e.what(), "");
    // The text stays as it is: a blank would be shown, and saved by a
    // maintenance run.
    return strString;
  }
}

std::int16_t Dictionary::RequestedLanguage(std::int16_t intLanguageNumber,
                                           const automation::ObjectRef& objPictureOrForm) const {
  if (intLanguageNumber != 0) return intLanguageNumber;
  return interpreter::MarkerLanguage(interpreter::ReadMarker(objPictureOrForm))
      .value_or(fields_.GlobalLangNum);
}

std::string Dictionary::TranslateString(const std::string& strString,
                                        const automation::ObjectRef& objPictureOrForm,
                                        std::int16_t intLanguageNumber, bool blnShowWarning) {
  try {
    const Blanks blanks(strString);
    if (blanks.trimmed.empty()) return strString;
    if (!objPictureOrForm && intLanguageNumber == 0) {
      messages_.TranslateStringParametersWrong(strString);
      return strString;
    }

    const std::int16_t dev_lang = configuration_.intDevLangNum;
    const std::int16_t target = RequestedLanguage(intLanguageNumber, objPictureOrForm);
    if (target == dev_lang) return strString;

    const std::string strText(blanks.trimmed);
    const bool shown = blnShowWarning && configuration_.blnShowWarnings;
    const auto warn = [&] {
      if (shown) {
        messages_.StringNotTranslated(strText, dev_lang, target,
                                      configuration_.Files().Dictionary());
      }
    };
    const auto row = Lookup().FindExact(dev_lang, strText);
    if (!row) {
      AppendToDictionary(strText, dev_lang);
      warn();
      return strString;
    }
    const std::string_view translation = Lookup().Value(*row, target);
    if (!translation.empty()) return blanks.Around(translation);
    warn();
    return strString;
  } catch (const std::exception& e) {
    errors_.HandleError("VeltranoModule", "TranslateString", e.what(), "");
    return std::string();
  }
}

}  // namespace vt::dictionary
