// Translation of one picture of the host, through its groups.
#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "library/interpreter/language_marker.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/module_state.h"
#include "library/interpreter/translation_warnings.h"
#include "library/interpreter/veltrano_module.h"
#include "library/maintenance/place_log.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "platform/automation/text.h"
#include "platform/system/paths.h"
#include "platform/ui/msgbox.h"

namespace vt::interpreter {
namespace {

using automation::Variant;

// Groups are entered down to this level; deeper objects are handed on whole.
constexpr int kDeepestGroupLevel = 9;

// The name as a message shows it: a control character (a NUL would end the
// message where it stands) written as an escape, \0 or \xHH.
std::string Shown(std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string shown;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0) {
      shown += "\\0";
    } else if (byte < 0x20 || byte == 0x7F) {
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 0xF];
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace

void VeltranoModule::TranslatePicture(std::string& strFixPicture,
                                      std::int16_t& intLocalLanguageNumber,
                                      std::string& strUserName) {
  PublicCall call(*this, "TranslatePicture");
  const ModuleState& module = Module();
  // This picture's own failures decide how it is closed; the caller's count
  // goes on below.
  const bool blnFailedBefore = std::exchange(blnTranslationFailed, false);
  automation::ObjectRef objDocument;
  try {
    if (!blnDisabled && !blnNotInFix && !NotOpenedAfterFailure(rsDictionary.get())) {
      TranslateOpenedPicture(strFixPicture, intLocalLanguageNumber, strUserName, objDocument);
    }
  } catch (const std::exception& e) {
    blnTranslationFailed = true;
    HandleError("VeltranoModule", "TranslatePicture", e.what(), "");
  }

  // Ending steps: a maintenance run closes every picture it opened. A
  // conversion that failed, or whose save failed, is not kept half done under
  // the new marker: the picture stays as it is on disk, for the next run.
  if (module.blnMaintenanceRunning && objDocument) {
    std::int16_t intCloseCode = module.blnDevLangSecondPass && !blnTranslationFailed ? 1 : 2;
    for (;;) {
      try {
        automation::Call(objDocument, "Close",
                         {Variant(intCloseCode), Variant(static_cast<std::int16_t>(1))});
        break;
      } catch (const std::exception& e) {
        blnTranslationFailed = true;
        HandleError("VeltranoModule", "TranslatePicture", e.what(), "");
        if (intCloseCode == 2) break;
        intCloseCode = 2;
      }
    }
    ui::DoEvents();
  }
  blnTranslationFailed = blnTranslationFailed || blnFailedBefore;
}

void VeltranoModule::TranslateOpenedPicture(std::string& strFixPicture,
                                            std::int16_t intLocalLanguageNumber,
                                            std::string& strUserName,
                                            automation::ObjectRef& objDocument) {
  const ModuleState& module = Module();
  if (automation::text::UCase(automation::text::Right(strFixPicture, 4)) == ".GRF") {
    strFixPicture.resize(strFixPicture.size() - 4);
  }
  // Pictures lie directly in the pictures folder: a name that reached out of
  // it would let a maintenance run rewrite a file elsewhere.
  if (strFixPicture.find_first_of(std::string_view("/\\\0", 3)) != std::string::npos) {
    throw automation::errors::BadFileName("the picture name \"" + Shown(strFixPicture) +
                                          "\" is not a file name of the pictures folder \"" +
                                          module.strFixPath + "\"");
  }

  automation::ObjectRef objPage;
  {
    const automation::ObjectRef objWorkspace = automation::GetObject("", "Workspace.Application");
    const automation::ObjectRef objDocuments =
        automation::Get(objWorkspace, "Documents").ToObject();
    objDocument =
        automation::Call(
            objDocuments, "Open",
            {Variant(module.strFixPath + system::SystemPath("\\") + strFixPicture + ".grf"),
             Variant(static_cast<std::int16_t>(2))})
            .ToObject();
    objPage = automation::Get(objDocument, "Page").ToObject();
    // The picture stays open in the host; only a maintenance run closes it.
    if (!module.blnMaintenanceRunning) objDocument.reset();
  }

  std::int16_t intCurrent =
      MarkerLanguage(automation::Get(objPage, "Comments")).value_or(module.intDevLangNum);
  std::int16_t intTarget = TargetLanguage(intLocalLanguageNumber, strUserName);
  if (intCurrent == intTarget) return;

  if (intCurrent != module.intDevLangNum && module.blnMissingTranslationsFound) {
    if (module.blnShowWarnings) {
      ShowBeforeTranslating("picture", strFixPicture, intCurrent, intTarget);
    }
    return;
  }

  automation::Put(objPage, "Comments", Variant(intTarget));
  blnMissingTranslations = false;
  if (places_) places_->Walking(strFixPicture, intCurrent);
  TranslatePictureObjects(objPage, 1, intCurrent, intTarget);
  if (blnMissingTranslations && !module.blnMaintenanceRunning && module.blnShowWarnings) {
    ShowCannotFindTranslations(intCurrent, intTarget);
  }
}

void VeltranoModule::TranslatePictureObjects(const automation::ObjectRef& objContainer,
                                             int intLevel, std::int16_t& intFromLang,
                                             std::int16_t& intToLang) {
  const automation::ObjectRef objObjects =
      automation::Get(objContainer, "ContainedObjects").ToObject();
  for (const Variant& item : automation::Enumerate(objObjects)) {
    const automation::ObjectRef objObject = item.ToObject();
    if (intLevel <= kDeepestGroupLevel && automation::TypeNameOf(objObject) == "Fix2DGroup") {
      TranslatePictureObjects(objObject, intLevel + 1, intFromLang, intToLang);
    } else {
      TranslatePictureObject(objObject, intFromLang, intToLang);
      if (places_ && intLevel > kDeepestGroupLevel) NoteUnreachedTexts(objObject);
    }
  }
}

}  // namespace vt::interpreter
