#pragma once

#include <ostream>

namespace vt::wizard {

// Rostavel's command line: the window, or with --batch the unattended run.
// Returns the exit status: 0 the files were made, 1 a failure was reported or
// the wizard was closed, 2 a wrong command line.
int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace vt::wizard
