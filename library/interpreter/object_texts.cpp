// What picture objects and form controls share: the name prefix filter and
// the replacement of one text property by its translation.
#include <exception>
#include <utility>

#include "library/interpreter/module_state.h"
#include "library/interpreter/veltrano_module.h"
#include "library/maintenance/place_log.h"
#include "platform/automation/text.h"

namespace vt::interpreter {

bool VeltranoModule::PassesPrefixFilter(const automation::ObjectRef& objObject) {
  if (!GetObjectsPrefix) return true;
  const ModuleState& module = Module();
  const std::string strName = automation::Get(objObject, "Name").ToString();
  return automation::text::Left(strName, module.bytObjectsTargetPrefixLen) ==
         module.strObjectsTargetPrefix;
}

std::string VeltranoModule::ReplaceText(const automation::ObjectRef& objObject,
                                        std::string_view strProperty, std::int16_t& intFromLang,
                                        std::int16_t& intToLang) {
  std::string strText = automation::Get(objObject, strProperty).ToString();
  automation::Put(objObject, strProperty,
                  automation::Variant(TranslateObjectString(strText, intFromLang, intToLang)));
  return strText;
}

void VeltranoModule::NoteShownText(const automation::ObjectRef& objObject,
                                   std::string_view strProperty, const std::string& strText,
                                   std::int16_t intFromLang) noexcept {
  if (places_ == nullptr) return;
  try {
    std::string strName;
    try {
      strName = automation::Get(objObject, "Name").ToString();
    } catch (const std::exception&) {
      // Shown all the same, under no name.
    }
    places_->Add(std::move(strName), strProperty, automation::text::Trim(strText), intFromLang);
  } catch (...) {
    // Out of memory: the place is left out of the report, the run goes on.
  }
}

std::int16_t VeltranoModule::TargetLanguage(std::int16_t intLocalLanguageNumber,
                                            std::string& strUserName) {
  if (intLocalLanguageNumber != 0) return intLocalLanguageNumber;
  if (!strUserName.empty()) {
    if (const std::int16_t intUserLang = GetUserLang(strUserName); intUserLang != 0) {
      return intUserLang;
    }
  }
  return GlobalLangNum;
}

}  // namespace vt::interpreter
