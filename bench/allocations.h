#pragma once

// The number of calls of operator new in this program so far, the shared
// libraries' included (the program's operator new replaces theirs).

#include <cstddef>

namespace vt::bench {

std::size_t AllocationCount();

}  // namespace vt::bench
