#include <objbase.h>
#include <stdio.h>
#include <stdlib.h>

#include <array>
#include <memory>
#include <stdexcept>

#include "platform/system/text_windows.h"
#include "tests/support/shell.h"

namespace vt::testing {

// Through cmd.exe, the shell Windows has: the POSIX tools that the Linux
// tests call (soffice, python3) are not there, and such commands fail.
int RunShell(const std::string& command, std::string* out) {
  FILE* pipe = ::_wpopen(system::windows::Widen(command).c_str(), L"rb");
  if (pipe == nullptr) throw std::runtime_error("cannot run: " + command);
  std::array<char, 65536> buffer;
  std::string text;
  for (std::size_t n = 0; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
    text.append(buffer.data(), n);
  }
  const int status = ::_pclose(pipe);
  if (out != nullptr) *out = std::move(text);
  return status;
}

void SetEnv(const std::string& name, const std::string& value) {
  ::_wputenv_s(system::windows::Widen(name).c_str(), system::windows::Widen(value).c_str());
}

// An empty value removes the variable.
void UnsetEnv(const std::string& name) { ::_wputenv_s(system::windows::Widen(name).c_str(), L""); }

std::shared_ptr<void> JoinObjectRuntime() {
  const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (FAILED(hr)) throw std::runtime_error("COM cannot be started");
  return std::shared_ptr<void>(nullptr, [](void*) { ::CoUninitialize(); });
}

}  // namespace vt::testing
