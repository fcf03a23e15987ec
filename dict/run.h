#pragma once

#include <ostream>

namespace vt::dict {

inline constexpr int kDone = 0;
inline constexpr int kIncomplete = 1;  // --check found a language missing texts; units refused
inline constexpr int kWrongUse = 2;    // a wrong command line, or a file that cannot be used

// veltrano-dict's command line (UTF-8 words) run to its exit status.
int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace vt::dict
