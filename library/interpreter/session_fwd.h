#pragma once

// The session's types as the components' headers name them.

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_SESSION
#error "library/interpreter/session_fwd.h is above the component that includes it"
#endif

namespace vt::interpreter {
struct Configuration;
struct RunFlags;
struct Session;
class CallNotices;
class ErrorReporter;
class Messages;
class UserLanguage;
}  // namespace vt::interpreter
