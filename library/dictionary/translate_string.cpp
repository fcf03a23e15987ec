// The lookup-and-append operation and the public translation of one string.
#include <exception>
#include <string>

#include "library/dictionary/connection.h"
#include "library/dictionary/row_set.h"
#include "library/interpreter/language_marker.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/module_state.h"
#include "library/interpreter/veltrano_module.h"
#include "platform/automation/error.h"
#include "platform/automation/text.h"
#include "platform/system/paths.h"
#include "platform/ui/msgbox.h"

namespace vt::interpreter {
namespace {

namespace text = automation::text;
using dictionary::LanguageColumn;

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

void ShowMissingTranslation(std::string_view strText, std::int16_t intTo) {
  const ModuleState& module = Module();
  ui::MsgBox("Interpreter cannot find the translation of the string \"" + std::string(strText) +
                 "\" from Language_" + std::to_string(module.intDevLangNum) + " to Language_" +
                 std::to_string(intTo) +
                 " !\r\nYou can find the string to translate in the dictionary of the "
                 "interpreter file \"" +
                 module.strFixPath + system::SystemPath("\\Veltrano\\Veltrano.xls") + "\" .",
             ui::kStyleExclamation, " Veltrano - WARNING");
}

}  // namespace

dictionary::RowSet& VeltranoModule::Dictionary() {
  if (!rsDictionary) throw automation::errors::ObjectNotSet();
  return *rsDictionary;
}

bool VeltranoModule::AppendToDictionary(const std::string& strText, std::int16_t intLang) {
  if (!cnDictionary) throw automation::errors::ObjectNotSet();
  if (cnDictionary->Insert(LanguageColumn(intLang), strText) ==
      dictionary::Connection::kNotInserted) {
    return false;
  }
  rsDictionary->Requery();
  Module().blnDictionaryUpdated = true;
  return true;
}

std::string VeltranoModule::TranslateObjectString(const std::string& strString,
                                                  std::int16_t& intFromLang,
                                                  std::int16_t& intToLang) {
  try {
    const Blanks blanks(strString);
    if (blanks.trimmed.empty()) return strString;

    const auto row = Dictionary().FindExact(intFromLang, blanks.trimmed);
    if (!row) {
      // Not inserted: the full sheet was told once in this call; the text
      // fails as the first one did, without raising the missing flags.
      if (!AppendToDictionary(std::string(blanks.trimmed), intFromLang)) {
        blnTranslationFailed = true;
        return strString;
      }
      if (intToLang != intFromLang) {
        blnMissingTranslations = true;
        Module().blnMissingTranslationsFound = true;
      }
      return strString;
    }
    const std::string_view translation = Dictionary().Value(*row, intToLang);
    if (!translation.empty()) return blanks.Around(translation);
    blnMissingTranslations = true;
    Module().blnMissingTranslationsFound = true;
    return strString;
  } catch (const dictionary::MissingColumn& e) {
    // Every text of the call meets it: told once, counted for each.
    blnTranslationFailed = true;
    if (cnDictionary->FirstInCall(e)) {
      HandleError("VeltranoModule", "TranslateObjectString", e.what(), "");
    }
    return strString;
  } catch (const std::exception& e) {
    blnTranslationFailed = true;
    HandleError("VeltranoModule", "TranslateObjectString", e.what(), "");
    // The text stays as it is: a blank would be shown, and saved by a
    // maintenance run.
    return strString;
  }
}

std::int16_t VeltranoModule::RequestedLanguage(std::int16_t intLanguageNumber,
                                               const automation::ObjectRef& objPictureOrForm) {
  if (intLanguageNumber != 0) return intLanguageNumber;
  return MarkerLanguage(ReadMarker(objPictureOrForm)).value_or(GlobalLangNum);
}

std::string VeltranoModule::TranslateString(std::string& strString,
                                            const automation::ObjectRef& objPictureOrForm,
                                            std::int16_t& intLanguageNumber, bool& blnShowWarning) {
  if (blnDisabled || blnNotInFix || NotOpenedAfterFailure(rsDictionary.get())) return strString;
  PublicCall call(*this, "TranslateString");
  try {
    const Blanks blanks(strString);
    if (blanks.trimmed.empty()) return strString;
    if (!objPictureOrForm && intLanguageNumber == 0) {
      ui::MsgBox(
          "\"TranslateString\" method parameters are wrong !\r\n"
          "Translation of the string \"" +
              strString + "\" is not possible.",
          ui::kStyleExclamation, " Veltrano - WARNING");
      return strString;
    }

    const ModuleState& module = Module();
    const std::int16_t intTarget = RequestedLanguage(intLanguageNumber, objPictureOrForm);
    if (intTarget == module.intDevLangNum) return strString;

    const std::string strText(blanks.trimmed);
    const bool blnWarn = blnShowWarning && module.blnShowWarnings;
    const auto row = Dictionary().FindExact(module.intDevLangNum, strText);
    if (!row) {
      AppendToDictionary(strText, module.intDevLangNum);
      if (blnWarn) ShowMissingTranslation(strText, intTarget);
      return strString;
    }
    const std::string_view translation = Dictionary().Value(*row, intTarget);
    if (!translation.empty()) return blanks.Around(translation);
    if (blnWarn) ShowMissingTranslation(strText, intTarget);
    return strString;
  } catch (const std::exception& e) {
    HandleError("VeltranoModule", "TranslateString", e.what(), "");
    return std::string();
  }
}

}  // namespace vt::interpreter
