// Creation steps that open the two dictionary workbooks.
#include <string>

#include "library/dictionary/connection.h"
#include "library/dictionary/normalise.h"
#include "library/dictionary/row_set.h"
#include "library/interpreter/module_state.h"
#include "library/interpreter/veltrano_module.h"
#include "platform/system/env.h"
#include "platform/system/paths.h"
#include "platform/system/utf8_path.h"
#include "platform/ui/msgbox.h"

namespace vt::interpreter {
namespace {

// The workbook's existence test; shows the missing-file message when absent.
bool WorkbookExists(const std::string& strPath) {
  if (system::CurrentEnv().FileExists(strPath)) return true;
  ui::RestoreDefaultMousePointer();
  ui::DoEvents();
  ui::MsgBox("The file \"" + strPath +
                 "\" does not exist:\r\nVeltrano cannot start.\r\n\r\nPlease call your supplier !",
             ui::kStyleCritical, " Veltrano - WARNING");
  return false;
}

}  // namespace

bool VeltranoModule::OpenDictionaries() {
  const std::string strFolder = Module().strFixPath + system::SystemPath("\\Veltrano\\");
  const std::string strDictionary = strFolder + "Veltrano.xls";
  const std::string strAlarmDictionary = strFolder + "Veltrano_Alm.xls";
  if (!WorkbookExists(strDictionary) || !WorkbookExists(strAlarmDictionary)) {
    blnDisabled = true;
    return false;
  }

  cnDictionary = dictionary::Connection::Open(system::PathFromUtf8(strDictionary));
  if (dictionary::NormaliseSheet(cnDictionary->Sheet())) cnDictionary->Commit();
  rsDictionary = std::make_shared<dictionary::RowSet>(cnDictionary);

  cnAlarmDictionary = dictionary::Connection::Open(system::PathFromUtf8(strAlarmDictionary));
  rsAlarmDictionary = std::make_shared<dictionary::RowSet>(cnAlarmDictionary);
  return true;
}

}  // namespace vt::interpreter
