#include "library/interpreter/veltrano_module.h"

#include <exception>

#include "library/interpreter/dispatch_args.h"
#include "library/interpreter/mod_ini_handler.h"
#include "library/interpreter/mod_process_list.h"
#include "library/interpreter/module_state.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "platform/data/recordset.h"

namespace vt::interpreter {
namespace {

using automation::Variant;

// A fresh, unconnected user list: User (fixed text of 100), Lang (Long).
std::shared_ptr<data::Recordset> NewUserList() {
  return data::Recordset::Create(
      {data::FieldDef::FixedText("User", 100), data::FieldDef::Long("Lang")});
}

void CloseUserList(Session& session) noexcept {
  try {
    auto& users = session.rsUsersLang;
    if (users) users->Close();
    users.reset();
  } catch (...) {
    // Termination ignores every failure.
  }
}

}  // namespace

VeltranoModule::VeltranoModule() : VeltranoModule(ThreadSession()) {}

VeltranoModule::VeltranoModule(Session& session)
    : session_(session),
      dictionary_({cnDictionary, rsDictionary, cnAlarmDictionary, rsAlarmDictionary, GlobalLangNum,
                   blnMissingTranslations, translation_failed_},
                  session_.configuration, session_.run, messages_, errors_, notices_),
      pictures_(texts_, users_, session_.configuration, session_.run, messages_, errors_,
                {blnMissingTranslations, translation_failed_}),
      forms_(texts_, dictionary_, users_, session_.configuration, session_.run, messages_, errors_,
             blnMissingTranslations),
      maintenance_(dictionary_, pictures_, session_, messages_, errors_,
                   {cnDictionary, cnAlarmDictionary, blnMissingTranslations, translation_failed_},
                   [this](std::string& strFixPicture, std::int16_t lang) {
                     std::string strUserName;
                     TranslatePicture(strFixPicture, lang, strUserName);
                   }) {
  ++session_.objects_alive;
  RegisterMembers();
  Class_Initialize();
}

VeltranoModule::~VeltranoModule() { Class_Terminate(); }

std::string VeltranoModule::TypeName() const { return "VeltranoModule"; }

void VeltranoModule::Class_Initialize() {
  Configuration& configuration = session_.configuration;

  std::string strProcessName = "FIX.exe";
  if (!SearchInProcessList(strProcessName, errors_)) {
    messages_.NotInFix();
    blnNotInFix = true;
    lifecycle_ = Lifecycle::OutsideHost;
    return;
  }

  try {
    {
      automation::ObjectRef workspace = automation::GetObject("", "Workspace.Application");
      automation::ObjectRef system = automation::Get(workspace, "System").ToObject();
      configuration.strFixPath =
          automation::Call(system, "FixPath", {Variant(static_cast<std::int16_t>(1))}).ToString();
    }

    std::shared_ptr<data::Recordset>& users = session_.rsUsersLang;
    if (users) users->Close();
    users = NewUserList();

    bool blnInterpreterEnabled = false;
    const auto read_configuration = [&] {
      return ReadIniFile(configuration, users.get(), messages_, errors_, blnInterpreterEnabled,
                         GlobalLangNum, GetObjectsPrefix);
    };
    if (!read_configuration()) {
      blnDisabled = true;
      lifecycle_ = Lifecycle::Disabled;
      return;
    }

    if (configuration.blnShowInfoPanel) {
      // Edits saved in the editor while the panel was open apply now.
      maintenance::ShowStartupPanel(configuration, messages_, errors_);
      if (users) users->Close();
      users = NewUserList();
      if (!read_configuration()) {
        blnDisabled = true;
        lifecycle_ = Lifecycle::Disabled;
        return;
      }
    }

    blnDisabled = !blnInterpreterEnabled;
    if (blnDisabled) {
      lifecycle_ = Lifecycle::Disabled;
      return;
    }
    if (!dictionary_.OpenDictionaries()) {
      blnDisabled = true;
      lifecycle_ = Lifecycle::Disabled;
      return;
    }
  } catch (const std::exception& e) {
    lifecycle_ = Lifecycle::Broken;
    errors_.HandleError("VeltranoModule", "Class_Initialize", e.what(), "");
  }
}

void VeltranoModule::Class_Terminate() noexcept {
  // The user list is shared by every object of the thread: closing it while
  // another object lives would break that object's user lookups.
  if (--session_.objects_alive == 0) CloseUserList(session_);
  // Appends were saved when the public call that made them returned; the
  // workbooks are released row sets first.
  rsDictionary.reset();
  rsAlarmDictionary.reset();
  cnDictionary.reset();
  cnAlarmDictionary.reset();
}

VeltranoModule::PublicCall::PublicCall(VeltranoModule& object, const char* procedure)
    : object_(object), procedure_(procedure) {
  ++object_.public_call_depth_;
}

VeltranoModule::PublicCall::~PublicCall() {
  if (--object_.public_call_depth_ != 0) return;
  object_.dictionary_.EndCall(procedure_);
}

std::int16_t VeltranoModule::GetUserLang(std::string& strUserName) {
  return users_.GetUserLang(strUserName);
}

Variant VeltranoModule::SetUserGlobalLang(std::string& strUserName) {
  try {
    if (const auto lang = users_.LookUpUser(strUserName)) GlobalLangNum = *lang;
  } catch (const std::exception& e) {
    errors_.HandleError("VeltranoModule", "SetUserGlobalLang", e.what(), "");
  }
  return Variant();
}

std::string VeltranoModule::TranslateObjectString(const std::string& strString,
                                                  std::int16_t& intFromLang,
                                                  std::int16_t& intToLang) {
  return dictionary_.TranslateObjectString(strString, intFromLang, intToLang);
}

void VeltranoModule::TranslatePictureObject(const automation::ObjectRef& objPictureObject,
                                            std::int16_t& intFromLang, std::int16_t& intToLang) {
  pictures_.TranslatePictureObject(objPictureObject, intFromLang, intToLang);
}

void VeltranoModule::TranslateFormObject(const automation::ObjectRef& objControl,
                                         std::int16_t& intFromLang, std::int16_t& intToLang) {
  forms_.TranslateFormObject(objControl, intFromLang, intToLang);
}

void VeltranoModule::TranslateMultiPage(const automation::ObjectRef& objMultiPage,
                                        std::int16_t& intFromLang, std::int16_t& intToLang) {
  forms_.TranslateMultiPage(objMultiPage, intFromLang, intToLang);
}

std::string VeltranoModule::TranslateString(std::string& strString,
                                            const automation::ObjectRef& objPictureOrForm,
                                            std::int16_t& intLanguageNumber, bool& blnShowWarning) {
  if (blnDisabled || blnNotInFix || NotOpenedAfterFailure(rsDictionary.get())) return strString;
  PublicCall call(*this, "TranslateString");
  return dictionary_.TranslateString(strString, objPictureOrForm, intLanguageNumber,
                                     blnShowWarning);
}

automation::ObjectRef VeltranoModule::TranslateAlarmsRecordset(
    const automation::ObjectRef& rsToTranslate, std::int16_t& intFieldToTranslate,
    const automation::ObjectRef& objPictureOrForm, std::int16_t& intRequestedLanguageNumber,
    std::int16_t& intOriginalLanguageNumber, bool& blnRestoreOriginalStrings) {
  PublicCall call(*this, "TranslateAlarmsRecordset");
  return dictionary_.TranslateAlarmsRecordset(
      rsToTranslate, intFieldToTranslate, objPictureOrForm, intRequestedLanguageNumber,
      intOriginalLanguageNumber, blnRestoreOriginalStrings,
      blnDisabled || blnNotInFix || NotOpenedAfterFailure(rsAlarmDictionary.get()));
}

void VeltranoModule::TranslatePicture(std::string& strFixPicture,
                                      std::int16_t& intLocalLanguageNumber,
                                      std::string& strUserName) {
  PublicCall call(*this, "TranslatePicture");
  pictures_.TranslatePicture(strFixPicture, intLocalLanguageNumber, strUserName, Refused());
}

void VeltranoModule::TranslateForm(const automation::ObjectRef& objUserForm,
                                   std::int16_t& intLocalLanguageNumber, std::string& strUserName) {
  if (Refused()) return;
  PublicCall call(*this, "TranslateForm");
  forms_.TranslateForm(objUserForm, intLocalLanguageNumber, strUserName);
}

void VeltranoModule::TranslateAll(const automation::ObjectRef& objUserForms) {
  if (blnDisabled || blnNotInFix || blnTranslateAllRunning) return;
  blnTranslateAllRunning = true;
  {
    PublicCall call(*this, "TranslateAll");
    pictures_.TranslateAll(
        objUserForms,
        [this](std::string& picture) {
          std::int16_t language = 0;
          std::string user;
          TranslatePicture(picture, language, user);
        },
        [this](const automation::ObjectRef& objUserForm) {
          std::int16_t language = 0;
          std::string user;
          TranslateForm(objUserForm, language, user);
        });
  }
  blnTranslateAllRunning = false;
}

void VeltranoModule::ShowStartupConfig() { maintenance_.ShowStartupConfig(); }

void VeltranoModule::RunMaintenance(const char* strProcedure,
                                    void (maintenance::Maintenance::*body)()) {
  if (maintenance::MaintenanceRun::Nested(session_.run)) return;
  const maintenance::MaintenanceRun run(session_.run);
  if (blnDisabled || blnNotInFix) return;
  PublicCall call(*this, strProcedure);
  (maintenance_.*body)();
}

void VeltranoModule::UpdateAndVerifyDictionary() {
  RunMaintenance("UpdateAndVerifyDictionary", &maintenance::Maintenance::UpdateAndVerifyDictionary);
}

void VeltranoModule::ChangeDevLang() {
  RunMaintenance("ChangeDevLang", &maintenance::Maintenance::ChangeDevLang);
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
