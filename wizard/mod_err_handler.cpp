#include "wizard/mod_err_handler.h"

#include "platform/report/error_report.h"
#include "platform/system/paths.h"
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
  report::Report(settings, strModule, strProcedure, strErrDescription, "");
}

}  // namespace vt::wizard
