// The configuration file in the text editor, at any time.
#include <exception>

#include "library/interpreter/mod_err_handler.h"
#include "library/maintenance/launch.h"
#include "library/maintenance/maintenance.h"

namespace vt::maintenance {

void Maintenance::ShowStartupConfig() {
  try {
    // Not looked for first: the editor opens on the path even when missing.
    StartEditor(session_.configuration.Files().Configuration());
  } catch (const std::exception& e) {
    errors_.HandleError("VeltranoModule", "ShowStartupConfig", e.what(), "");
  }
}

}  // namespace vt::maintenance
