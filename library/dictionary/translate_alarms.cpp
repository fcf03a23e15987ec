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
    std::int16_t intOriginalLanguageNumber, bool blnRestoreOriginalStrings, bool refused) {
  try {
    // The host's recordset (the data-access component's in a real host; on
    // Windows FIX.exe's, made by its own copy of our data code) is worked
    // through its own members, so that the caller sees the translations.
    const std::unique_ptr<data::WorkingRecordset> working =
        data::WorkingRecordset::CloneOf(rsToTranslate);
    if (refused) return working->Object();
    if (working->Eof()) return working->Object();
    if (!objPictureOrForm && intRequestedLanguageNumber == 0) {
      messages_.AlarmsParametersWrong();
      return working->Object();
    }

    const std::int16_t requested = RequestedLanguage(intRequestedLanguageNumber, objPictureOrForm);
    const std::int16_t original =
        intOriginalLanguageNumber != 0 ? intOriginalLanguageNumber : configuration_.intDevLangNum;
    if (!blnRestoreOriginalStrings && requested == original) return working->Object();

    const std::shared_ptr<RowSet>& rsAlarmDictionary = fields_.rsAlarmDictionary;
    if (!rsAlarmDictionary) throw automation::errors::ObjectNotSet();
    if (intFieldToTranslate < 0) throw automation::errors::SubscriptOutOfRange();
    const auto field = static_cast<std::size_t>(intFieldToTranslate);
    const std::string original_column = LanguageColumn(original);
    const std::string requested_column = LanguageColumn(requested);
    bool missing_alarm_translation = false;
    for (; !working->Eof(); working->MoveNext()) {
      ui::DoEvents();
      const std::string strText = working->Value(field).ToString();
      // Every text contains the blank one: it would take the first row's.
      if (automation::text::Trim(strText).empty()) continue;
      const auto row = rsAlarmDictionary->FindContaining(original_column, strText);
      if (!row) {
        Insert(*fields_.cnAlarmDictionary, original_column, strText);
        rsAlarmDictionary->Requery();
        missing_alarm_translation = true;
        continue;
      }
      const std::string_view translation = rsAlarmDictionary->Value(*row, requested_column);
      if (translation.empty()) {
        missing_alarm_translation = true;
        continue;
      }
      working->SetValue(field, automation::Variant(translation));
      working->Update();
    }

    automation::ObjectRef result = working->Clone();
    if (missing_alarm_translation && configuration_.blnShowWarnings) {
      messages_.AlarmsNotTranslated(original, requested, configuration_.Files().AlarmDictionary());
    }
    return result;
  } catch (const std::exception& e) {
    errors_.HandleError("VeltranoModule", "TranslateAlarmsRecordset", e.what(), "");
    return nullptr;
  }
}

}  // namespace vt::dictionary
