// Change of the development language: a check pass, then a converting pass.
#include <exception>
#include <string>

#include "library/interpreter/mod_err_handler.h"
#include "library/maintenance/maintenance.h"
#include "platform/system/private_profile.h"

namespace vt::maintenance {

bool Maintenance::WriteNewDevelopmentLanguage(std::int16_t intNewDevLang) {
  const interpreter::Configuration& configuration = session_.configuration;
  const std::string strIniPath = configuration.Files().Configuration();
  const std::string strNew = std::to_string(intNewDevLang);
  const std::string strFormer = std::to_string(configuration.intDevLangNum);
  // Both keys in one replacement: a run stopped between two writes would
  // leave the former development language nowhere.
  const system::ProfileEntry keys[] = {
      {"DevelopmentLanguageNumber", strNew},
      {"StartingLanguageNumber", strFormer},
  };
  std::string strError;
  if (!system::WritePrivateProfileStrings("PARAMETERS", keys, strIniPath, &strError)) {
    errors_.HandleError("VeltranoModule", "ChangeDevLang", strError, "");
    return false;
  }
  return true;
}

void Maintenance::ChangeDevLang() {
  try {
    if (!StartRun(interpreter::MaintenanceKind::ChangeDevLang)) return;

    const std::int16_t intNewDevLang = session_.configuration.intStartLangNum;
    RunSaves saves;
    const PicturePass check =
        TranslateSelectedPictures(intNewDevLang, saves, "ChangeDevLang", nullptr);
    if (!SaveRunRows(saves, "ChangeDevLang", true)) return;
    if (check.intFailedPictures > 0) {
      messages_.ChangeAnalysisFailed(check.intFailedPictures, intNewDevLang);
      return;
    }
    if (session_.run.blnDictionaryUpdated) {
      messages_.ChangeDictionaryUpdated(intNewDevLang);
      return;
    }
    if (check.blnMissingTranslations) {
      messages_.ChangeTranslationsMissing(intNewDevLang);
      return;
    }

    session_.run.blnDevLangSecondPass = true;
    const PicturePass conversion =
        TranslateSelectedPictures(intNewDevLang, saves, "ChangeDevLang", nullptr);
    if (conversion.intFailedPictures > 0) {
      messages_.ChangeConversionFailed(conversion.intFailedPictures,
                                       session_.configuration.intDevLangNum);
      return;
    }

    if (!WriteNewDevelopmentLanguage(intNewDevLang)) return;
    messages_.ChangeDone(intNewDevLang);
  } catch (const std::exception& e) {
    errors_.HandleError("VeltranoModule", "ChangeDevLang", e.what(), "");
  }
}

}  // namespace vt::maintenance
