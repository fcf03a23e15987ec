// The configuration file in the text editor, at any time.
#include <exception>

#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/module_state.h"
#include "library/interpreter/veltrano_module.h"
#include "library/maintenance/launch.h"
#include "platform/system/paths.h"

namespace vt::interpreter {

void VeltranoModule::ShowStartupConfig() {
  try {
    // Not looked for first: the editor opens on the path even when missing.
    maintenance::StartEditor(Module().strFixPath + system::SystemPath("\\Veltrano\\Veltrano.ini"));
  } catch (const std::exception& e) {
    HandleError("VeltranoModule", "ShowStartupConfig", e.what(), "");
  }
}

}  // namespace vt::interpreter
