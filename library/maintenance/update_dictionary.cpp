// Dictionary update and verification over the chosen pictures.
#include <exception>
#include <optional>
#include <string>

#include "library/dictionary/dictionary.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/maintenance/coverage.h"
#include "library/maintenance/form_views.h"
#include "library/maintenance/maintenance.h"
#include "library/maintenance/picture_selection_form.h"
#include "library/maintenance/place_log.h"
#include "library/pictures/picture_translator.h"

namespace vt::maintenance {
namespace {

// Points the picture translation at the run's place log while the pictures
// are walked.
class NotingPlaces {
 public:
  NotingPlaces(pictures::PictureTranslator& pictures, PlaceLog& places) : pictures_(pictures) {
    pictures_.NotePlaces(&places);
  }
  ~NotingPlaces() { pictures_.NotePlaces(nullptr); }
  NotingPlaces(const NotingPlaces&) = delete;
  NotingPlaces& operator=(const NotingPlaces&) = delete;

 private:
  pictures::PictureTranslator& pictures_;
};

}  // namespace

Maintenance::Maintenance(dictionary::Dictionary& dictionary, pictures::PictureTranslator& pictures,
                         interpreter::Session& session, interpreter::Messages& messages,
                         const interpreter::ErrorReporter& errors, MaintenanceFields fields,
                         TranslatePictureCall translate_picture)
    : dictionary_(dictionary),
      pictures_(pictures),
      session_(session),
      messages_(messages),
      errors_(errors),
      fields_(fields),
      translate_picture_(std::move(translate_picture)) {}

bool Maintenance::StartRun(interpreter::MaintenanceKind kind) {
  interpreter::RunFlags& run = session_.run;
  run.blnMaintenanceRunning = true;
  run.blnDictionaryUpdated = false;
  if (kind == interpreter::MaintenanceKind::ChangeDevLang) run.blnDevLangSecondPass = false;
  {
    PictureSelectionForm form(kind, session_, messages_, errors_);
    ShowModal(form);
  }
  if (!run.blnMaintenanceRunning || !messages_.ConfirmRun(kind)) {
    messages_.RunInterrupted(kind);
    return false;
  }
  return true;
}

void Maintenance::UpdateAndVerifyDictionary() {
  try {
    if (!StartRun(interpreter::MaintenanceKind::UpdateDictionary)) return;

    const std::int16_t lang = session_.configuration.intStartLangNum;
    RunSaves saves;
    PlaceLog places;
    PicturePass pass;
    {
      const NotingPlaces noting(pictures_, places);
      pass = TranslateSelectedPictures(lang, saves, "UpdateAndVerifyDictionary", &places);
    }
    // The sheet goes into the run's last save; the report follows it.
    const std::optional<Coverage> coverage = RunCoverage(places);
    if (coverage) NoteWhereUsed(*coverage);
    const bool saved = SaveRunRows(saves, "UpdateAndVerifyDictionary", true);
    if (coverage) WriteCoverageReport(*coverage);
    if (!saved) return;

    if (pass.failed_pictures > 0) {
      messages_.UpdatePicturesFailed(pass.failed_pictures, lang);
    } else if (session_.run.blnDictionaryUpdated) {
      messages_.UpdateDictionaryUpdated(lang);
    } else if (pass.blnMissingTranslations) {
      messages_.UpdateTranslationsMissing(lang);
    } else {
      messages_.UpdateAllTranslated(lang);
    }
  } catch (const std::exception& e) {
    errors_.HandleError("VeltranoModule", "UpdateAndVerifyDictionary", e.what(), "");
  }
}

}  // namespace vt::maintenance
