#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_FRONT
#error "library/interpreter/module_state.h is above the component that includes it"
#endif

#include "library/interpreter/session.h"

namespace vt::interpreter {

// The library's module-level state: the session of the calling thread, one
// copy for every interpreter object created on it, alive while the library
// stays loaded. Only the front reaches it; everything else is handed what
// it uses.
Session& ThreadSession();

}  // namespace vt::interpreter
