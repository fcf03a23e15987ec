#include "library/interpreter/mod_ini_handler.h"

#include <algorithm>
#include <charconv>
#include <exception>
#include <string>

#include "library/interpreter/messages.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/session.h"
#include "platform/automation/error.h"
#include "platform/automation/text.h"
#include "platform/automation/variant.h"
#include "platform/base/utf8.h"
#include "platform/data/recordset.h"
#include "platform/system/env.h"
#include "platform/system/private_profile.h"
#include "platform/ui/msgbox.h"

namespace vt::interpreter {
namespace {

namespace text = automation::text;
using vt::automation::Variant;

// A value is seen through a buffer of 100 characters: its first 99. The
// private-profile call counts bytes, so it is asked for enough bytes to hold
// 99 characters of any UTF-8 text, and the characters are counted here.
constexpr std::size_t kValueCharacters = 99;
constexpr std::size_t kValueBufferBytes = 4 * kValueCharacters + 1;

// A value as a message shows it: quoted, a NUL byte written \0.
std::string Shown(std::string_view value) {
  std::string shown = "\"";
  for (char c : value) {
    if (c == '\0') {
      shown += "\\0";
    } else {
      shown += c;
    }
  }
  return shown + "\"";
}

class IniReader {
 public:
  explicit IniReader(std::string path) : path_(std::move(path)) {}

  std::string Text(std::string_view section, std::string_view key) const {
    const std::string raw =
        vt::system::GetPrivateProfileString(section, key, "", kValueBufferBytes, path_);
    if (vt::base::FindInvalidUtf8(raw)) {
      throw vt::automation::Error(
          vt::automation::errors::kInvalidFileFormat,
          "Invalid file format: " + Place(section, key).text + ", is not UTF-8 text");
    }
    return std::string(text::Trim(text::Left(raw, kValueCharacters)));
  }
  // Y or y as first character: on.
  bool YesFlag(std::string_view section, std::string_view key) const {
    const std::string value = Text(section, key);
    return !value.empty() && (value[0] == 'Y' || value[0] == 'y');
  }
  // N or n as first character: off; anything else, and a missing key: on.
  bool NoFlag(std::string_view section, std::string_view key) const {
    const std::string value = Text(section, key);
    return value.empty() || (value[0] != 'N' && value[0] != 'n');
  }
  // Missing or blank: `fallback`; a number above 0 with a point or comma.
  double Ratio(std::string_view section, std::string_view key, double fallback) const {
    std::string value = Text(section, key);
    if (value.empty()) return fallback;
    std::replace(value.begin(), value.end(), ',', '.');
    double ratio = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), ratio);
    if (error == std::errc() && end == value.data() + value.size() && ratio > 0 && ratio < 1e6) {
      return ratio;
    }
    throw vt::automation::Error(vt::automation::errors::kInvalidFileFormat,
                                "Invalid file format: " + Place(section, key).text + ", is " +
                                    Shown(Text(section, key)) + ", not a number above 0");
  }
  // Missing, empty, non-numeric or out of range: the conversion's own error,
  // told with the key, its line and the value seen.
  std::int16_t Number(std::string_view section, std::string_view key) const {
    const std::string value = Text(section, key);
    try {
      return Variant(value).ToInteger();
    } catch (const vt::automation::Error& e) {
      const KeyPlace place = Place(section, key);
      throw vt::automation::Error(e.number(),
                                  e.description() + ": " + place.text +
                                      (place.found ? ", is " + Shown(value) : std::string()));
    }
  }

 private:
  struct KeyPlace {
    std::string text;
    bool found = false;
  };
  // "KEY of [SECTION], line N", or for a key not found, why a line that may
  // have been meant for it did not read.
  KeyPlace Place(std::string_view section, std::string_view key) const {
    const std::string name = std::string(key) + " of [" + std::string(section) + "]";
    if (const std::size_t line = vt::system::PrivateProfileLine(section, key, path_)) {
      return {name + ", line " + std::to_string(line), true};
    }
    const vt::system::ProfileLineProblem problem = vt::system::FirstUnreadProfileLine(path_);
    if (problem.line == 0) return {name + " is missing"};
    return {name + " is missing (line " + std::to_string(problem.line) + " " + problem.reason +
            ")"};
  }

  std::string path_;
};

// 001, 002, ... 999, then 1000: at least three digits.
std::string EntryNumber(int n) {
  std::string digits = std::to_string(n);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  return digits;
}

}  // namespace

bool ReadIniFile(Configuration& configuration, vt::data::Recordset* rsUsersLang, Messages& messages,
                 const ErrorReporter& errors, bool& blnInterpreterEnabled,
                 std::int16_t& intGlobalLangNum, bool& blnGetObjectsPrefix) {
  const std::string ini_path = configuration.Files().Configuration();
  try {
    if (!vt::system::CurrentEnv().FileExists(ini_path)) {
      vt::ui::RestoreDefaultMousePointer();
      vt::ui::DoEvents();
      messages.ConfigurationMissing(ini_path);
      return false;
    }

    const IniReader ini(ini_path);
    blnInterpreterEnabled = ini.YesFlag("PARAMETERS", "InterpreterEnabled");
    configuration.blnShowInfoPanel = ini.YesFlag("PARAMETERS", "ShowInfoPanelOnStartup");
    configuration.blnShowWarnings = ini.NoFlag("PARAMETERS", "ShowWarningsForMissingTranslations");
    configuration.blnTranslateInvisibleText = ini.NoFlag("PARAMETERS", "TranslateInvisibleText");
    configuration.intDevLangNum = ini.Number("PARAMETERS", "DevelopmentLanguageNumber");
    intGlobalLangNum = ini.Number("PARAMETERS", "StartingLanguageNumber");
    configuration.intStartLangNum = intGlobalLangNum;
    blnGetObjectsPrefix = ini.YesFlag("PARAMETERS", "GetObjectsPrefix");
    configuration.strObjectsTargetPrefix = ini.Text("PARAMETERS", "ObjectsTargetPrefix");
    // At most 99 characters reach us, so the count always fits.
    configuration.bytObjectsTargetPrefixLen =
        static_cast<std::uint8_t>(text::Len(configuration.strObjectsTargetPrefix));

    for (int n = 1;; ++n) {
      const std::string strUserName = ini.Text("USERSLANG", "UserName_" + EntryNumber(n));
      if (strUserName.empty()) break;
      const std::int16_t user_lang = ini.Number("USERSLANG", "UserLang_" + EntryNumber(n));
      if (rsUsersLang == nullptr) throw vt::automation::errors::ObjectNotSet();
      vt::data::Recordset& users = *rsUsersLang;
      users.AddNew();
      users.SetValue("User", Variant(strUserName));
      users.SetValue("Lang", Variant(static_cast<std::int32_t>(user_lang)));
      users.Update();
    }
    return true;
  } catch (const std::exception& e) {
    messages.ConfigurationUnreadable(ini_path);
    errors.HandleError("modIniHandler", "ReadIniFile", e.what(), "");
    return false;
  }
}

double ReadReportLengthRatio(const Configuration& configuration) {
  const IniReader ini(configuration.Files().Configuration());
  return ini.Ratio("PARAMETERS", "ReportLengthRatio", kDefaultReportLengthRatio);
}

}  // namespace vt::interpreter
