#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vt::interpreter {

// The warning after a picture or a form in which some text had no
// translation: "Interpreter cannot find the translation of one or more
// strings from Language_<from> to Language_<to> !" and where the dictionary is.
void ShowCannotFindTranslations(std::int16_t intFromLang, std::int16_t intToLang);

// The refusal to translate a picture or form that is shown in another
// language than the development one while translations are missing;
// `strKind` is "picture" or "form".
void ShowBeforeTranslating(std::string_view strKind, const std::string& strName,
                           std::int16_t intFromLang, std::int16_t intToLang);

}  // namespace vt::interpreter
