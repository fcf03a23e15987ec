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
    const std::string strType = automation::TypeNameOf(objPictureObject);
    if (strType == "Fix2DText") {
      NoteShownText(objPictureObject, "Caption",
                    texts_.ReplaceText(objPictureObject, "Caption", intFromLang, intToLang));
    } else if (strType == "CommandButton") {
      NoteShownText(objPictureObject, "Caption",
                    texts_.ReplaceText(objPictureObject, "Caption", intFromLang, intToLang));
      NoteShownText(objPictureObject, "Description",
                    texts_.ReplaceText(objPictureObject, "Description", intFromLang, intToLang));
    } else if (strType == "AlarmSummaryOCX") {
      // An alarm summary bound to a language is shown only in that language.
      const std::string strDescription =
          automation::Get(objPictureObject, "Description").ToString();
      if (strDescription.find("Language_") != std::string::npos) {
        automation::Put(
            objPictureObject, "Visible",
            automation::Variant(strDescription == "Language_" + std::to_string(intToLang)));
      }
    }
  } catch (const std::exception& e) {
    fields_.blnTranslationFailed = true;
    errors_.HandleError("VeltranoModule", "TranslatePictureObject", e.what(), "");
  }
}

}  // namespace vt::pictures
