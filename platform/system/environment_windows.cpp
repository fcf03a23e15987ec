#include "platform/system/environment.h"
#include "platform/system/text_windows.h"

namespace vt::system {

std::optional<std::string> EnvironmentVariable(const char* name) {
  const std::wstring wide_name = windows::Widen(name);
  std::wstring value(64, L'\0');
  for (;;) {
    ::SetLastError(ERROR_SUCCESS);
    const DWORD length = ::GetEnvironmentVariableW(wide_name.c_str(), value.data(),
                                                   static_cast<DWORD>(value.size()));
    if (length == 0) {
      if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    // Too small a buffer gives the size needed, the terminator counted.
    if (length < value.size()) {
      value.resize(length);
      return windows::Narrow(value);
    }
    value.resize(length);
  }
}

}  // namespace vt::system
