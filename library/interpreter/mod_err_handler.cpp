#include "library/interpreter/mod_err_handler.h"

#include "library/interpreter/module_state.h"
#include "platform/report/error_report.h"
#include "platform/system/paths.h"

namespace vt::interpreter {

void HandleError(const std::string& strModule, const std::string& strProcedure,
                 const std::string& strErrDescription, const std::string& strDebugRef) {
  // Before the pictures folder is known the path is relative to the root,
  // where normally no Veltrano folder exists: only the box is shown then.
  const vt::report::ReporterSettings settings{
      .log_path = Module().strFixPath + system::SystemPath("\\Veltrano\\Veltrano.log"),
      .message_prefix = "Veltrano - ",
      .title = " Veltrano - WARNING",
      .with_debug_reference = true,
  };
  vt::report::Report(settings, strModule, strProcedure, strErrDescription, strDebugRef);
}

}  // namespace vt::interpreter
