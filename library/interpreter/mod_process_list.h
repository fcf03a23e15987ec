#pragma once

#include <string>

namespace vt::interpreter {

// True when a running process's executable file name equals the given name,
// compared in capitals. On return the argument holds the name trimmed of
// blanks and in capitals. A failure is reported and gives False.
bool SearchInProcessList(std::string& strProcessName);

}  // namespace vt::interpreter
