#pragma once

#include <iosfwd>

namespace vt::host {

// The whole of FIX.exe: parse, set up the workspace, run the command.
// Returns the exit status: 0 ran, 1 host failure, 2 wrong command line.
int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace vt::host
