// The maintenance runs' walk over the chosen pictures.
#include <chrono>
#include <exception>
#include <string>
#include <vector>

#include "library/dictionary/connection.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/maintenance/maintenance.h"
#include "library/maintenance/place_log.h"
#include "platform/system/env.h"
#include "platform/ui/msgbox.h"

namespace vt::maintenance {

Maintenance::PicturePass Maintenance::TranslateSelectedPictures(std::int16_t intLang,
                                                                RunSaves& saves,
                                                                const char* strProcedure,
                                                                PlaceLog* places) {
  PicturePass pass;
  saves.since = system::CurrentEnv().Now();
  const std::vector<std::string> strPictures = session_.run.strSelectedPictures;
  for (const std::string& strName : strPictures) {
    fields_.blnMissingTranslations = false;
    fields_.blnTranslationFailed = false;
    std::string strFixPicture = strName;
    translate_picture_(strFixPicture, intLang);
    if (places) places->EndPicture(strName, fields_.blnTranslationFailed);
    if (fields_.blnMissingTranslations) pass.blnMissingTranslations = true;
    if (fields_.blnTranslationFailed) ++pass.intFailedPictures;
    // A host takes about a second to open a picture, so this still saves
    // after nearly every one; a run stopped anywhere loses at most a second's
    // rows, which the next run finds again on the pictures. Over quick
    // pictures the saves no longer make most of the run's time. A clock that
    // went back counts as a second passed.
    const auto now = system::CurrentEnv().Now();
    if (now < saves.since || now - saves.since >= std::chrono::seconds(1)) {
      saves.since = now;
      SaveRunRows(saves, strProcedure, false);
    }
    ui::DoEvents();
  }
  return pass;
}

bool Maintenance::SaveRunRows(RunSaves& saves, const char* strProcedure, bool blnFinal) {
  bool blnSaved = true;
  for (const auto& connection : {fields_.cnDictionary, fields_.cnAlarmDictionary}) {
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
        errors_.HandleError("VeltranoModule", strProcedure, e.what(), "");
      }
    }
    if (saves.blnFailed && connection->Unsaved()) blnSaved = false;
  }
  return blnSaved;
}

}  // namespace vt::maintenance
