// Translation of one UserForm and its controls.
#include <exception>
#include <string>

#include "library/dictionary/dictionary.h"
#include "library/forms/form_translator.h"
#include "library/interpreter/language_marker.h"
#include "library/interpreter/messages.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/session.h"
#include "library/interpreter/user_language.h"

namespace vt::forms {

void FormTranslator::TranslateForm(const automation::ObjectRef& objUserForm,
                                   std::int16_t intLocalLanguageNumber,
                                   const std::string& strUserName) {
  try {
    const std::int16_t current = interpreter::MarkerLanguage(automation::Get(objUserForm, "Tag"))
                                     .value_or(configuration_.intDevLangNum);
    const std::int16_t target = users_.TargetLanguage(intLocalLanguageNumber, strUserName);
    if (current == target) return;

    if (current != configuration_.intDevLangNum && run_.blnMissingTranslationsFound) {
      if (configuration_.blnShowWarnings) {
        messages_.TranslationsMissingBefore("form", automation::Get(objUserForm, "Name").ToString(),
                                            current, target, configuration_.Files().Dictionary());
      }
      return;
    }

    automation::Put(objUserForm, "Tag", automation::Variant(target));
    blnMissingTranslations_ = false;
    texts_.ReplaceText(objUserForm, "Caption", current, target);
    const automation::ObjectRef controls = automation::Get(objUserForm, "Controls").ToObject();
    for (const automation::Variant& item : automation::Enumerate(controls)) {
      TranslateFormObject(item.ToObject(), current, target);
    }
    if (blnMissingTranslations_ && !run_.blnMaintenanceRunning && configuration_.blnShowWarnings) {
      messages_.TextsNotTranslated(current, target, configuration_.Files().Dictionary());
    }
  } catch (const std::exception& e) {
    errors_.HandleError("VeltranoModule", "TranslateForm", e.what(), "");
  }
}

}  // namespace vt::forms
