#include "tests/support/shell.h"

#include <stdlib.h>

#include <stdexcept>

namespace vt::testing {

namespace {

std::filesystem::path FromEnvironment(const char* name) {
  const char* value = getenv(name);
  if (value == nullptr || *value == '\0')
    throw std::runtime_error(std::string(name) + " is not set");
  return value;
}

}  // namespace

std::string ShellQuote(std::string_view text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::filesystem::path SourceDir() { return FromEnvironment("VELTRANO_SOURCE_DIR"); }
std::filesystem::path BinaryDir() { return FromEnvironment("VELTRANO_BINARY_DIR"); }

ScopedEnvVar::ScopedEnvVar(std::string name, const std::string& value) : name_(std::move(name)) {
  if (const char* old = getenv(name_.c_str())) saved_ = old;
  SetEnv(name_, value);
}

ScopedEnvVar::~ScopedEnvVar() {
  if (saved_) {
    SetEnv(name_, *saved_);
  } else {
    UnsetEnv(name_);
  }
}

}  // namespace vt::testing
