#include "tests/support/shell.h"

#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <array>
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

int RunShell(const std::string& command, std::string* out) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("cannot run: " + command);
  std::array<char, 65536> buffer;
  std::string text;
  for (std::size_t n = 0; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
    text.append(buffer.data(), n);
  }
  const int status = pclose(pipe);
  if (out != nullptr) *out = std::move(text);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

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
  setenv(name_.c_str(), value.c_str(), 1);
}

ScopedEnvVar::~ScopedEnvVar() {
  if (saved_) {
    setenv(name_.c_str(), saved_->c_str(), 1);
  } else {
    unsetenv(name_.c_str());
  }
}

}  // namespace vt::testing
