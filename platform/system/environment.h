#pragma once

#include <optional>
#include <string>

namespace vt::system {

// The value of an environment variable as UTF-8, or nullopt when it is not
// set. On Windows getenv gives it in the ANSI code page; this reads it wide.
std::optional<std::string> EnvironmentVariable(const char* name);

}  // namespace vt::system
