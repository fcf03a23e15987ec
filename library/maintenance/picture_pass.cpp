// The maintenance runs' walk over the chosen pictures.
#include <string>
#include <vector>

#include "library/interpreter/module_state.h"
#include "library/interpreter/veltrano_module.h"
#include "platform/ui/msgbox.h"

namespace vt::interpreter {

VeltranoModule::PicturePass VeltranoModule::TranslateSelectedPictures(std::int16_t intLang) {
  PicturePass pass;
  const std::vector<std::string> strPictures = Module().strSelectedPictures;
  for (const std::string& strName : strPictures) {
    blnMissingTranslations = false;
    blnTranslationFailed = false;
    std::string strFixPicture = strName;
    std::int16_t intLocalLanguageNumber = intLang;
    std::string strUserName;
    TranslatePicture(strFixPicture, intLocalLanguageNumber, strUserName);
    if (blnMissingTranslations) pass.blnMissingTranslations = true;
    if (blnTranslationFailed) ++pass.intFailedPictures;
    ui::DoEvents();
  }
  return pass;
}

}  // namespace vt::interpreter
