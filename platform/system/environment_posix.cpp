#include <cstdlib>

#include "platform/system/environment.h"

namespace vt::system {

std::optional<std::string> EnvironmentVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

}  // namespace vt::system
