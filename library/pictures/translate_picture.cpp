// Translation of one picture of the host, through its groups.
#include <exception>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "library/dictionary/dictionary.h"
#include "library/interpreter/language_marker.h"
#include "library/interpreter/messages.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/session.h"
#include "library/interpreter/user_language.h"
#include "library/pictures/picture_translator.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "platform/automation/text.h"
#include "platform/system/paths.h"
#include "platform/ui/msgbox.h"

namespace vt::pictures {
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

void PictureTranslator::TranslatePicture(std::string& strFixPicture,
                                         std::int16_t intLocalLanguageNumber,
                                         const std::string& strUserName, bool blnRefused) {
  bool& blnTranslationFailed = fields_.blnTranslationFailed;
  // This picture's own failures decide how it is closed; the caller's count
  // goes on below.
  const bool blnFailedBefore = std::exchange(blnTranslationFailed, false);
  automation::ObjectRef objDocument;
  try {
    if (!blnRefused) {
      TranslateOpenedPicture(strFixPicture, intLocalLanguageNumber, strUserName, objDocument);
    }
  } catch (const std::exception& e) {
    blnTranslationFailed = true;
    errors_.HandleError("VeltranoModule", "TranslatePicture", e.what(), "");
  }

  // Ending steps: a maintenance run closes every picture it opened. A
  // conversion that failed, or whose save failed, is not kept half done under
  // the new marker: the picture stays as it is on disk, for the next run.
  if (run_.blnMaintenanceRunning && objDocument) {
    std::int16_t intCloseCode = run_.blnDevLangSecondPass && !blnTranslationFailed ? 1 : 2;
    for (;;) {
      try {
        automation::Call(objDocument, "Close",
                         {Variant(intCloseCode), Variant(static_cast<std::int16_t>(1))});
        break;
      } catch (const std::exception& e) {
        blnTranslationFailed = true;
        errors_.HandleError("VeltranoModule", "TranslatePicture", e.what(), "");
        if (intCloseCode == 2) break;
        intCloseCode = 2;
      }
    }
    ui::DoEvents();
  }
  blnTranslationFailed = blnTranslationFailed || blnFailedBefore;
}

void PictureTranslator::TranslateOpenedPicture(std::string& strFixPicture,
                                               std::int16_t intLocalLanguageNumber,
                                               const std::string& strUserName,
                                               automation::ObjectRef& objDocument) {
  if (automation::text::UCase(automation::text::Right(strFixPicture, 4)) == ".GRF") {
    strFixPicture.resize(strFixPicture.size() - 4);
  }
  // Pictures lie directly in the pictures folder: a name that reached out of
  // it would let a maintenance run rewrite a file elsewhere.
  if (strFixPicture.find_first_of(std::string_view("/\\\0", 3)) != std::string::npos) {
    throw automation::errors::BadFileName("the picture name \"" + Shown(strFixPicture) +
                                          "\" is not a file name of the pictures folder \"" +
                                          configuration_.strFixPath + "\"");
  }

  automation::ObjectRef objPage;
  {
    const automation::ObjectRef objWorkspace = automation::GetObject("", "Workspace.Application");
    const automation::ObjectRef objDocuments =
        automation::Get(objWorkspace, "Documents").ToObject();
    objDocument =
        automation::Call(
            objDocuments, "Open",
            {Variant(configuration_.strFixPath + system::SystemPath("\\") + strFixPicture + ".grf"),
             Variant(static_cast<std::int16_t>(2))})
            .ToObject();
    objPage = automation::Get(objDocument, "Page").ToObject();
    // The picture stays open in the host; only a maintenance run closes it.
    if (!run_.blnMaintenanceRunning) objDocument.reset();
  }

  const std::int16_t intCurrent = interpreter::MarkerLanguage(automation::Get(objPage, "Comments"))
                                      .value_or(configuration_.intDevLangNum);
  const std::int16_t intTarget = users_.TargetLanguage(intLocalLanguageNumber, strUserName);
  if (intCurrent == intTarget) return;

  if (intCurrent != configuration_.intDevLangNum && run_.blnMissingTranslationsFound) {
    if (configuration_.blnShowWarnings) {
      messages_.TranslationsMissingBefore("picture", strFixPicture, intCurrent, intTarget,
                                          configuration_.Files().Dictionary());
    }
    return;
  }

  automation::Put(objPage, "Comments", Variant(intTarget));
  fields_.blnMissingTranslations = false;
  if (places_) places_->Walking(strFixPicture, intCurrent);
  TranslatePictureObjects(objPage, 1, intCurrent, intTarget);
  if (fields_.blnMissingTranslations && !run_.blnMaintenanceRunning &&
      configuration_.blnShowWarnings) {
    messages_.TextsNotTranslated(intCurrent, intTarget, configuration_.Files().Dictionary());
  }
}

void PictureTranslator::TranslatePictureObjects(const automation::ObjectRef& objContainer,
                                                int intLevel, std::int16_t intFromLang,
                                                std::int16_t intToLang) {
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

namespace {

std::string NameOf(const automation::ObjectRef& objObject) {
  try {
    return automation::Get(objObject, "Name").ToString();
  } catch (const std::exception&) {
    return {};  // shown all the same, under no name
  }
}

}  // namespace

void PictureTranslator::NoteShownText(const automation::ObjectRef& objObject,
                                      std::string_view strProperty,
                                      const std::string& strText) noexcept {
  if (places_ == nullptr) return;
  try {
    places_->Add(NameOf(objObject), strProperty, automation::text::Trim(strText));
  } catch (...) {
    // Out of memory: the place is left out of the report, the run goes on.
  }
}

void PictureTranslator::NoteUnreachedTexts(const automation::ObjectRef& objObject) noexcept {
  if (places_ == nullptr) return;
  try {
    if (automation::TypeNameOf(objObject) != "Fix2DGroup") return;
    // Depth first in the collections' order, however deep the groups go.
    std::vector<std::pair<std::vector<automation::Variant>, std::size_t>> open;
    open.emplace_back(
        automation::Enumerate(automation::Get(objObject, "ContainedObjects").ToObject()), 0);
    while (!open.empty()) {
      auto& [members, next] = open.back();
      if (next == members.size()) {
        open.pop_back();
        continue;
      }
      const automation::ObjectRef objMember = members[next++].ToObject();
      const std::string strType = automation::TypeNameOf(objMember);
      if (strType == "Fix2DGroup") {
        open.emplace_back(
            automation::Enumerate(automation::Get(objMember, "ContainedObjects").ToObject()), 0);
        continue;
      }
      // What translation would replace, were the object not so deep.
      if ((strType != "Fix2DText" && strType != "CommandButton") ||
          !texts_.PassesPrefixFilter(objMember))
        continue;
      const std::string strName = NameOf(objMember);
      const auto note = [&](std::string_view strProperty) {
        places_->AddUnreached(
            strName, strProperty,
            automation::text::Trim(automation::Get(objMember, strProperty).ToString()));
      };
      note("Caption");
      if (strType == "CommandButton") note("Description");
    }
  } catch (const std::exception& e) {
    errors_.LogError(
        "VeltranoModule", "UpdateAndVerifyDictionary",
        std::string("the objects in groups too deep to be translated were not all read: ") +
            e.what());
  }
}

}  // namespace vt::pictures
