#pragma once

#include <string>

namespace vt::interpreter {

// The library's error reporter: one line appended to
// <pictures>/Veltrano/Veltrano.log, then a critical message box.
void HandleError(const std::string& strModule, const std::string& strProcedure,
                 const std::string& strErrDescription, const std::string& strDebugRef);

// The same log line without the box, and the description as a notice (on
// stderr in batch runs): for a failure of an extra that must not change what
// a run tells its user.
void LogError(const std::string& strModule, const std::string& strProcedure,
              const std::string& strErrDescription);

}  // namespace vt::interpreter
