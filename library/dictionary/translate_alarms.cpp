// Translation of the text column of an alarm recordset through the alarm
// dictionary.
#include <exception>
#include <memory>
#include <string>

#include "library/dictionary/connection.h"
#include "library/dictionary/dictionary.h"
#include "library/dictionary/row_set.h"
#include "library/interpreter/messages.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/session.h"
#include "platform/automation/error.h"
#include "platform/automation/text.h"
#include "platform/data/working_recordset.h"
#include "platform/ui/msgbox.h"

namespace vt::dictionary {

automation::ObjectRef Dictionary::TranslateAlarmsRecordset(
    const automation::ObjectRef& rsToTranslate, std::int16_t intFieldToTranslate,
    const automation::ObjectRef& objPictureOrForm, std::int16_t intRequestedLanguageNumber,
    std::int16_t intOriginalLanguageNumber, bool blnRestoreOriginalStrings, bool blnRefused) {
  try {
    // The host's recordset (the data-access component's in a real host; on
    // Windows FIX.exe's, made by its own copy of our data code) is worked
    // through its own members, so that the caller sees the translations.
    const std::unique_ptr<data::WorkingRecordset> rsWorking =
        data::WorkingRecordset::CloneOf(rsToTranslate);
    if (blnRefused) return rsWorking->Object();
    if (rsWorking->Eof()) return rsWorking->Object();
    if (!objPictureOrForm && intRequestedLanguageNumber == 0) {
      messages_.AlarmsParametersWrong();
      return rsWorking->Object();
    }

    const std::int16_t intRequested =
        RequestedLanguage(intRequestedLanguageNumber, objPictureOrForm);
    const std::int16_t intOriginal =
        intOriginalLanguageNumber != 0 ? intOriginalLanguageNumber : configuration_.intDevLangNum;
    if (!blnRestoreOriginalStrings && intRequested == intOriginal) return rsWorking->Object();

    const std::shared_ptr<RowSet>& rsAlarmDictionary = fields_.rsAlarmDictionary;
    if (!rsAlarmDictionary) throw automation::errors::ObjectNotSet();
    if (intFieldToTranslate < 0) throw automation::errors::SubscriptOutOfRange();
    const auto field = static_cast<std::size_t>(intFieldToTranslate);
    const std::string strOriginalColumn = LanguageColumn(intOriginal);
    const std::string strRequestedColumn = LanguageColumn(intRequested);
    bool blnMissingAlarmTranslation = false;
    for (; !rsWorking->Eof(); rsWorking->MoveNext()) {
      ui::DoEvents();
      const std::string strText = rsWorking->Value(field).ToString();
      // Every text contains the blank one: it would take the first row's.
      if (automation::text::Trim(strText).empty()) continue;
      const auto row = rsAlarmDictionary->FindContaining(strOriginalColumn, strText);
      if (!row) {
        Insert(*fields_.cnAlarmDictionary, strOriginalColumn, strText);
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
    if (blnMissingAlarmTranslation && configuration_.blnShowWarnings) {
      messages_.AlarmsNotTranslated(intOriginal, intRequested,
                                    configuration_.Files().AlarmDictionary());
    }
    return result;
  } catch (const std::exception& e) {
    errors_.HandleError("VeltranoModule", "TranslateAlarmsRecordset", e.what(), "");
    return nullptr;
  }
}

}  // namespace vt::dictionary
