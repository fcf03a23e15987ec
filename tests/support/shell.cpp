#include "tests/support/shell.h"

#include <stdexcept>

#include "platform/system/environment_variables.h"
#include "platform/system/utf8_path.h"

namespace vt::testing {

namespace {

std::filesystem::path FromEnvironment(const char* name) {
  const std::string value = system::ReadEnvironmentVariable(name).value_or("");
  if (value.empty()) throw std::runtime_error(std::string(name) + " is not set");
  return system::PathFromUtf8(value);
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
  saved_ = system::ReadEnvironmentVariable(name_.c_str());
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
