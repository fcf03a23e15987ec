#include "platform/ui/backend_windows.h"

#include <windows.h>

#include <stdexcept>

#include "platform/system/text_windows.h"

namespace vt::ui {
namespace {

// The window a box is raised from, while the box is being made.
thread_local HWND box_owner = nullptr;

// Centres the box on its owner as it is activated, the first time.
LRESULT CALLBACK CentreOnOwner(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HCBT_ACTIVATE && box_owner != nullptr) {
    const auto box = reinterpret_cast<HWND>(wparam);
    RECT owner;
    RECT own;
    if (::GetWindowRect(box_owner, &owner) && ::GetWindowRect(box, &own)) {
      const int width = own.right - own.left;
      const int height = own.bottom - own.top;
      ::SetWindowPos(box, nullptr, (owner.left + owner.right - width) / 2,
                     (owner.top + owner.bottom - height) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    box_owner = nullptr;
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

}  // namespace

Answer WindowsBackend::ShowMessage(const MessageRequest& request) {
  // Owned by the window it is raised from (one of the system's dialogs or the
  // host's window), and centred on it.
  HWND owner = ::GetActiveWindow();
  HHOOK hook = nullptr;
  if (owner != nullptr) {
    box_owner = owner;
    hook = ::SetWindowsHookExW(WH_CBT, CentreOnOwner, nullptr, ::GetCurrentThreadId());
  }
  const int pressed = ::MessageBoxW(owner, system::windows::Widen(request.text).c_str(),
                                    system::windows::Widen(request.title).c_str(),
                                    static_cast<UINT>(request.style));
  if (hook != nullptr) ::UnhookWindowsHookEx(hook);
  box_owner = nullptr;
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
