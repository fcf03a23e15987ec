#include "library/interpreter/translation_warnings.h"

#include "library/interpreter/module_state.h"
#include "platform/system/paths.h"
#include "platform/ui/msgbox.h"

namespace vt::interpreter {
namespace {

std::string DictionaryPath() {
  return Module().strFixPath + system::SystemPath("\\Veltrano\\Veltrano.xls");
}

}  // namespace

void ShowCannotFindTranslations(std::int16_t intFromLang, std::int16_t intToLang) {
  ui::MsgBox("Interpreter cannot find the translation of one or more strings from Language_" +
                 std::to_string(intFromLang) + " to Language_" + std::to_string(intToLang) +
                 " !\r\nYou can find all the strings to translate in the dictionary of the "
                 "interpreter file \"" +
                 DictionaryPath() + "\" .",
             ui::kStyleExclamation, " Veltrano - WARNING");
}

void ShowBeforeTranslating(std::string_view strKind, const std::string& strName,
                           std::int16_t intFromLang, std::int16_t intToLang) {
  ui::MsgBox("Before translating the " + std::string(strKind) + " \"" + strName +
                 "\" from the Language_" + std::to_string(intFromLang) + " to the Language_" +
                 std::to_string(intToLang) +
                 "\r\nyou must insert all the missing translations in the interpreter file \"" +
                 DictionaryPath() + "\" .",
             ui::kStyleExclamation, " Veltrano - WARNING");
}

}  // namespace vt::interpreter
