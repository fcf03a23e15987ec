// Translation of one object of a picture, chosen by its type.
#include <exception>
#include <string>

#include "library/dictionary/dictionary.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/pictures/picture_translator.h"

namespace vt::pictures {

void PictureTranslator::TranslatePictureObject(const automation::ObjectRef& objPictureObject,
                                               std::int16_t intFromLang, std::int16_t intToLang) {
  try {
    if (!texts_.PassesPrefixFilter(objPictureObject)) return;
    const std::string type = automation::TypeNameOf(objPictureObject);
    if (type == "Fix2DText") {
      NoteShownText(objPictureObject, "Caption",
                    texts_.ReplaceText(objPictureObject, "Caption", intFromLang, intToLang));
    } else if (type == "CommandButton") {
      NoteShownText(objPictureObject, "Caption",
                    texts_.ReplaceText(objPictureObject, "Caption", intFromLang, intToLang));
      NoteShownText(objPictureObject, "Description",
                    texts_.ReplaceText(objPictureObject, "Description", intFromLang, intToLang));
    } else if (type == "AlarmSummaryOCX") {
      // An alarm summary bound to a language is shown only in that language.
      const std::string description = automation::Get(objPictureObject, "Description").ToString();
      if (description.find("Language_") != std::string::npos) {
        automation::Put(
            objPictureObject, "Visible",
            automation::Variant(description == "Language_" + std::to_string(intToLang)));
      }
    }
  } catch (const std::exception& e) {
    fields_.translation_failed = true;
    errors_.HandleError("VeltranoModule", "TranslatePictureObject", e.what(), "");
  }
}

}  // namespace vt::pictures
