#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_PICTURES
#error "library/pictures/picture_translator.h is above the component that includes it"
#endif

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "library/interpreter/session_fwd.h"
#include "platform/automation/dispatch.h"

namespace vt::dictionary {
class ObjectTexts;
}

namespace vt::pictures {

// What an update run notes of the pictures it walks: which object shows
// which text.
class PlaceNotes {
 public:
  // The picture's objects, shown in `language`, are about to be visited.
  virtual void Walking(std::string_view picture, std::int16_t language) = 0;
  virtual void Add(std::string object, std::string_view property, std::string_view text) = 0;
  // A text of an object in a group deeper than the walk enters.
  virtual void AddUnreached(std::string object, std::string_view property,
                            std::string_view text) = 0;

 protected:
  ~PlaceNotes() = default;
};

// The interpreter object's flags a picture's translation raises.
struct PictureFields {
  bool& blnMissingTranslations;
  bool& translation_failed;
};

// Translation of one iFix picture, of the objects in it, and the walk of
// Translate-all. Failures are reported as the interpreter object's.
class PictureTranslator {
 public:
  PictureTranslator(const dictionary::ObjectTexts& texts, const interpreter::UserLanguage& users,
                    const interpreter::Configuration& configuration,
                    const interpreter::RunFlags& run, interpreter::Messages& messages,
                    const interpreter::ErrorReporter& errors, PictureFields fields)
      : texts_(texts),
        users_(users),
        configuration_(configuration),
        run_(run),
        messages_(messages),
        errors_(errors),
        fields_(fields) {}

  // The body of TranslatePicture: nothing is opened when `refused` (the
  // guard), and a maintenance run closes the picture it opened.
  void TranslatePicture(std::string& strFixPicture, std::int16_t intLocalLanguageNumber,
                        const std::string& strUserName, bool refused);
  void TranslatePictureObject(const automation::ObjectRef& objPictureObject,
                              std::int16_t intFromLang, std::int16_t intToLang);
  // The body of TranslateAll: every open picture, then every given form, each
  // through the public operation.
  void TranslateAll(const automation::ObjectRef& objUserForms,
                    const std::function<void(std::string&)>& translate_picture,
                    const std::function<void(const automation::ObjectRef&)>& translate_form);

  // Set while an update run walks its pictures; nullptr afterwards.
  void NotePlaces(PlaceNotes* places) { places_ = places; }

 private:
  // Opens the picture, translates it when its marker allows; the document is
  // left in `document` for the ending steps when a maintenance run closes it.
  void TranslateOpenedPicture(std::string& strFixPicture, std::int16_t intLocalLanguageNumber,
                              const std::string& strUserName, automation::ObjectRef& document);
  void TranslatePictureObjects(const automation::ObjectRef& container, int level,
                               std::int16_t intFromLang, std::int16_t intToLang);
  // During an update run: which object of the picture shows the text. Never
  // fails the translation.
  void NoteShownText(const automation::ObjectRef& object, std::string_view property,
                     const std::string& strText) noexcept;
  // During an update run: the texts inside a group the walk does not enter,
  // which translation never reaches. Never fails the translation.
  void NoteUnreachedTexts(const automation::ObjectRef& object) noexcept;

  const dictionary::ObjectTexts& texts_;
  const interpreter::UserLanguage& users_;
  const interpreter::Configuration& configuration_;
  const interpreter::RunFlags& run_;
  interpreter::Messages& messages_;
  const interpreter::ErrorReporter& errors_;
  PictureFields fields_;
  PlaceNotes* places_ = nullptr;
};

}  // namespace vt::pictures
