#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_FORMS
#error "library/forms/form_translator.h is above the component that includes it"
#endif

#include <cstdint>
#include <string>

#include "library/interpreter/session_fwd.h"
#include "platform/automation/dispatch.h"

namespace vt::dictionary {
class ObjectTexts;
class TextTranslator;
}  // namespace vt::dictionary

namespace vt::forms {

// Translation of one VBA UserForm and of its controls. Failures are
// reported as the interpreter object's.
class FormTranslator {
 public:
  FormTranslator(const dictionary::ObjectTexts& texts, dictionary::TextTranslator& translator,
                 const interpreter::UserLanguage& users,
                 const interpreter::Configuration& configuration, const interpreter::RunFlags& run,
                 interpreter::Messages& messages, const interpreter::ErrorReporter& errors,
                 bool& blnMissingTranslations)
      : texts_(texts),
        translator_(translator),
        users_(users),
        configuration_(configuration),
        run_(run),
        messages_(messages),
        errors_(errors),
        blnMissingTranslations_(blnMissingTranslations) {}

  // The body of TranslateForm, after its guard.
  void TranslateForm(const automation::ObjectRef& objUserForm, std::int16_t intLocalLanguageNumber,
                     const std::string& strUserName);
  void TranslateFormObject(const automation::ObjectRef& objControl, std::int16_t intFromLang,
                           std::int16_t intToLang);
  void TranslateMultiPage(const automation::ObjectRef& objMultiPage, std::int16_t intFromLang,
                          std::int16_t intToLang);

 private:
  const dictionary::ObjectTexts& texts_;
  dictionary::TextTranslator& translator_;
  const interpreter::UserLanguage& users_;
  const interpreter::Configuration& configuration_;
  const interpreter::RunFlags& run_;
  interpreter::Messages& messages_;
  const interpreter::ErrorReporter& errors_;
  bool& blnMissingTranslations_;
};

}  // namespace vt::forms
