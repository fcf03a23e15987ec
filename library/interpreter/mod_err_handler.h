#pragma once

#include <string>

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_SESSION
#error "library/interpreter/mod_err_handler.h is above the component that includes it"
#endif

namespace vt::interpreter {

struct Configuration;

// The library's error reporter (module modErrHandler): one line appended to
// <pictures>/Veltrano/Veltrano.log, then a critical message box. Before the
// pictures folder is known the log path is relative to the root, where
// normally no Veltrano folder exists: only the box is shown then.
class ErrorReporter {
 public:
  explicit ErrorReporter(const Configuration& configuration) : configuration_(configuration) {}

  void HandleError(const std::string& strModule, const std::string& strProcedure,
                   const std::string& strErrDescription, const std::string& strDebugRef) const;

  // The same log line without the box, and the description as a notice (on
  // stderr in batch runs): for a failure of an extra that must not change
  // what a run tells its user.
  void LogError(const std::string& strModule, const std::string& strProcedure,
                const std::string& strErrDescription) const;

 private:
  const Configuration& configuration_;
};

}  // namespace vt::interpreter
