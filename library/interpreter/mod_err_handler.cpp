#include "library/interpreter/mod_err_handler.h"

#include "library/interpreter/session.h"
#include "platform/report/error_report.h"
#include "platform/ui/msgbox.h"

namespace vt::interpreter {
namespace {

vt::report::ReporterSettings Settings(const Configuration& configuration) {
  return {
      .log_path = configuration.Files().Log(),
      .message_prefix = "Veltrano - ",
      .title = " Veltrano - WARNING",
      .with_debug_reference = true,
  };
}

}  // namespace

void ErrorReporter::HandleError(const std::string& strModule, const std::string& strProcedure,
                                const std::string& strErrDescription,
                                const std::string& strDebugRef) const {
  vt::report::Report(Settings(configuration_), strModule, strProcedure, strErrDescription,
                     strDebugRef);
}

void ErrorReporter::LogError(const std::string& strModule, const std::string& strProcedure,
                             const std::string& strErrDescription) const {
  vt::report::Log(Settings(configuration_), strModule, strProcedure, strErrDescription, "");
  vt::ui::Notice("error in " + strModule + "." + strProcedure + ": " + strErrDescription);
}

}  // namespace vt::interpreter
