#pragma once

#include <string>
#include <string_view>

namespace vt::system {

// The system's own paths are written with backslashes, as on Windows
// ("\Veltrano\Veltrano.ini"); this is the same path with the platform's
// separator: unchanged on Windows, slashes on Linux. File access and the
// messages that show a path use it alike.
std::string SystemPath(std::string_view windows_path);

}  // namespace vt::system
