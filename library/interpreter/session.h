#pragma once

// The library's session: its module-level state (one copy for
// every interpreter object of the host's scripting thread, kept by the
// front), split by who writes it. Components are handed the parts they use.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "library/interpreter/application_files.h"
#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_SESSION
#error "library/interpreter/session.h is above the component that includes it"
#endif

namespace vt::data {
class Recordset;
}

namespace vt::interpreter {

// The pictures folder and the settings read from the configuration file:
// written by creation and the configuration read alone, read everywhere else
// (except that the picture-selection dialogs store the accepted language
// number back into intStartLangNum).
struct Configuration {
  std::string strFixPath;
  bool blnShowInfoPanel = false;
  bool blnShowWarnings = false;
  bool blnTranslateInvisibleText = false;
  std::int16_t intDevLangNum = 0;
  std::int16_t intStartLangNum = 0;
  std::string strObjectsTargetPrefix;
  std::uint8_t bytObjectsTargetPrefixLen = 0;

  ApplicationFiles Files() const { return ApplicationFiles(strFixPath); }
};

// What translations and maintenance runs raise and lower.
struct RunFlags {
  bool blnDictionaryUpdated = false;
  bool blnMissingTranslationsFound = false;
  bool blnMaintenanceRunning = false;
  bool blnDevLangSecondPass = false;
  std::vector<std::string> strSelectedPictures;
  // Raised for the whole of a maintenance call (the dialog's Cancel lowers
  // blnMaintenanceRunning before the call ends): a call made meanwhile, from
  // the host's events, returns at once instead of lowering the shared flags.
  bool maintenance_procedure_running = false;
};

struct Session {
  Configuration configuration;
  RunFlags run;
  // The user list, user name to language number.
  std::shared_ptr<vt::data::Recordset> rsUsersLang;
  // Interpreter objects alive on this thread; the user list they share is
  // closed when the last of them terminates.
  int objects_alive = 0;
};

// Where creation left an object.
enum class Lifecycle {
  OutsideHost,  // not created inside the host: every guarded operation does nothing
  Disabled,     // switched off by the configuration or a missing workbook
  Ready,
  Broken,  // creation was interrupted by a failure, which was reported
};

// What the running public call has told already: a failure that every text
// of the call meets is told once, then only counted. The front's PublicCall
// forgets them when the outermost call returns.
class CallNotices {
 public:
  bool Noted(std::string_view notice) const {
    for (const std::string& told : told_) {
      if (told == notice) return true;
    }
    return false;
  }
  // True the first time `notice` is noted in this call.
  bool First(std::string_view notice) {
    if (Noted(notice)) return false;
    told_.emplace_back(notice);
    return true;
  }
  void Clear() { told_.clear(); }

 private:
  std::vector<std::string> told_;
};

}  // namespace vt::interpreter
