// Translation of one UserForm and its controls.
#include <exception>
#include <string>

#include "library/interpreter/language_marker.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/module_state.h"
#include "library/interpreter/translation_warnings.h"
#include "library/interpreter/veltrano_module.h"

namespace vt::interpreter {

void VeltranoModule::TranslateForm(const automation::ObjectRef& objUserForm,
                                   std::int16_t& intLocalLanguageNumber, std::string& strUserName) {
  if (blnDisabled || blnNotInFix || NotOpenedAfterFailure(rsDictionary.get())) return;
  PublicCall call(*this, "TranslateForm");
  const ModuleState& module = Module();
  try {
    std::int16_t intCurrent =
        MarkerLanguage(automation::Get(objUserForm, "Tag")).value_or(module.intDevLangNum);
    std::int16_t intTarget = TargetLanguage(intLocalLanguageNumber, strUserName);
    if (intCurrent == intTarget) return;

    if (intCurrent != module.intDevLangNum && module.blnMissingTranslationsFound) {
      if (module.blnShowWarnings) {
        ShowBeforeTranslating("form", automation::Get(objUserForm, "Name").ToString(), intCurrent,
                              intTarget);
      }
      return;
    }

    automation::Put(objUserForm, "Tag", automation::Variant(intTarget));
    blnMissingTranslations = false;
    ReplaceText(objUserForm, "Caption", intCurrent, intTarget);
    const automation::ObjectRef objControls = automation::Get(objUserForm, "Controls").ToObject();
    for (const automation::Variant& item : automation::Enumerate(objControls)) {
      TranslateFormObject(item.ToObject(), intCurrent, intTarget);
    }
    if (blnMissingTranslations && !module.blnMaintenanceRunning && module.blnShowWarnings) {
      ShowCannotFindTranslations(intCurrent, intTarget);
    }
  } catch (const std::exception& e) {
    HandleError("VeltranoModule", "TranslateForm", e.what(), "");
  }
}

}  // namespace vt::interpreter
