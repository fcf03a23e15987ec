#include "library/interpreter/veltrano_module.h"

#include <exception>

#include "library/dictionary/connection.h"
#include "library/dictionary/row_set.h"
#include "library/interpreter/dispatch_args.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/mod_ini_handler.h"
#include "library/interpreter/mod_process_list.h"
#include "library/interpreter/module_state.h"
#include "library/maintenance/form_views.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "platform/data/quote.h"
#include "platform/data/recordset.h"
#include "platform/ui/msgbox.h"

namespace vt::interpreter {
namespace {

using automation::Variant;

// A fresh, unconnected user list: User (fixed text of 100), Lang (Long).
std::shared_ptr<data::Recordset> NewUserList() {
  return data::Recordset::Create(
      {data::FieldDef::FixedText("User", 100), data::FieldDef::Long("Lang")});
}

void CloseUserList() noexcept {
  try {
    auto& users = Module().rsUsersLang;
    if (users) users->Close();
    users.reset();
  } catch (...) {
    // Termination ignores every failure.
  }
}

}  // namespace

VeltranoModule::VeltranoModule() {
  ++Module().intObjectsAlive;
  RegisterMembers();
  Class_Initialize();
}

VeltranoModule::~VeltranoModule() { Class_Terminate(); }

std::string VeltranoModule::TypeName() const { return "VeltranoModule"; }

void VeltranoModule::Class_Initialize() {
  ModuleState& module = Module();

  std::string strProcessName = "FIX.exe";
  if (!SearchInProcessList(strProcessName)) {
    ui::MsgBox("Veltrano can be referenced only by iFix !\r\nNo translation will be executed...",
               ui::kStyleCritical, " Veltrano - WARNING");
    blnNotInFix = true;
    lifecycle_ = Lifecycle::OutsideHost;
    return;
  }

  try {
    {
      automation::ObjectRef workspace = automation::GetObject("", "Workspace.Application");
      automation::ObjectRef system = automation::Get(workspace, "System").ToObject();
      module.strFixPath =
          automation::Call(system, "FixPath", {Variant(static_cast<std::int16_t>(1))}).ToString();
    }

    if (module.rsUsersLang) module.rsUsersLang->Close();
    module.rsUsersLang = NewUserList();

    bool blnInterpreterEnabled = false;
    if (!ReadIniFile(blnInterpreterEnabled, GlobalLangNum, GetObjectsPrefix)) {
      blnDisabled = true;
      lifecycle_ = Lifecycle::Disabled;
      return;
    }

    if (module.blnShowInfoPanel) {
      // Edits saved in the editor while the panel was open apply now.
      maintenance::ShowStartupPanel();
      if (module.rsUsersLang) module.rsUsersLang->Close();
      module.rsUsersLang = NewUserList();
      if (!ReadIniFile(blnInterpreterEnabled, GlobalLangNum, GetObjectsPrefix)) {
        blnDisabled = true;
        lifecycle_ = Lifecycle::Disabled;
        return;
      }
    }

    blnDisabled = !blnInterpreterEnabled;
    if (blnDisabled || !OpenDictionaries()) {
      lifecycle_ = Lifecycle::Disabled;
      return;
    }
  } catch (const std::exception& e) {
    lifecycle_ = Lifecycle::Broken;
    HandleError("VeltranoModule", "Class_Initialize", e.what(), "");
  }
}

void VeltranoModule::Class_Terminate() noexcept {
  // The user list is shared by every object of the thread: closing it while
  // another object lives would break that object's user lookups.
  if (--Module().intObjectsAlive == 0) CloseUserList();
  // Appends were saved when the public call that made them returned; the
  // workbooks are released row sets first.
  rsDictionary.reset();
  rsAlarmDictionary.reset();
  cnDictionary.reset();
  cnAlarmDictionary.reset();
}

VeltranoModule::PublicCall::PublicCall(VeltranoModule& object, const char* procedure)
    : object_(object), procedure_(procedure) {
  ++object_.intPublicCallDepth;
}

VeltranoModule::PublicCall::~PublicCall() {
  if (--object_.intPublicCallDepth != 0) return;
  for (const auto& connection : {object_.cnDictionary, object_.cnAlarmDictionary}) {
    if (!connection) continue;
    try {
      connection->Commit();
    } catch (const std::exception& e) {
      HandleError("VeltranoModule", procedure_, e.what(), "");
    }
    connection->EndCall();
  }
}

std::optional<std::int16_t> VeltranoModule::LookUpUser(const std::string& strUserName) {
  const std::shared_ptr<data::Recordset>& users = Module().rsUsersLang;
  if (NotOpenedAfterFailure(users.get())) return std::nullopt;
  if (!users) throw automation::errors::ObjectNotSet();
  users->SetFilter("User=" + data::QuoteLiteral(strUserName));
  if (users->Eof()) return std::nullopt;
  return users->GetValue("Lang").ToInteger();
}

std::int16_t VeltranoModule::GetUserLang(std::string& strUserName) {
  try {
    return LookUpUser(strUserName).value_or(0);
  } catch (const std::exception& e) {
    HandleError("VeltranoModule", "GetUserLang", e.what(), "");
    return 0;
  }
}

Variant VeltranoModule::SetUserGlobalLang(std::string& strUserName) {
  try {
    if (const auto intLang = LookUpUser(strUserName)) GlobalLangNum = *intLang;
  } catch (const std::exception& e) {
    HandleError("VeltranoModule", "SetUserGlobalLang", e.what(), "");
  }
  return Variant();
}

void VeltranoModule::RegisterMembers() {
  AddProperty(
      "GlobalLangNum", [this](std::span<Variant>) { return Variant(get_GlobalLangNum()); },
      [this](std::span<Variant>, const Variant& value) { put_GlobalLangNum(value.ToInteger()); });
  AddProperty(
      "GetObjectsPrefix", [this](std::span<Variant>) { return Variant(get_GetObjectsPrefix()); },
      [this](std::span<Variant>, const Variant& value) {
        put_GetObjectsPrefix(value.ToBoolean());
      });
  AddMethod("TranslatePicture", [this](std::span<Variant> args) {
    CheckArgumentCount(args, 3, "TranslatePicture");
    ByRefString strFixPicture(args, 0, true);
    ByRefInteger intLocalLanguageNumber(args, 1);
    ByRefString strUserName(args, 2);
    TranslatePicture(strFixPicture.value, intLocalLanguageNumber.value, strUserName.value);
    return Variant();
  });
  AddMethod("TranslateString", [this](std::span<Variant> args) {
    CheckArgumentCount(args, 4, "TranslateString");
    ByRefString strString(args, 0, true);
    const automation::ObjectRef objPictureOrForm = OptionalObject(args, 1);
    ByRefInteger intLanguageNumber(args, 2);
    ByRefBoolean blnShowWarning(args, 3);
    return Variant(TranslateString(strString.value, objPictureOrForm, intLanguageNumber.value,
                                   blnShowWarning.value));
  });
  AddMethod("TranslateAlarmsRecordset", [this](std::span<Variant> args) {
    CheckArgumentCount(args, 6, "TranslateAlarmsRecordset");
    const automation::ObjectRef rsToTranslate = OptionalObject(args, 0);
    ByRefInteger intFieldToTranslate(args, 1, true);
    const automation::ObjectRef objPictureOrForm = OptionalObject(args, 2);
    ByRefInteger intRequestedLanguageNumber(args, 3);
    ByRefInteger intOriginalLanguageNumber(args, 4);
    ByRefBoolean blnRestoreOriginalStrings(args, 5);
    return Variant(TranslateAlarmsRecordset(rsToTranslate, intFieldToTranslate.value,
                                            objPictureOrForm, intRequestedLanguageNumber.value,
                                            intOriginalLanguageNumber.value,
                                            blnRestoreOriginalStrings.value));
  });
  AddMethod("SetUserGlobalLang", [this](std::span<Variant> args) {
    CheckArgumentCount(args, 1, "SetUserGlobalLang");
    ByRefString strUserName(args, 0, true);
    return SetUserGlobalLang(strUserName.value);
  });
  AddMethod("TranslateForm", [this](std::span<Variant> args) {
    CheckArgumentCount(args, 3, "TranslateForm");
    const automation::ObjectRef objUserForm = OptionalObject(args, 0);
    ByRefInteger intLocalLanguageNumber(args, 1);
    ByRefString strUserName(args, 2);
    TranslateForm(objUserForm, intLocalLanguageNumber.value, strUserName.value);
    return Variant();
  });
  AddMethod("TranslateAll", [this](std::span<Variant> args) {
    CheckArgumentCount(args, 1, "TranslateAll");
    TranslateAll(OptionalObject(args, 0));
    return Variant();
  });
  AddMethod("ShowStartupConfig", [this](std::span<Variant> args) {
    CheckArgumentCount(args, 0, "ShowStartupConfig");
    ShowStartupConfig();
    return Variant();
  });
  AddMethod("UpdateAndVerifyDictionary", [this](std::span<Variant> args) {
    CheckArgumentCount(args, 0, "UpdateAndVerifyDictionary");
    UpdateAndVerifyDictionary();
    return Variant();
  });
  AddMethod("ChangeDevLang", [this](std::span<Variant> args) {
    CheckArgumentCount(args, 0, "ChangeDevLang");
    ChangeDevLang();
    return Variant();
  });
}

}  // namespace vt::interpreter
