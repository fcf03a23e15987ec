// Change of the development language: a check pass, then a converting pass.
#include <exception>
#include <string>

#include "library/interpreter/mod_err_handler.h"
#include "library/maintenance/maintenance.h"
#include "platform/system/private_profile.h"

namespace vt::maintenance {

bool Maintenance::WriteNewDevelopmentLanguage(std::int16_t new_dev_lang) {
  const interpreter::Configuration& configuration = session_.configuration;
  const std::string ini_path = configuration.Files().Configuration();
  const std::string updated = std::to_string(new_dev_lang);
  const std::string former = std::to_string(configuration.intDevLangNum);
  // Both keys in one replacement: a run stopped between two writes would
  // leave the former development language nowhere.
  const system::ProfileEntry keys[] = {
      {"DevelopmentLanguageNumber", updated},
      {"StartingLanguageNumber", former},
  };
  std::string error;
  if (!system::WritePrivateProfileStrings("PARAMETERS", keys, ini_path, &error)) {
    errors_.HandleError("VeltranoModule", "ChangeDevLang", error, "");
    return false;
  }
  return true;
}

void Maintenance::ChangeDevLang() {
  try {
    if (!StartRun(interpreter::MaintenanceKind::ChangeDevLang)) return;

    const std::int16_t new_dev_lang = session_.configuration.intStartLangNum;
    RunSaves saves;
    const PicturePass check =
        TranslateSelectedPictures(new_dev_lang, saves, "ChangeDevLang", nullptr);
    if (!SaveRunRows(saves, "ChangeDevLang", true)) return;
    if (check.failed_pictures > 0) {
      messages_.ChangeAnalysisFailed(check.failed_pictures, new_dev_lang);
      return;
    }
    if (session_.run.blnDictionaryUpdated) {
      messages_.ChangeDictionaryUpdated(new_dev_lang);
      return;
    }
    if (check.blnMissingTranslations) {
      messages_.ChangeTranslationsMissing(new_dev_lang);
      return;
    }

    session_.run.blnDevLangSecondPass = true;
    const PicturePass conversion =
        TranslateSelectedPictures(new_dev_lang, saves, "ChangeDevLang", nullptr);
    if (conversion.failed_pictures > 0) {
      messages_.ChangeConversionFailed(conversion.failed_pictures,
                                       session_.configuration.intDevLangNum);
      return;
    }

    if (!WriteNewDevelopmentLanguage(new_dev_lang)) return;
    messages_.ChangeDone(new_dev_lang);
  } catch (const std::exception& e) {
    errors_.HandleError("VeltranoModule", "ChangeDevLang", e.what(), "");
  }
}

}  // namespace vt::maintenance
