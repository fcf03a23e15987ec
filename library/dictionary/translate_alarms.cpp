// Translation of the text column of an alarm recordset through the alarm
// dictionary.
#include <exception>
#include <memory>
#include <string>

#include "library/dictionary/connection.h"
#include "library/dictionary/row_set.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/module_state.h"
#include "library/interpreter/veltrano_module.h"
#include "platform/automation/error.h"
#include "platform/automation/text.h"
#include "platform/data/working_recordset.h"
#include "platform/system/paths.h"
#include "platform/ui/msgbox.h"

namespace vt::interpreter {

automation::ObjectRef VeltranoModule::TranslateAlarmsRecordset(
    const automation::ObjectRef& rsToTranslate, std::int16_t& intFieldToTranslate,
    const automation::ObjectRef& objPictureOrForm, std::int16_t& intRequestedLanguageNumber,
    std::int16_t& intOriginalLanguageNumber, bool& blnRestoreOriginalStrings) {
  PublicCall call(*this, "TranslateAlarmsRecordset");
  try {
    // The host's recordset (the data-access component's in a real host; on
    // Windows FIX.exe's, made by its own copy of our data code) is worked
    // through its own members, so that the caller sees the translations.
    const std::unique_ptr<data::WorkingRecordset> rsWorking =
        data::WorkingRecordset::CloneOf(rsToTranslate);
    if (blnDisabled || blnNotInFix || NotOpenedAfterFailure(rsAlarmDictionary.get())) {
      return rsWorking->Object();
    }
    if (rsWorking->Eof()) return rsWorking->Object();
    if (!objPictureOrForm && intRequestedLanguageNumber == 0) {
      ui::MsgBox(
          "\"TranslateAlarmsRecordset\" method parameters are wrong !\r\n"
          "Translation of the recordset is not possible.",
          ui::kStyleExclamation, " Veltrano - WARNING");
      return rsWorking->Object();
    }

    const ModuleState& module = Module();
    const std::int16_t intRequested =
        RequestedLanguage(intRequestedLanguageNumber, objPictureOrForm);
    const std::int16_t intOriginal =
        intOriginalLanguageNumber != 0 ? intOriginalLanguageNumber : module.intDevLangNum;
    if (!blnRestoreOriginalStrings && intRequested == intOriginal) return rsWorking->Object();

    if (!rsAlarmDictionary) throw automation::errors::ObjectNotSet();
    if (intFieldToTranslate < 0) throw automation::errors::SubscriptOutOfRange();
    const auto field = static_cast<std::size_t>(intFieldToTranslate);
    const std::string strOriginalColumn = dictionary::LanguageColumn(intOriginal);
    const std::string strRequestedColumn = dictionary::LanguageColumn(intRequested);
    bool blnMissingAlarmTranslation = false;
    for (; !rsWorking->Eof(); rsWorking->MoveNext()) {
      ui::DoEvents();
      const std::string strText = rsWorking->Value(field).ToString();
      // Every text contains the blank one: it would take the first row's.
      if (automation::text::Trim(strText).empty()) continue;
      const auto row = rsAlarmDictionary->FindContaining(strOriginalColumn, strText);
      if (!row) {
        cnAlarmDictionary->Insert(strOriginalColumn, strText);
        rsAlarmDictionary->Requery();
        blnMissingAlarmTranslation = true;
        continue;
      }
      const std::string_view translation = rsAlarmDictionary->Value(*row, strRequestedColumn);
      if (translation.empty()) {
        blnMissingAlarmTranslation = true;
        continue;
      }
      rsWorking->SetValue(field, automation::Variant(translation));
      rsWorking->Update();
    }

    automation::ObjectRef result = rsWorking->Clone();
    if (blnMissingAlarmTranslation && module.blnShowWarnings) {
      ui::MsgBox(
          "Interpreter cannot find the translation of one or more alarm strings from "
          "Language_" +
              std::to_string(intOriginal) + " to Language_" + std::to_string(intRequested) +
              " !\r\nYou can find all the strings to translate in the alarms dictionary "
              "of the interpreter file \"" +
              module.strFixPath + system::SystemPath("\\Veltrano\\Veltrano_Alm.xls") + "\" .",
          ui::kStyleExclamation, " Veltrano - WARNING");
    }
    return result;
  } catch (const std::exception& e) {
    HandleError("VeltranoModule", "TranslateAlarmsRecordset", e.what(), "");
    return nullptr;
  }
}

}  // namespace vt::interpreter
