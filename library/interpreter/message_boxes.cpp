#include "library/interpreter/message_boxes.h"

#include "platform/ui/msgbox.h"

namespace vt::interpreter {
namespace {

constexpr const char* kWarningTitle = " Veltrano - WARNING";

std::string Lang(std::int16_t language) { return "Language_" + std::to_string(language); }

void Warning(const std::string& text) { ui::MsgBox(text, ui::kStyleExclamation, kWarningTitle); }

// The maintenance dialogs' own titles.
void RunWarning(const std::string& text) {
  ui::MsgBox(text, ui::kStyleExclamation, " Veltrano - Warning");
}
void RunInformation(const std::string& text) {
  ui::MsgBox(text, ui::kStyleInformation, " Veltrano - Informations");
}

void CannotStart(const std::string& path, std::string_view who) {
  ui::MsgBox("The file \"" + path + "\" does not exist:\r\n" + std::string(who) +
                 " cannot start.\r\n\r\nPlease call your supplier !",
             ui::kStyleCritical, kWarningTitle);
}

// "The analysis of 1 picture has failed !", "The conversion of 2 pictures
// have failed !": the first line of a run's ending after failures.
std::string PicturesFailed(std::string_view what, int pictures) {
  const std::string count =
      pictures == 1 ? "1 picture has" : std::to_string(pictures) + " pictures have";
  return "The " + std::string(what) + " of " + count + " failed !";
}

// The verdicts both runs give, in the words of each: the change of the
// development language ends them with what the change waits for.
std::string DictionaryUpdated(std::string_view whose, std::int16_t language) {
  return "The dictionary of the " + std::string(whose) +
         " language has been UPDATED\r\nand you have to insert one or more translations to " +
         Lang(language);
}
std::string TranslationsMissing(std::int16_t language) {
  return "The dictionary of the development language was already updated,\r\n"
         "but you have to insert translations to " +
         Lang(language);
}
constexpr const char* kBeforeItBecomes = "\r\nbefore it can become the new development language !";

}  // namespace

void MessageBoxes::NotInFix() {
  ui::MsgBox("Veltrano can be referenced only by iFix !\r\nNo translation will be executed...",
             ui::kStyleCritical, kWarningTitle);
}

void MessageBoxes::ConfigurationMissing(const std::string& path) {
  CannotStart(path, "the \"Veltrano.dll\"");
}

void MessageBoxes::ConfigurationUnreadable(const std::string& path) {
  ui::MsgBox("The \"Veltrano.dll\" cannot read the file \"" + path +
                 "\".\r\n\r\nPlease call your supplier !",
             ui::kStyleCritical, kWarningTitle);
}

void MessageBoxes::WorkbookMissing(const std::string& path) { CannotStart(path, "Veltrano"); }

void MessageBoxes::StringNotTranslated(std::string_view text, std::int16_t from, std::int16_t to,
                                       const std::string& dictionary) {
  Warning("Interpreter cannot find the translation of the string \"" + std::string(text) +
          "\" from " + Lang(from) + " to " + Lang(to) +
          " !\r\nYou can find the string to translate in the dictionary of the "
          "interpreter file \"" +
          dictionary + "\" .");
}

void MessageBoxes::TranslateStringParametersWrong(const std::string& text) {
  Warning(
      "\"TranslateString\" method parameters are wrong !\r\n"
      "Translation of the string \"" +
      text + "\" is not possible.");
}

void MessageBoxes::AlarmsParametersWrong() {
  Warning(
      "\"TranslateAlarmsRecordset\" method parameters are wrong !\r\n"
      "Translation of the recordset is not possible.");
}

void MessageBoxes::AlarmsNotTranslated(std::int16_t from, std::int16_t to,
                                       const std::string& alarm_dictionary) {
  Warning("Interpreter cannot find the translation of one or more alarm strings from " +
          Lang(from) + " to " + Lang(to) +
          " !\r\nYou can find all the strings to translate in the alarms dictionary "
          "of the interpreter file \"" +
          alarm_dictionary + "\" .");
}

void MessageBoxes::TextsNotTranslated(std::int16_t from, std::int16_t to,
                                      const std::string& dictionary) {
  Warning("Interpreter cannot find the translation of one or more strings from " + Lang(from) +
          " to " + Lang(to) +
          " !\r\nYou can find all the strings to translate in the dictionary of the "
          "interpreter file \"" +
          dictionary + "\" .");
}

void MessageBoxes::TranslationsMissingBefore(std::string_view kind, const std::string& name,
                                             std::int16_t from, std::int16_t to,
                                             const std::string& dictionary) {
  Warning("Before translating the " + std::string(kind) + " \"" + name + "\" from the " +
          Lang(from) + " to the " + Lang(to) +
          "\r\nyou must insert all the missing translations in the interpreter file \"" +
          dictionary + "\" .");
}

void MessageBoxes::RunInterrupted(MaintenanceKind kind) {
  RunWarning(kind == MaintenanceKind::UpdateDictionary
                 ? "Dictionary update procedure has been interrupted !"
                 : "Development language change procedure has been interrupted !");
}

bool MessageBoxes::ConfirmRun(MaintenanceKind kind) {
  if (kind == MaintenanceKind::UpdateDictionary) {
    return ui::MsgBox(
               "DON'T DO ANYTHING while verifying and updating dictionary !\r\n"
               "This procedure will open each selected picture, then it may require a "
               "long time ...",
               ui::kStyleInfoOkCancel, " Veltrano - Information") != ui::kCancel;
  }
  return ui::MsgBox(
             "DON'T DO ANYTHING while changing the development language !\r\n"
             "This procedure will open each picture twice, then it may require a long "
             "time.\r\n"
             "Remember that it is recommended to have a BACKUP of the whole pictures "
             "folder.\r\n\r\n"
             "Do you wish to proceed ?",
             ui::kStyleQuestion, " Veltrano - Information") == ui::kYes;
}

void MessageBoxes::UpdatePicturesFailed(int failed, std::int16_t language) {
  // The verdict would hold only for the pictures that did not fail.
  RunWarning(PicturesFailed("analysis", failed) +
             "\r\nCorrect the reported errors, then verify the translations to " + Lang(language) +
             " again !");
}

void MessageBoxes::UpdateDictionaryUpdated(std::int16_t language) {
  RunWarning(DictionaryUpdated("development", language) + " !");
}

void MessageBoxes::UpdateTranslationsMissing(std::int16_t language) {
  RunWarning(TranslationsMissing(language) + " !");
}

void MessageBoxes::UpdateAllTranslated(std::int16_t language) {
  RunInformation(
      "The dictionary of the development language was already updated\r\n"
      "and all the translations to " +
      Lang(language) + " are available !");
}

void MessageBoxes::ChangeAnalysisFailed(int failed, std::int16_t language) {
  // The pictures converted half would be saved under the new marker: the run
  // stops before the converting pass.
  RunWarning(PicturesFailed("analysis", failed) +
             "\r\nNo picture has been changed: correct the reported errors\r\nbefore " +
             Lang(language) + " can become the new development language !");
}

void MessageBoxes::ChangeDictionaryUpdated(std::int16_t language) {
  RunWarning(DictionaryUpdated("current development", language) + kBeforeItBecomes);
}

void MessageBoxes::ChangeTranslationsMissing(std::int16_t language) {
  RunWarning(TranslationsMissing(language) + kBeforeItBecomes);
}

void MessageBoxes::ChangeConversionFailed(int failed, std::int16_t former_development) {
  // The pictures converted carry the new marker and the failed ones are as
  // they were, so a second run converts what is left.
  RunWarning(PicturesFailed("conversion", failed) + "\r\n" + Lang(former_development) +
             " is still the development language: correct the reported errors\r\n"
             "and run the change again to complete it !");
}

void MessageBoxes::ChangeDone(std::int16_t language) {
  RunInformation(
      "The dictionary of the previous development language was already updated\r\n"
      "and all the strings have been translated to " +
      Lang(language) + " !\r\nNow " + Lang(language) + "  is the new development language.");
}

void MessageBoxes::PicturesShadowed(
    const std::vector<std::pair<std::string, std::string>>& shadowed) {
  std::string text;
  for (const auto& [file, listed] : shadowed) {
    if (!text.empty()) text += "\r\n";
    text += "The picture \"" + file + "\" is not listed: its name differs from \"" + listed +
            "\" only in letter case !";
  }
  RunWarning(text);
}

void MessageBoxes::NotANumber() { RunWarning("You must insert a number !"); }

void MessageBoxes::NoPictureSelected() { RunWarning("You must select one or more pictures !"); }

void MessageBoxes::NoLanguageNumber() { RunWarning("You must insert a language number !"); }

bool MessageBoxes::ConfirmAllPicturesSelected() {
  return ui::MsgBox("Did you select ALL the pictures included in your iFix application ?",
                    ui::kStyleQuestion, " Veltrano - Confirmation request") == ui::kYes;
}

}  // namespace vt::interpreter
