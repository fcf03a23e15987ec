// Translation of one object of a picture, chosen by its type.
#include <exception>
#include <string>

#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/veltrano_module.h"

namespace vt::interpreter {

void VeltranoModule::TranslatePictureObject(const automation::ObjectRef& objPictureObject,
                                            std::int16_t& intFromLang, std::int16_t& intToLang) {
  try {
    if (!PassesPrefixFilter(objPictureObject)) return;
    const std::string strType = automation::TypeNameOf(objPictureObject);
    if (strType == "Fix2DText") {
      NoteShownText(objPictureObject, "Caption",
                    ReplaceText(objPictureObject, "Caption", intFromLang, intToLang));
    } else if (strType == "CommandButton") {
      NoteShownText(objPictureObject, "Caption",
                    ReplaceText(objPictureObject, "Caption", intFromLang, intToLang));
      NoteShownText(objPictureObject, "Description",
                    ReplaceText(objPictureObject, "Description", intFromLang, intToLang));
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
    blnTranslationFailed = true;
    HandleError("VeltranoModule", "TranslatePictureObject", e.what(), "");
  }
}

}  // namespace vt::interpreter
