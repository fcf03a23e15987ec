#include "wizard/mod_err_handler.h"

#include <algorithm>

#include "platform/report/error_report.h"
#include "platform/system/paths.h"
#include "platform/ui/backend.h"
#include "platform/ui/msgbox.h"
#include "wizard/app_path.h"

namespace vt::wizard {

void HandleError(const std::string& strModule, const std::string& strProcedure,
                 const std::string& strErrDescription) {
  std::string log_path;
  try {
    log_path = AppPath() + system::SystemPath("\\Rostavel.log");
  } catch (...) {
    // No log then; the box is still shown.
  }
  const report::ReporterSettings settings{
      .log_path = log_path,
      .message_prefix = " Rostavel - ",
      .title = " WARNING",
      .with_debug_reference = false,
  };
  // Nobody reads a box in batch mode, and the program's folder, where the log
  // goes, may not be writable: the failure is told on stderr as well.
  try {
    if (ui::CurrentBackend().Name() == "batch") {
      std::string note = "error in " + strModule + "." + strProcedure + ": " + strErrDescription;
      std::replace_if(
          note.begin(), note.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
      ui::Notice(note);
    }
  } catch (...) {
    // The report below still shows the box.
  }
  report::Report(settings, strModule, strProcedure, strErrDescription, "");
}

}  // namespace vt::wizard
