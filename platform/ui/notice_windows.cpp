#include <windows.h>

#include <string>

#include "platform/system/text_windows.h"
#include "platform/ui/process_state.h"

namespace vt::ui::detail {

namespace {

// The program's file name, as POSIX's short invocation name ("FIX.exe" on
// both builds).
std::string OwnName() {
  wchar_t path[MAX_PATH * 4];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  return system::windows::NameOf(system::windows::Narrow(std::wstring_view(path, length)));
}

}  // namespace

void Notice(std::string_view message) noexcept {
  try {
    const std::string name = ProgramName();
    std::string line = name.empty() ? OwnName() : name;
    line += ": ";
    line += message;
    line += '\n';
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), line.data(), static_cast<DWORD>(line.size()),
                &written, nullptr);
  } catch (...) {
    // Out of memory while building a notice: nothing sensible is left to say.
  }
}

}  // namespace vt::ui::detail
