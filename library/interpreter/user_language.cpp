#include "library/interpreter/user_language.h"

#include <exception>

#include "library/interpreter/mod_err_handler.h"
#include "platform/automation/error.h"
#include "platform/data/quote.h"
#include "platform/data/recordset.h"

namespace vt::interpreter {

std::optional<std::int16_t> UserLanguage::LookUpUser(const std::string& strUserName) const {
  const std::shared_ptr<data::Recordset>& users = session_.rsUsersLang;
  // Creation failed before it made the list: that failure was reported, and
  // a lookup then finds nobody rather than report it at every call.
  if (lifecycle_ == Lifecycle::Broken && !users) return std::nullopt;
  if (!users) throw automation::errors::ObjectNotSet();
  users->SetFilter("User=" + data::QuoteLiteral(strUserName));
  if (users->Eof()) return std::nullopt;
  return users->GetValue("Lang").ToInteger();
}

std::int16_t UserLanguage::GetUserLang(const std::string& strUserName) const {
  try {
    return LookUpUser(strUserName).value_or(0);
  } catch (const std::exception& e) {
    errors_.HandleError("VeltranoModule", "GetUserLang", e.what(), "");
    return 0;
  }
}

std::int16_t UserLanguage::TargetLanguage(std::int16_t intLocalLanguageNumber,
                                          const std::string& strUserName) const {
  if (intLocalLanguageNumber != 0) return intLocalLanguageNumber;
  if (!strUserName.empty()) {
    if (const std::int16_t user_lang = GetUserLang(strUserName); user_lang != 0) {
      return user_lang;
    }
  }
  return GlobalLangNum_;
}

}  // namespace vt::interpreter
