// What picture objects and form controls share: the name prefix filter and
// the replacement of one text property by its translation.
#include "library/interpreter/module_state.h"
#include "library/interpreter/veltrano_module.h"
#include "platform/automation/text.h"

namespace vt::interpreter {

bool VeltranoModule::PassesPrefixFilter(const automation::ObjectRef& objObject) {
  if (!GetObjectsPrefix) return true;
  const ModuleState& module = Module();
  const std::string strName = automation::Get(objObject, "Name").ToString();
  return automation::text::Left(strName, module.bytObjectsTargetPrefixLen) ==
         module.strObjectsTargetPrefix;
}

void VeltranoModule::ReplaceText(const automation::ObjectRef& objObject,
                                 std::string_view strProperty, std::int16_t& intFromLang,
                                 std::int16_t& intToLang) {
  const std::string strText = automation::Get(objObject, strProperty).ToString();
  automation::Put(objObject, strProperty,
                  automation::Variant(TranslateObjectString(strText, intFromLang, intToLang)));
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
