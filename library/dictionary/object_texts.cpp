// What picture objects and form controls share: the name prefix filter and
// the replacement of one text property by its translation.
#include "library/dictionary/dictionary.h"
#include "library/interpreter/session.h"
#include "platform/automation/text.h"

namespace vt::dictionary {

bool ObjectTexts::PassesPrefixFilter(const automation::ObjectRef& object) const {
  if (!GetObjectsPrefix_) return true;
  const std::string name = automation::Get(object, "Name").ToString();
  return automation::text::Left(name, configuration_.bytObjectsTargetPrefixLen) ==
         configuration_.strObjectsTargetPrefix;
}

std::string ObjectTexts::ReplaceText(const automation::ObjectRef& object, std::string_view property,
                                     std::int16_t intFromLang, std::int16_t intToLang) const {
  std::string strText = automation::Get(object, property).ToString();
  automation::Put(
      object, property,
      automation::Variant(translator_.TranslateObjectString(strText, intFromLang, intToLang)));
  return strText;
}

}  // namespace vt::dictionary
