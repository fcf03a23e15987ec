#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <array>
#include <memory>
#include <stdexcept>

#include "tests/support/shell.h"

namespace vt::testing {

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

void SetEnv(const std::string& name, const std::string& value) {
  ::setenv(name.c_str(), value.c_str(), 1);
}

void UnsetEnv(const std::string& name) { ::unsetenv(name.c_str()); }

std::shared_ptr<void> JoinObjectRuntime() { return nullptr; }

}  // namespace vt::testing
