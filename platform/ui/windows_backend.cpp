#include "platform/ui/windows_backend.h"

#include <windows.h>

#include <stdexcept>

#include "platform/system/windows_text.h"

namespace vt::ui {

Answer WindowsBackend::ShowMessage(const MessageRequest& request) {
  const int pressed = ::MessageBoxW(nullptr, system::windows::Widen(request.text).c_str(),
                                    system::windows::Widen(request.title).c_str(),
                                    static_cast<UINT>(request.style));
  if (pressed < static_cast<int>(Answer::Ok) || pressed > static_cast<int>(Answer::No)) {
    throw std::runtime_error("MessageBoxW failed with error " + std::to_string(::GetLastError()));
  }
  return static_cast<Answer>(pressed);
}

void WindowsBackend::Beep() { ::MessageBeep(MB_OK); }

// Every back end pumps the thread's messages, as the host language's
// DoEvents does, so that windows stay alive during long work.
void Backend::DoEvents() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

void Backend::RestoreDefaultMousePointer() { ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW)); }

}  // namespace vt::ui
