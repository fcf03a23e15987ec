#pragma once

#include <string>
#include <vector>

namespace vt::system {

// The executable file names of the processes listed in a proc file system
// mounted at `proc_root` ("/proc"), from each /<pid>/exe link; processes whose
// link cannot be read are skipped. A name ending in " (deleted)" (its file was
// replaced while running) is given without that mark.
std::vector<std::string> ReadProcessExecutableNames(const std::string& proc_root);

}  // namespace vt::system
