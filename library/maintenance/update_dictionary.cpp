// Dictionary update and verification over the chosen pictures.
#include <exception>
#include <optional>
#include <string>

#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/module_state.h"
#include "library/interpreter/veltrano_module.h"
#include "library/maintenance/coverage.h"
#include "library/maintenance/form_views.h"
#include "library/maintenance/maintenance_run.h"
#include "library/maintenance/picture_selection_form.h"
#include "library/maintenance/place_log.h"
#include "library/maintenance/run_messages.h"
#include "platform/ui/msgbox.h"

namespace vt::interpreter {
namespace {

// Points the object at the run's place log while the pictures are walked.
class NotingPlaces {
 public:
  NotingPlaces(maintenance::PlaceLog*& target, maintenance::PlaceLog& places) : target_(target) {
    target_ = &places;
  }
  ~NotingPlaces() { target_ = nullptr; }
  NotingPlaces(const NotingPlaces&) = delete;
  NotingPlaces& operator=(const NotingPlaces&) = delete;

 private:
  maintenance::PlaceLog*& target_;
};

void ShowInterrupted() {
  ui::MsgBox("Dictionary update procedure has been interrupted !", ui::kStyleExclamation,
             " Veltrano - Warning");
}

}  // namespace

void VeltranoModule::UpdateAndVerifyDictionary() {
  if (maintenance::MaintenanceRun::Nested()) return;
  const maintenance::MaintenanceRun run;
  if (blnDisabled || blnNotInFix) return;
  PublicCall call(*this, "UpdateAndVerifyDictionary");
  try {
    ModuleState& module = Module();
    module.blnMaintenanceRunning = true;
    module.blnDictionaryUpdated = false;

    {
      maintenance::PictureSelectionForm form(maintenance::PictureSelectionKind::UpdateDictionary);
      maintenance::ShowModal(form);
    }
    if (!module.blnMaintenanceRunning) {
      ShowInterrupted();
      return;
    }
    if (ui::MsgBox("DON'T DO ANYTHING while verifying and updating dictionary !\r\n"
                   "This procedure will open each selected picture, then it may require a long "
                   "time ...",
                   ui::kStyleInfoOkCancel, " Veltrano - Information") == ui::kCancel) {
      ShowInterrupted();
      return;
    }

    RunSaves saves;
    maintenance::PlaceLog places;
    PicturePass pass;
    {
      const NotingPlaces noting(places_, places);
      pass = TranslateSelectedPictures(module.intStartLangNum, saves, "UpdateAndVerifyDictionary");
    }
    // The sheet goes into the run's last save; the report follows it.
    const std::optional<maintenance::Coverage> coverage = RunCoverage(places);
    if (coverage) NoteWhereUsed(*coverage);
    const bool blnSaved = SaveRunRows(saves, "UpdateAndVerifyDictionary", true);
    if (coverage) WriteCoverageReport(*coverage);
    if (!blnSaved) return;

    const std::string N = std::to_string(module.intStartLangNum);
    if (pass.intFailedPictures > 0) {
      // The verdict would hold only for the pictures that did not fail.
      ui::MsgBox(maintenance::PicturesFailed("analysis", pass.intFailedPictures) +
                     "\r\nCorrect the reported errors, then verify the translations to "
                     "Language_" +
                     N + " again !",
                 ui::kStyleExclamation, " Veltrano - Warning");
    } else if (module.blnDictionaryUpdated) {
      ui::MsgBox(
          "The dictionary of the development language has been UPDATED\r\n"
          "and you have to insert one or more translations to Language_" +
              N + " !",
          ui::kStyleExclamation, " Veltrano - Warning");
    } else if (pass.blnMissingTranslations) {
      ui::MsgBox(
          "The dictionary of the development language was already updated,\r\n"
          "but you have to insert translations to Language_" +
              N + " !",
          ui::kStyleExclamation, " Veltrano - Warning");
    } else {
      ui::MsgBox(
          "The dictionary of the development language was already updated\r\n"
          "and all the translations to Language_" +
              N + " are available !",
          ui::kStyleInformation, " Veltrano - Informations");
    }
  } catch (const std::exception& e) {
    HandleError("VeltranoModule", "UpdateAndVerifyDictionary", e.what(), "");
  }
}

}  // namespace vt::interpreter
