#pragma once

#include <optional>
#include <string>
#include <string_view>

// The process's environment, as every module of the process sees it (on
// Windows the environment block of the process, in UTF-16, not a copy of one
// C runtime): what a host and the libraries it loaded share, whatever they
// are built with.
namespace vt::system {

// The variable's value (UTF-8), or nothing when it is not set.
std::optional<std::string> ReadEnvironmentVariable(std::string_view name);

// Sets the variable (an empty value too). Throws SystemError when the
// environment refuses it.
void WriteEnvironmentVariable(std::string_view name, std::string_view value);

}  // namespace vt::system
