#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_FRONT
#error "library/interpreter/veltrano_module.h is above the component that includes it"
#endif

#include <cstdint>
#include <memory>
#include <string>

#include "library/dictionary/dictionary.h"
#include "library/forms/form_translator.h"
#include "library/interpreter/message_boxes.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/server.h"
#include "library/interpreter/session.h"
#include "library/interpreter/user_language.h"
#include "library/maintenance/maintenance.h"
#include "library/pictures/picture_translator.h"
#include "platform/automation/dispatch.h"

namespace vt::interpreter {

// The default interface _VeltranoModule, its members in slot order. (C++
// reserves names that begin with an underscore and a capital, hence the I.)
class IVeltranoModule {
 public:
  virtual std::int16_t get_GlobalLangNum() = 0;
  virtual void put_GlobalLangNum(std::int16_t value) = 0;
  virtual bool get_GetObjectsPrefix() = 0;
  virtual void put_GetObjectsPrefix(bool value) = 0;
  virtual void TranslatePicture(std::string& strFixPicture, std::int16_t& intLocalLanguageNumber,
                                std::string& strUserName) = 0;
  virtual std::string TranslateString(std::string& strString,
                                      const automation::ObjectRef& objPictureOrForm,
                                      std::int16_t& intLanguageNumber, bool& blnShowWarning) = 0;
  virtual automation::ObjectRef TranslateAlarmsRecordset(
      const automation::ObjectRef& rsToTranslate, std::int16_t& intFieldToTranslate,
      const automation::ObjectRef& objPictureOrForm, std::int16_t& intRequestedLanguageNumber,
      std::int16_t& intOriginalLanguageNumber, bool& blnRestoreOriginalStrings) = 0;
  virtual automation::Variant SetUserGlobalLang(std::string& strUserName) = 0;
  virtual void TranslateForm(const automation::ObjectRef& objUserForm,
                             std::int16_t& intLocalLanguageNumber, std::string& strUserName) = 0;
  virtual void TranslateAll(const automation::ObjectRef& objUserForms) = 0;
  virtual void ShowStartupConfig() = 0;
  virtual void UpdateAndVerifyDictionary() = 0;
  virtual void ChangeDevLang() = 0;

 protected:
  ~IVeltranoModule() = default;
};

// The one creatable class of the library, the front of its components: it
// owns them and the object's fields, runs the guard and PublicCall, and
// delegates. Creation runs the whole start-up (host check, pictures folder,
// configuration); every failure is reported through HandleError and never
// leaves the object.
class VeltranoModule final : public automation::DispatchObject, public IVeltranoModule {
 public:
  // On the session of the host's scripting thread.
  VeltranoModule();
  // On `session`, which outlives the object.
  explicit VeltranoModule(Session& session);
  ~VeltranoModule() override;
  VeltranoModule(const VeltranoModule&) = delete;
  VeltranoModule& operator=(const VeltranoModule&) = delete;

  std::string TypeName() const override;

  std::int16_t get_GlobalLangNum() override { return GlobalLangNum; }
  void put_GlobalLangNum(std::int16_t value) override { GlobalLangNum = value; }
  bool get_GetObjectsPrefix() override { return GetObjectsPrefix; }
  void put_GetObjectsPrefix(bool value) override { GetObjectsPrefix = value; }
  void TranslatePicture(std::string& strFixPicture, std::int16_t& intLocalLanguageNumber,
                        std::string& strUserName) override;
  std::string TranslateString(std::string& strString, const automation::ObjectRef& objPictureOrForm,
                              std::int16_t& intLanguageNumber, bool& blnShowWarning) override;
  automation::ObjectRef TranslateAlarmsRecordset(const automation::ObjectRef& rsToTranslate,
                                                 std::int16_t& intFieldToTranslate,
                                                 const automation::ObjectRef& objPictureOrForm,
                                                 std::int16_t& intRequestedLanguageNumber,
                                                 std::int16_t& intOriginalLanguageNumber,
                                                 bool& blnRestoreOriginalStrings) override;
  automation::Variant SetUserGlobalLang(std::string& strUserName) override;
  void TranslateForm(const automation::ObjectRef& objUserForm, std::int16_t& intLocalLanguageNumber,
                     std::string& strUserName) override;
  void TranslateAll(const automation::ObjectRef& objUserForms) override;
  void ShowStartupConfig() override;
  void UpdateAndVerifyDictionary() override;
  void ChangeDevLang() override;

  // The language of a listed user, 0 when the user is not listed.
  std::int16_t GetUserLang(std::string& strUserName);

  // The lookup-and-append operation every shown text goes through: the text
  // in the language `intToLang`, its outer blanks kept, or the text itself
  // when the dictionary has no translation (the missing flags then raised).
  std::string TranslateObjectString(const std::string& strString, std::int16_t& intFromLang,
                                    std::int16_t& intToLang);
  void TranslatePictureObject(const automation::ObjectRef& objPictureObject,
                              std::int16_t& intFromLang, std::int16_t& intToLang);
  void TranslateFormObject(const automation::ObjectRef& objControl, std::int16_t& intFromLang,
                           std::int16_t& intToLang);
  void TranslateMultiPage(const automation::ObjectRef& objMultiPage, std::int16_t& intFromLang,
                          std::int16_t& intToLang);

  bool MissingTranslations() const { return blnMissingTranslations; }

  Lifecycle lifecycle() const { return lifecycle_; }

 private:
  void Class_Initialize();
  void Class_Terminate() noexcept;
  void RegisterMembers();
  // True when creation failed before it opened `handle`: that failure was
  // reported, and an operation that needs the handle then does nothing
  // rather than report, at every call, that it is not there.
  bool NotOpenedAfterFailure(const void* handle) const {
    return lifecycle_ == Lifecycle::Broken && handle == nullptr;
  }
  // The guard of the picture and form operations.
  bool Refused() const {
    return blnDisabled || blnNotInFix || NotOpenedAfterFailure(rsDictionary.get());
  }

  // A maintenance operation: a nested call returns at once, the run's flags
  // are lowered however it ends, and the guard comes before the body.
  void RunMaintenance(const char* strProcedure, void (maintenance::Maintenance::*body)());

  // Saves what the outermost public call appended, once, when it returns,
  // and forgets what the call told once.
  class PublicCall {
   public:
    PublicCall(VeltranoModule& object, const char* procedure);
    ~PublicCall();
    PublicCall(const PublicCall&) = delete;
    PublicCall& operator=(const PublicCall&) = delete;

   private:
    VeltranoModule& object_;
    const char* procedure_;
  };

  std::int16_t GlobalLangNum = 0;
  bool GetObjectsPrefix = false;
  std::shared_ptr<dictionary::Connection> cnDictionary;
  std::shared_ptr<dictionary::RowSet> rsDictionary;
  std::shared_ptr<dictionary::Connection> cnAlarmDictionary;
  std::shared_ptr<dictionary::RowSet> rsAlarmDictionary;
  bool blnDisabled = false;
  bool blnNotInFix = false;
  bool blnMissingTranslations = false;
  bool blnTranslateAllRunning = false;
  // Raised by the error handlers of the picture translation (the picture,
  // its objects, their texts): a maintenance run lowers it before each
  // picture and counts the pictures that raised it.
  bool translation_failed_ = false;
  Lifecycle lifecycle_ = Lifecycle::Ready;
  int public_call_depth_ = 0;

  Session& session_;
  MessageBoxes messages_;
  ErrorReporter errors_{session_.configuration};
  CallNotices notices_;
  UserLanguage users_{session_, GlobalLangNum, lifecycle_, errors_};
  dictionary::Dictionary dictionary_;
  dictionary::ObjectTexts texts_{dictionary_, GetObjectsPrefix, session_.configuration};
  pictures::PictureTranslator pictures_;
  forms::FormTranslator forms_;
  maintenance::Maintenance maintenance_;

  // Keeps the library loaded while the object lives.
  automation::ObjectCounter::Token alive_{LiveObjects()};
};

}  // namespace vt::interpreter
