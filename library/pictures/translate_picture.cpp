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
                                         const std::string& strUserName, bool refused) {
  bool& translation_failed = fields_.translation_failed;
  // This picture's own failures decide how it is closed; the caller's count
  // goes on below.
  const bool failed_before = std::exchange(translation_failed, false);
  automation::ObjectRef document;
  try {
    if (!refused) {
      TranslateOpenedPicture(strFixPicture, intLocalLanguageNumber, strUserName, document);
    }
  } catch (const std::exception& e) {
    translation_failed = true;
    errors_.HandleError("VeltranoModule", "TranslatePicture", e.what(), "");
  }

  // Ending steps: a maintenance run closes every picture it opened. A
  // conversion that failed, or whose save failed, is not kept half done under
  // the new marker: the picture stays as it is on disk, for the next run.
  if (run_.blnMaintenanceRunning && document) {
    std::int16_t close_code = run_.blnDevLangSecondPass && !translation_failed ? 1 : 2;
    for (;;) {
      try {
        automation::Call(document, "Close",
                         {Variant(close_code), Variant(static_cast<std::int16_t>(1))});
        break;
      } catch (const std::exception& e) {
        translation_failed = true;
        errors_.HandleError("VeltranoModule", "TranslatePicture", e.what(), "");
        if (close_code == 2) break;
        close_code = 2;
      }
    }
    ui::DoEvents();
  }
  translation_failed = translation_failed || failed_before;
}

void PictureTranslator::TranslateOpenedPicture(std::string& strFixPicture,
                                               std::int16_t intLocalLanguageNumber,
                                               const std::string& strUserName,
                                               automation::ObjectRef& document) {
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

  automation::ObjectRef page;
  {
    const automation::ObjectRef workspace = automation::GetObject("", "Workspace.Application");
    const automation::ObjectRef documents = automation::Get(workspace, "Documents").ToObject();
    document =
        automation::Call(
            documents, "Open",
            {Variant(configuration_.strFixPath + system::SystemPath("\\") + strFixPicture + ".grf"),
             Variant(static_cast<std::int16_t>(2))})
            .ToObject();
    page = automation::Get(document, "Page").ToObject();
    // The picture stays open in the host; only a maintenance run closes it.
    if (!run_.blnMaintenanceRunning) document.reset();
  }

  const std::int16_t current = interpreter::MarkerLanguage(automation::Get(page, "Comments"))
                                   .value_or(configuration_.intDevLangNum);
  const std::int16_t target = users_.TargetLanguage(intLocalLanguageNumber, strUserName);
  if (current == target) return;

  if (current != configuration_.intDevLangNum && run_.blnMissingTranslationsFound) {
    if (configuration_.blnShowWarnings) {
      messages_.TranslationsMissingBefore("picture", strFixPicture, current, target,
                                          configuration_.Files().Dictionary());
    }
    return;
  }

  automation::Put(page, "Comments", Variant(target));
  fields_.blnMissingTranslations = false;
  if (places_) places_->Walking(strFixPicture, current);
  TranslatePictureObjects(page, 1, current, target);
  if (fields_.blnMissingTranslations && !run_.blnMaintenanceRunning &&
      configuration_.blnShowWarnings) {
    messages_.TextsNotTranslated(current, target, configuration_.Files().Dictionary());
  }
}

void PictureTranslator::TranslatePictureObjects(const automation::ObjectRef& container, int level,
                                                std::int16_t intFromLang, std::int16_t intToLang) {
  const automation::ObjectRef objects = automation::Get(container, "ContainedObjects").ToObject();
  for (const Variant& item : automation::Enumerate(objects)) {
    const automation::ObjectRef object = item.ToObject();
    if (level <= kDeepestGroupLevel && automation::TypeNameOf(object) == "Fix2DGroup") {
      TranslatePictureObjects(object, level + 1, intFromLang, intToLang);
    } else {
      TranslatePictureObject(object, intFromLang, intToLang);
      if (places_ && level > kDeepestGroupLevel) NoteUnreachedTexts(object);
    }
  }
}

namespace {

std::string NameOf(const automation::ObjectRef& object) {
  try {
    return automation::Get(object, "Name").ToString();
  } catch (const std::exception&) {
    return {};  // shown all the same, under no name
  }
}

}  // namespace

void PictureTranslator::NoteShownText(const automation::ObjectRef& object,
                                      std::string_view property,
                                      const std::string& strText) noexcept {
  if (places_ == nullptr) return;
  try {
    places_->Add(NameOf(object), property, automation::text::Trim(strText));
  } catch (...) {
    // Out of memory: the place is left out of the report, the run goes on.
  }
}

void PictureTranslator::NoteUnreachedTexts(const automation::ObjectRef& object) noexcept {
  if (places_ == nullptr) return;
  try {
    if (automation::TypeNameOf(object) != "Fix2DGroup") return;
    // Depth first in the collections' order, however deep the groups go.
    std::vector<std::pair<std::vector<automation::Variant>, std::size_t>> open;
    open.emplace_back(automation::Enumerate(automation::Get(object, "ContainedObjects").ToObject()),
                      0);
    while (!open.empty()) {
      auto& [members, next] = open.back();
      if (next == members.size()) {
        open.pop_back();
        continue;
      }
      const automation::ObjectRef member = members[next++].ToObject();
      const std::string type = automation::TypeNameOf(member);
      if (type == "Fix2DGroup") {
        open.emplace_back(
            automation::Enumerate(automation::Get(member, "ContainedObjects").ToObject()), 0);
        continue;
      }
      // What translation would replace, were the object not so deep.
      if ((type != "Fix2DText" && type != "CommandButton") || !texts_.PassesPrefixFilter(member))
        continue;
      const std::string name = NameOf(member);
      const auto note = [&](std::string_view property) {
        places_->AddUnreached(name, property,
                              automation::text::Trim(automation::Get(member, property).ToString()));
      };
      note("Caption");
      if (type == "CommandButton") note("Description");
    }
  } catch (const std::exception& e) {
    errors_.LogError(
        "VeltranoModule", "UpdateAndVerifyDictionary",
        std::string("the objects in groups too deep to be translated were not all read: ") +
            e.what());
  }
}

}  // namespace vt::pictures
