#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_SESSION
#error "library/interpreter/user_language.h is above the component that includes it"
#endif

#include <cstdint>
#include <optional>
#include <string>

#include "library/interpreter/session.h"

namespace vt::interpreter {

class ErrorReporter;

// The per-user language: the user list of the session and the object's
// GlobalLangNum. Failures are reported as the interpreter object's.
class UserLanguage {
 public:
  UserLanguage(const Session& session, const std::int16_t& GlobalLangNum,
               const Lifecycle& lifecycle, const ErrorReporter& errors)
      : session_(session), GlobalLangNum_(GlobalLangNum), lifecycle_(lifecycle), errors_(errors) {}

  // The user's language through the user list's filter; nullopt when unlisted.
  std::optional<std::int16_t> LookUpUser(const std::string& strUserName) const;
  // The language of a listed user, 0 when the user is not listed.
  std::int16_t GetUserLang(const std::string& strUserName) const;
  // The target of TranslatePicture / TranslateForm: the number when given,
  // else the user's language when the user is listed, else GlobalLangNum.
  std::int16_t TargetLanguage(std::int16_t intLocalLanguageNumber,
                              const std::string& strUserName) const;

 private:
  const Session& session_;
  const std::int16_t& GlobalLangNum_;
  const Lifecycle& lifecycle_;
  const ErrorReporter& errors_;
};

}  // namespace vt::interpreter
