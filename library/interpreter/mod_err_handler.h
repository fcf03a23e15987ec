#pragma once

#include <string>

namespace vt::interpreter {

// The library's error reporter: one line appended to
// <pictures>/Veltrano/Veltrano.log, then a critical message box.
void HandleError(const std::string& strModule, const std::string& strProcedure,
                 const std::string& strErrDescription, const std::string& strDebugRef);

}  // namespace vt::interpreter
