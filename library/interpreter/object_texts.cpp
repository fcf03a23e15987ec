// What picture objects and form controls share: the name prefix filter and
// the replacement of one text property by its translation; and what an
// update run notes of them.
#include <exception>
#include <utility>
#include <vector>

#include "library/interpreter/mod_err_handler.h"
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

namespace {

std::string NameOf(const automation::ObjectRef& objObject) {
  try {
    return automation::Get(objObject, "Name").ToString();
  } catch (const std::exception&) {
    return {};  // shown all the same, under no name
  }
}

}  // namespace

void VeltranoModule::NoteShownText(const automation::ObjectRef& objObject,
                                   std::string_view strProperty,
                                   const std::string& strText) noexcept {
  if (places_ == nullptr) return;
  try {
    places_->Add(NameOf(objObject), strProperty, automation::text::Trim(strText));
  } catch (...) {
    // Out of memory: the place is left out of the report, the run goes on.
  }
}

void VeltranoModule::NoteUnreachedTexts(const automation::ObjectRef& objObject) noexcept {
  if (places_ == nullptr) return;
  try {
    if (automation::TypeNameOf(objObject) != "Fix2DGroup") return;
    // Depth first in the collections' order, however deep the groups go.
    std::vector<std::pair<std::vector<automation::Variant>, std::size_t>> open;
    open.emplace_back(
        automation::Enumerate(automation::Get(objObject, "ContainedObjects").ToObject()), 0);
    while (!open.empty()) {
      auto& [members, next] = open.back();
      if (next == members.size()) {
        open.pop_back();
        continue;
      }
      const automation::ObjectRef objMember = members[next++].ToObject();
      const std::string strType = automation::TypeNameOf(objMember);
      if (strType == "Fix2DGroup") {
        open.emplace_back(
            automation::Enumerate(automation::Get(objMember, "ContainedObjects").ToObject()), 0);
        continue;
      }
      // What translation would replace, were the object not so deep.
      if ((strType != "Fix2DText" && strType != "CommandButton") || !PassesPrefixFilter(objMember))
        continue;
      const std::string strName = NameOf(objMember);
      const auto note = [&](std::string_view strProperty) {
        places_->AddUnreached(
            strName, strProperty,
            automation::text::Trim(automation::Get(objMember, strProperty).ToString()));
      };
      note("Caption");
      if (strType == "CommandButton") note("Description");
    }
  } catch (const std::exception& e) {
    LogError("VeltranoModule", "UpdateAndVerifyDictionary",
             std::string("the objects in groups too deep to be translated were not all read: ") +
                 e.what());
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
