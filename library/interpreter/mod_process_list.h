#pragma once

#include <string>

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_SESSION
#error "library/interpreter/mod_process_list.h is above the component that includes it"
#endif

namespace vt::interpreter {

class ErrorReporter;

// True when a running process's executable file name equals the given name,
// compared in capitals. On return the argument holds the name trimmed of
// blanks and in capitals. A failure is reported and gives False.
bool SearchInProcessList(std::string& strProcessName, const ErrorReporter& errors);

}  // namespace vt::interpreter
