#pragma once

#include <ostream>
#include <string>

#include "wizard/preset.h"

namespace vt::wizard {

// Runs the wizard without a window, pressing the buttons a person would:
// Form_Load, Next, the folder (as the folder dialog would return it), Next,
// the boxes, Next, Confirm; when a button needed is disabled, or Confirm
// leaves the window open, Close, saying why on `err`. Message boxes go to the
// configured back end.
// 0 when the files were made, 1 when a failure was reported or the run
// was aborted.
int RunUnattended(const std::string& folder, const FileChoice& files, std::ostream& err);

}  // namespace vt::wizard
