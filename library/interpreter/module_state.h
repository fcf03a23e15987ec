#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vt::data {
class Recordset;
}

namespace vt::interpreter {

// The library's module-level state: one copy for every interpreter object
// of the host's scripting thread, alive while the library stays loaded.
struct ModuleState {
  std::string strFixPath;

  // Read from the configuration file.
  bool blnShowInfoPanel = false;
  bool blnShowWarnings = false;
  bool blnTranslateInvisibleText = false;
  std::int16_t intDevLangNum = 0;
  std::int16_t intStartLangNum = 0;
  std::string strObjectsTargetPrefix;
  std::uint8_t bytObjectsTargetPrefixLen = 0;
  std::shared_ptr<vt::data::Recordset> rsUsersLang;

  bool blnDictionaryUpdated = false;
  bool blnMissingTranslationsFound = false;
  bool blnMaintenanceRunning = false;
  bool blnDevLangSecondPass = false;
  std::vector<std::string> strSelectedPictures;
  // Raised for the whole of a maintenance call (the dialog's Cancel lowers
  // blnMaintenanceRunning before the call ends): a call made meanwhile, from
  // the host's events, returns at once instead of lowering the shared flags.
  bool blnMaintenanceProcedureRunning = false;

  // Interpreter objects alive on this thread; the user list they share is
  // closed when the last of them terminates.
  int intObjectsAlive = 0;
};

ModuleState& Module();

}  // namespace vt::interpreter
