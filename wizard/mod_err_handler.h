#pragma once

#include <string>

namespace vt::wizard {

// The wizard's error reporter: one line appended to Rostavel.log beside the
// program, then a critical message box.
void HandleError(const std::string& strModule, const std::string& strProcedure,
                 const std::string& strErrDescription);

}  // namespace vt::wizard
