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

Maintenance::PicturePass Maintenance::TranslateSelectedPictures(std::int16_t lang, RunSaves& saves,
                                                                const char* strProcedure,
                                                                PlaceLog* places) {
  PicturePass pass;
  saves.since = system::CurrentEnv().Now();
  const std::vector<std::string> selected = session_.run.strSelectedPictures;
  for (const std::string& name : selected) {
    fields_.blnMissingTranslations = false;
    fields_.translation_failed = false;
    std::string strFixPicture = name;
    translate_picture_(strFixPicture, lang);
    if (places) places->EndPicture(name, fields_.translation_failed);
    if (fields_.blnMissingTranslations) pass.blnMissingTranslations = true;
    if (fields_.translation_failed) ++pass.failed_pictures;
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

bool Maintenance::SaveRunRows(RunSaves& saves, const char* strProcedure, bool final_save) {
  bool saved = true;
  for (const auto& connection : {fields_.cnDictionary, fields_.cnAlarmDictionary}) {
    if (!connection) continue;
    try {
      if (connection->Commit(final_save && saves.failed)) saves.just_told = false;
    } catch (const std::exception& e) {
      saves.failed = true;
      // Told when it first happens, and again at the end of the run unless
      // the last save told it already.
      const bool same = e.what() == saves.last_failure;
      const bool tell = final_save ? !(same && saves.just_told) : !same;
      saves.just_told = tell;
      if (tell) {
        saves.last_failure = e.what();
        errors_.HandleError("VeltranoModule", strProcedure, e.what(), "");
      }
    }
    if (saves.failed && connection->Unsaved()) saved = false;
  }
  return saved;
}

}  // namespace vt::maintenance
