#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_SESSION
#error "library/interpreter/messages.h is above the component that includes it"
#endif

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vt::interpreter {

// The two maintenance runs, as their messages tell them apart.
enum class MaintenanceKind {
  UpdateDictionary,
  ChangeDevLang,
};

// Every message the library tells its user, one member each; the front
// supplies the message boxes. Paths are shown as given.
class Messages {
 public:
  virtual ~Messages() = default;

  // Creation.
  virtual void NotInFix() = 0;
  // "... the "Veltrano.dll" cannot start.": the configuration file is missing.
  virtual void ConfigurationMissing(const std::string& path) = 0;
  virtual void ConfigurationUnreadable(const std::string& path) = 0;
  // "... Veltrano cannot start.": a dictionary workbook is missing.
  virtual void WorkbookMissing(const std::string& path) = 0;

  // String and alarm translation.
  virtual void StringNotTranslated(std::string_view text, std::int16_t from, std::int16_t to,
                                   const std::string& dictionary) = 0;
  virtual void TranslateStringParametersWrong(const std::string& text) = 0;
  virtual void AlarmsParametersWrong() = 0;
  virtual void AlarmsNotTranslated(std::int16_t from, std::int16_t to,
                                   const std::string& alarm_dictionary) = 0;

  // After a picture or a form (`kind` "picture" or "form").
  virtual void TextsNotTranslated(std::int16_t from, std::int16_t to,
                                  const std::string& dictionary) = 0;
  virtual void TranslationsMissingBefore(std::string_view kind, const std::string& name,
                                         std::int16_t from, std::int16_t to,
                                         const std::string& dictionary) = 0;

  // The maintenance runs: the start, its confirmation (true to go on) and
  // the verdicts. `failed` counts the pictures whose translation failed.
  virtual void RunInterrupted(MaintenanceKind kind) = 0;
  virtual bool ConfirmRun(MaintenanceKind kind) = 0;
  virtual void UpdatePicturesFailed(int failed, std::int16_t language) = 0;
  virtual void UpdateDictionaryUpdated(std::int16_t language) = 0;
  virtual void UpdateTranslationsMissing(std::int16_t language) = 0;
  virtual void UpdateAllTranslated(std::int16_t language) = 0;
  virtual void ChangeAnalysisFailed(int failed, std::int16_t language) = 0;
  virtual void ChangeDictionaryUpdated(std::int16_t language) = 0;
  virtual void ChangeTranslationsMissing(std::int16_t language) = 0;
  virtual void ChangeConversionFailed(int failed, std::int16_t former_development) = 0;
  virtual void ChangeDone(std::int16_t language) = 0;

  // The picture-selection dialogs. `shadowed` pairs a file left out with the
  // file listed for its entry.
  virtual void PicturesShadowed(
      const std::vector<std::pair<std::string, std::string>>& shadowed) = 0;
  virtual void NotANumber() = 0;
  virtual void NoPictureSelected() = 0;
  virtual void NoLanguageNumber() = 0;
  virtual bool ConfirmAllPicturesSelected() = 0;
};

}  // namespace vt::interpreter
