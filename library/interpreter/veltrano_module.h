#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "library/interpreter/server.h"
#include "platform/automation/dispatch.h"

namespace vt::dictionary {
class Connection;
class RowSet;
}  // namespace vt::dictionary

namespace vt::maintenance {
class PlaceLog;
struct Coverage;
}  // namespace vt::maintenance

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

// Where creation left the object.
enum class Lifecycle {
  OutsideHost,  // not created inside the host: every guarded operation does nothing
  Disabled,     // switched off by the configuration or a missing workbook
  Ready,
  Broken,  // creation was interrupted by a failure, which was reported
};

// The one creatable class of the library. Creation runs the whole start-up
// (host check, pictures folder, configuration); every failure is reported
// through HandleError and never leaves the object.
class VeltranoModule final : public automation::DispatchObject, public IVeltranoModule {
 public:
  VeltranoModule();
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

  bool MissingTranslations() const { return blnMissingTranslations; }

  Lifecycle lifecycle() const { return lifecycle_; }

 private:
  void Class_Initialize();
  void Class_Terminate() noexcept;
  void RegisterMembers();
  // Creation steps 7 to 12: both workbooks checked, opened, the dictionary
  // normalised. False when a workbook is missing (the object is Disabled).
  bool OpenDictionaries();
  // Throws when the dictionary was never opened.
  dictionary::RowSet& Dictionary();
  // True when creation failed before it opened `handle`: that failure was
  // reported, and an operation that needs the handle then does nothing
  // rather than report, at every call, that it is not there.
  bool NotOpenedAfterFailure(const void* handle) const {
    return lifecycle_ == Lifecycle::Broken && handle == nullptr;
  }
  // The target of TranslateString / TranslateAlarmsRecordset: the number when
  // given, else the marker of the picture or form, else GlobalLangNum.
  std::int16_t RequestedLanguage(std::int16_t intLanguageNumber,
                                 const automation::ObjectRef& objPictureOrForm);
  // Appends `strText` under the language's column of the dictionary (a full
  // sheet raises once per public call, then leaves the texts out: false).
  bool AppendToDictionary(const std::string& strText, std::int16_t intLang);

  // The target of TranslatePicture / TranslateForm: the number when given,
  // else the user's language when the user is listed, else GlobalLangNum.
  std::int16_t TargetLanguage(std::int16_t intLocalLanguageNumber, std::string& strUserName);
  // Opens the picture, translates it when its marker allows; the document is
  // left in `objDocument` for the ending steps when a maintenance run closes it.
  void TranslateOpenedPicture(std::string& strFixPicture, std::int16_t intLocalLanguageNumber,
                              std::string& strUserName, automation::ObjectRef& objDocument);
  void TranslatePictureObjects(const automation::ObjectRef& objContainer, int intLevel,
                               std::int16_t& intFromLang, std::int16_t& intToLang);
  void TranslatePictureObject(const automation::ObjectRef& objPictureObject,
                              std::int16_t& intFromLang, std::int16_t& intToLang);
  void TranslateFormObject(const automation::ObjectRef& objControl, std::int16_t& intFromLang,
                           std::int16_t& intToLang);
  void TranslateMultiPage(const automation::ObjectRef& objMultiPage, std::int16_t& intFromLang,
                          std::int16_t& intToLang);
  // The object-name prefix filter of picture objects and form controls.
  bool PassesPrefixFilter(const automation::ObjectRef& objObject);
  // Replaces one text property by its translation (assigned even when equal);
  // returns the text it replaced.
  std::string ReplaceText(const automation::ObjectRef& objObject, std::string_view strProperty,
                          std::int16_t& intFromLang, std::int16_t& intToLang);
  // During an update run: which object of the picture shows the text. Never
  // fails the translation.
  void NoteShownText(const automation::ObjectRef& objObject, std::string_view strProperty,
                     const std::string& strText) noexcept;
  // During an update run: the texts inside a group the walk does not enter,
  // which translation never reaches. Never fails the translation.
  void NoteUnreachedTexts(const automation::ObjectRef& objObject) noexcept;

  // What one maintenance pass over strSelectedPictures met.
  struct PicturePass {
    bool blnMissingTranslations = false;  // some picture lacked a translation
    int intFailedPictures = 0;            // pictures whose translation reported a failure
  };
  // What the dictionary saves of one maintenance run met.
  struct RunSaves {
    bool blnFailed = false;      // a save of this run failed
    std::string strLastFailure;  // told; the same failure again is not
    bool blnJustTold = false;    // by the last save that was tried
    // The run's start, then its last save after a picture.
    std::chrono::system_clock::time_point since{};
  };
  // Saves the rows appended so far (a save costs what changed). False when
  // some remain unsaved after a failure of this run. A failure is told when it
  // first happens, and again at the `blnFinal` save, which retries and comes
  // before, and instead of, the run's verdict.
  bool SaveRunRows(RunSaves& saves, const char* strProcedure, bool blnFinal);
  // TranslatePicture on every selected picture, in order, towards `intLang`,
  // the host's events pumped after each, and the appended rows saved after
  // one when a second has passed since the start or the last save.
  PicturePass TranslateSelectedPictures(std::int16_t intLang, RunSaves& saves,
                                        const char* strProcedure);
  // What an update run met, against the dictionary: nullopt when it cannot
  // be had (logged). The sheet "Where used" is then written among the run's
  // pending edits, the report after the run's save; their failures are
  // logged and change nothing of what the run tells.
  std::optional<maintenance::Coverage> RunCoverage(const maintenance::PlaceLog& places) noexcept;
  void NoteWhereUsed(const maintenance::Coverage& coverage) noexcept;
  void WriteCoverageReport(const maintenance::Coverage& coverage) noexcept;
  // The two keys that make N the development language; false when a key
  // could not be written (reported).
  bool WriteNewDevelopmentLanguage(std::int16_t intNewDevLang);

  // Saves what the outermost public call appended, once, when it returns.
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
  // The user's language through the user list's filter; nullopt when unlisted.
  std::optional<std::int16_t> LookUpUser(const std::string& strUserName);

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
  bool blnTranslationFailed = false;
  Lifecycle lifecycle_ = Lifecycle::Ready;
  int intPublicCallDepth = 0;
  // Set while an update run walks its pictures.
  maintenance::PlaceLog* places_ = nullptr;

  // Keeps the library loaded while the object lives.
  automation::ObjectCounter::Token alive_{LiveObjects()};
};

}  // namespace vt::interpreter
