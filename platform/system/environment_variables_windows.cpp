#include <string>

#include "platform/system/environment_variables.h"
#include "platform/system/text_windows.h"

namespace vt::system {

std::optional<std::string> ReadEnvironmentVariable(std::string_view name) {
  const std::wstring wide_name = windows::Widen(name);
  std::wstring value(256, L'\0');
  for (;;) {
    ::SetLastError(ERROR_SUCCESS);
    const DWORD length = ::GetEnvironmentVariableW(wide_name.c_str(), value.data(),
                                                   static_cast<DWORD>(value.size()));
    if (length == 0) {
      if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (length < value.size()) {
      value.resize(length);
      return windows::Narrow(value);
    }
    value.resize(length);  // the size needed, its terminating zero included
  }
}

void WriteEnvironmentVariable(std::string_view name, std::string_view value) {
  if (!::SetEnvironmentVariableW(windows::Widen(name).c_str(), windows::Widen(value).c_str())) {
    throw windows::LastError("cannot set the environment variable " + std::string(name));
  }
}

}  // namespace vt::system
