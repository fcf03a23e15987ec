#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/system/env.h"
#include "platform/system/environment_variables.h"

namespace vt::system {

std::optional<std::string> ReadEnvironmentVariable(std::string_view name) {
  const char* value = std::getenv(std::string(name).c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

void WriteEnvironmentVariable(std::string_view name, std::string_view value) {
  if (::setenv(std::string(name).c_str(), std::string(value).c_str(), 1) != 0) {
    throw SystemError(errno, "cannot set the environment variable " + std::string(name));
  }
}

}  // namespace vt::system
