// What picture objects and form controls share: the name prefix filter and
// the replacement of one text property by its translation.
#include "library/dictionary/dictionary.h"
#include "library/interpreter/session.h"
#include "platform/automation/text.h"

namespace vt::dictionary {

bool ObjectTexts::PassesPrefixFilter(const automation::ObjectRef& objObject) const {
  if (!GetObjectsPrefix_) return true;
  const std::string strName = automation::Get(objObject, "Name").ToString();
  return automation::text::Left(strName, configuration_.bytObjectsTargetPrefixLen) ==
         configuration_.strObjectsTargetPrefix;
}

std::string ObjectTexts::ReplaceText(const automation::ObjectRef& objObject,
                                     std::string_view strProperty, std::int16_t intFromLang,
                                     std::int16_t intToLang) const {
  std::string strText = automation::Get(objObject, strProperty).ToString();
  automation::Put(
      objObject, strProperty,
      automation::Variant(translator_.TranslateObjectString(strText, intFromLang, intToLang)));
  return strText;
}

}  // namespace vt::dictionary
