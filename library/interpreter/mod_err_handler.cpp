#include "library/interpreter/mod_err_handler.h"

#include "library/interpreter/module_state.h"
#include "platform/report/error_report.h"
#include "platform/system/paths.h"
#include "platform/ui/msgbox.h"

namespace vt::interpreter {

namespace {

vt::report::ReporterSettings Settings() {
  // Before the pictures folder is known the path is relative to the root,
  // where normally no Veltrano folder exists: only the box is shown then.
  return {
      .log_path = Module().strFixPath + system::SystemPath("\\Veltrano\\Veltrano.log"),
      .message_prefix = "Veltrano - ",
      .title = " Veltrano - WARNING",
      .with_debug_reference = true,
  };
}

}  // namespace

void HandleError(const std::string& strModule, const std::string& strProcedure,
                 const std::string& strErrDescription, const std::string& strDebugRef) {
  vt::report::Report(Settings(), strModule, strProcedure, strErrDescription, strDebugRef);
}

void LogError(const std::string& strModule, const std::string& strProcedure,
              const std::string& strErrDescription) {
  vt::report::Log(Settings(), strModule, strProcedure, strErrDescription, "");
  vt::ui::Notice("error in " + strModule + "." + strProcedure + ": " + strErrDescription);
}

}  // namespace vt::interpreter
