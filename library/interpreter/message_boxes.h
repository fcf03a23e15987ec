#pragma once

#include "library/interpreter/messages.h"

namespace vt::interpreter {

// The library's messages as modal message boxes: every text the user reads.
class MessageBoxes final : public Messages {
 public:
  void NotInFix() override;
  void ConfigurationMissing(const std::string& path) override;
  void ConfigurationUnreadable(const std::string& path) override;
  void WorkbookMissing(const std::string& path) override;

  void StringNotTranslated(std::string_view text, std::int16_t from, std::int16_t to,
                           const std::string& dictionary) override;
  void TranslateStringParametersWrong(const std::string& text) override;
  void AlarmsParametersWrong() override;
  void AlarmsNotTranslated(std::int16_t from, std::int16_t to,
                           const std::string& alarm_dictionary) override;

  void TextsNotTranslated(std::int16_t from, std::int16_t to,
                          const std::string& dictionary) override;
  void TranslationsMissingBefore(std::string_view kind, const std::string& name, std::int16_t from,
                                 std::int16_t to, const std::string& dictionary) override;

  void RunInterrupted(MaintenanceKind kind) override;
  bool ConfirmRun(MaintenanceKind kind) override;
  void UpdatePicturesFailed(int failed, std::int16_t language) override;
  void UpdateDictionaryUpdated(std::int16_t language) override;
  void UpdateTranslationsMissing(std::int16_t language) override;
  void UpdateAllTranslated(std::int16_t language) override;
  void ChangeAnalysisFailed(int failed, std::int16_t language) override;
  void ChangeDictionaryUpdated(std::int16_t language) override;
  void ChangeTranslationsMissing(std::int16_t language) override;
  void ChangeConversionFailed(int failed, std::int16_t former_development) override;
  void ChangeDone(std::int16_t language) override;

  void PicturesShadowed(const std::vector<std::pair<std::string, std::string>>& shadowed) override;
  void NotANumber() override;
  void NoPictureSelected() override;
  void NoLanguageNumber() override;
  bool ConfirmAllPicturesSelected() override;
};

}  // namespace vt::interpreter
