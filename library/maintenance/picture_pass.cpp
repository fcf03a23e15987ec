// The maintenance runs' walk over the chosen pictures.
#include <exception>
#include <string>
#include <vector>

#include "library/dictionary/connection.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/module_state.h"
#include "library/interpreter/veltrano_module.h"
#include "library/maintenance/place_log.h"
#include "platform/ui/msgbox.h"

namespace vt::interpreter {

VeltranoModule::PicturePass VeltranoModule::TranslateSelectedPictures(std::int16_t intLang,
                                                                      RunSaves& saves,
                                                                      const char* strProcedure) {
  PicturePass pass;
  const std::vector<std::string> strPictures = Module().strSelectedPictures;
  for (const std::string& strName : strPictures) {
    blnMissingTranslations = false;
    blnTranslationFailed = false;
    std::string strFixPicture = strName;
    std::int16_t intLocalLanguageNumber = intLang;
    std::string strUserName;
    TranslatePicture(strFixPicture, intLocalLanguageNumber, strUserName);
    if (places_) places_->EndPicture(strName, blnTranslationFailed);
    if (blnMissingTranslations) pass.blnMissingTranslations = true;
    if (blnTranslationFailed) ++pass.intFailedPictures;
    // On disk before the next picture: a run stopped anywhere keeps the rows
    // of the pictures done.
    SaveRunRows(saves, strProcedure, false);
    ui::DoEvents();
  }
  return pass;
}

bool VeltranoModule::SaveRunRows(RunSaves& saves, const char* strProcedure, bool blnFinal) {
  bool blnSaved = true;
  for (const auto& connection : {cnDictionary, cnAlarmDictionary}) {
    if (!connection) continue;
    try {
      if (connection->Commit(blnFinal && saves.blnFailed)) saves.blnJustTold = false;
    } catch (const std::exception& e) {
      saves.blnFailed = true;
      // Told when it first happens, and again at the end of the run unless
      // the last save told it already.
      const bool blnSame = e.what() == saves.strLastFailure;
      const bool blnTell = blnFinal ? !(blnSame && saves.blnJustTold) : !blnSame;
      saves.blnJustTold = blnTell;
      if (blnTell) {
        saves.strLastFailure = e.what();
        HandleError("VeltranoModule", strProcedure, e.what(), "");
      }
    }
    if (saves.blnFailed && connection->Unsaved()) blnSaved = false;
  }
  return blnSaved;
}

}  // namespace vt::interpreter
