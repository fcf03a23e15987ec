#include "library/interpreter/mod_process_list.h"

#include <exception>

#include "library/interpreter/mod_err_handler.h"
#include "platform/automation/text.h"
#include "platform/system/env.h"
#include "platform/ui/msgbox.h"

namespace vt::interpreter {

namespace text = automation::text;

bool SearchInProcessList(std::string& strProcessName, const ErrorReporter& errors) {
  bool found = false;
  try {
    strProcessName = text::UCase(text::Trim(strProcessName));
    for (const std::string& name : vt::system::CurrentEnv().RunningProcessExecutableNames()) {
      vt::ui::DoEvents();
      // The walk visits every process, also after a match.
      if (text::UCase(text::Trim(name)) == strProcessName) found = true;
    }
  } catch (const std::exception& e) {
    errors.HandleError("modProcessList", "SearchInProcessList", e.what(), "");
    return false;
  }
  return found;
}

}  // namespace vt::interpreter
