// Change of the development language: a check pass, then a converting pass.
#include <exception>
#include <string>

#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/module_state.h"
#include "library/interpreter/veltrano_module.h"
#include "library/maintenance/form_views.h"
#include "library/maintenance/maintenance_run.h"
#include "library/maintenance/picture_selection_form.h"
#include "library/maintenance/run_messages.h"
#include "platform/system/paths.h"
#include "platform/system/private_profile.h"
#include "platform/ui/msgbox.h"

namespace vt::interpreter {
namespace {

void Warn(const std::string& text) {
  ui::MsgBox(text, ui::kStyleExclamation, " Veltrano - Warning");
}

void ShowInterrupted() { Warn("Development language change procedure has been interrupted !"); }

// The pictures converted half would be saved under the new marker: the run
// stops before the converting pass.
std::string FailedAnalysisText(int intFailed, const std::string& N) {
  return maintenance::PicturesFailed("analysis", intFailed) +
         "\r\nNo picture has been changed: correct the reported errors\r\nbefore Language_" + N +
         " can become the new development language !";
}

// The pictures converted carry the new marker and the failed ones are as
// they were, so a second run converts what is left.
std::string FailedConversionText(int intFailed, std::int16_t intFormerDevLang) {
  return maintenance::PicturesFailed("conversion", intFailed) + "\r\nLanguage_" +
         std::to_string(intFormerDevLang) +
         " is still the development language: correct the reported errors\r\n"
         "and run the change again to complete it !";
}

}  // namespace

bool VeltranoModule::WriteNewDevelopmentLanguage(std::int16_t intNewDevLang) {
  const ModuleState& module = Module();
  const std::string strIniPath = module.strFixPath + system::SystemPath("\\Veltrano\\Veltrano.ini");
  const std::string strNew = std::to_string(intNewDevLang);
  const std::string strFormer = std::to_string(module.intDevLangNum);
  // Both keys in one replacement: a run stopped between two writes would
  // leave the former development language nowhere.
  const system::ProfileEntry keys[] = {
      {"DevelopmentLanguageNumber", strNew},
      {"StartingLanguageNumber", strFormer},
  };
  std::string strError;
  if (!system::WritePrivateProfileStrings("PARAMETERS", keys, strIniPath, &strError)) {
    HandleError("VeltranoModule", "ChangeDevLang", strError, "");
    return false;
  }
  return true;
}

void VeltranoModule::ChangeDevLang() {
  if (maintenance::MaintenanceRun::Nested()) return;
  const maintenance::MaintenanceRun run;
  if (blnDisabled || blnNotInFix) return;
  PublicCall call(*this, "ChangeDevLang");
  try {
    ModuleState& module = Module();
    module.blnMaintenanceRunning = true;
    module.blnDictionaryUpdated = false;
    module.blnDevLangSecondPass = false;

    {
      maintenance::PictureSelectionForm form(maintenance::PictureSelectionKind::ChangeDevLang);
      maintenance::ShowModal(form);
    }
    if (!module.blnMaintenanceRunning) {
      ShowInterrupted();
      return;
    }
    if (ui::MsgBox("DON'T DO ANYTHING while changing the development language !\r\n"
                   "This procedure will open each picture twice, then it may require a long "
                   "time.\r\n"
                   "Remember that it is recommended to have a BACKUP of the whole pictures "
                   "folder.\r\n\r\n"
                   "Do you wish to proceed ?",
                   ui::kStyleQuestion, " Veltrano - Information") != ui::kYes) {
      ShowInterrupted();
      return;
    }

    const std::int16_t intNewDevLang = module.intStartLangNum;
    const std::string N = std::to_string(intNewDevLang);
    RunSaves saves;
    const PicturePass check = TranslateSelectedPictures(intNewDevLang, saves, "ChangeDevLang");
    if (!SaveRunRows(saves, "ChangeDevLang", true)) return;
    if (check.intFailedPictures > 0) {
      Warn(FailedAnalysisText(check.intFailedPictures, N));
      return;
    }
    if (module.blnDictionaryUpdated) {
      Warn(
          "The dictionary of the current development language has been UPDATED\r\n"
          "and you have to insert one or more translations to Language_" +
          N + "\r\nbefore it can become the new development language !");
      return;
    }
    if (check.blnMissingTranslations) {
      Warn(
          "The dictionary of the development language was already updated,\r\n"
          "but you have to insert translations to Language_" +
          N + "\r\nbefore it can become the new development language !");
      return;
    }

    module.blnDevLangSecondPass = true;
    const PicturePass conversion = TranslateSelectedPictures(intNewDevLang, saves, "ChangeDevLang");
    if (conversion.intFailedPictures > 0) {
      Warn(FailedConversionText(conversion.intFailedPictures, module.intDevLangNum));
      return;
    }

    if (!WriteNewDevelopmentLanguage(intNewDevLang)) return;
    ui::MsgBox(
        "The dictionary of the previous development language was already updated\r\n"
        "and all the strings have been translated to Language_" +
            N + " !\r\nNow Language_" + N + "  is the new development language.",
        ui::kStyleInformation, " Veltrano - Informations");
  } catch (const std::exception& e) {
    HandleError("VeltranoModule", "ChangeDevLang", e.what(), "");
  }
}

}  // namespace vt::interpreter
