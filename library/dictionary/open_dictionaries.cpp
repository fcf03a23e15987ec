// Creation steps that open the two dictionary workbooks.
#include <string>

#include "library/dictionary/connection.h"
#include "library/dictionary/dictionary.h"
#include "library/dictionary/normalise.h"
#include "library/dictionary/row_set.h"
#include "library/interpreter/messages.h"
#include "library/interpreter/session.h"
#include "platform/system/env.h"
#include "platform/system/utf8_path.h"
#include "platform/ui/msgbox.h"

namespace vt::dictionary {
namespace {

// The workbook's existence test; tells the missing file when absent.
bool WorkbookExists(const std::string& path, interpreter::Messages& messages) {
  if (system::CurrentEnv().FileExists(path)) return true;
  ui::RestoreDefaultMousePointer();
  ui::DoEvents();
  messages.WorkbookMissing(path);
  return false;
}

}  // namespace

bool Dictionary::OpenDictionaries() {
  const interpreter::ApplicationFiles files = configuration_.Files();
  const std::string dictionary_path = files.Dictionary();
  const std::string alarm_dictionary_path = files.AlarmDictionary();
  if (!WorkbookExists(dictionary_path, messages_) ||
      !WorkbookExists(alarm_dictionary_path, messages_)) {
    return false;
  }

  fields_.cnDictionary = Connection::Open(system::PathFromUtf8(dictionary_path));
  if (NormaliseSheet(fields_.cnDictionary->Sheet())) fields_.cnDictionary->Commit();
  fields_.rsDictionary = std::make_shared<RowSet>(fields_.cnDictionary);

  fields_.cnAlarmDictionary = Connection::Open(system::PathFromUtf8(alarm_dictionary_path));
  fields_.rsAlarmDictionary = std::make_shared<RowSet>(fields_.cnAlarmDictionary);
  return true;
}

}  // namespace vt::dictionary
