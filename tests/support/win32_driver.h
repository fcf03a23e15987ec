#pragma once

// Drives Win32 windows of this thread as a person would, for the tests of the
// Win32 views under Wine on a virtual display.
// clang-format off
#undef NOGDI
#include <windows.h>
// clang-format on

#include <functional>
#include <string>
#include <vector>

namespace vt::testing::win32 {

// The dialog this thread shows on top (class #32770, visible), or nullptr.
HWND ActiveDialog();

// Steps run one by one from a timer of the window's own thread. A timer
// message comes only when no other message waits, so each step sees what the
// keys and clicks of the step before have done; no step runs before a dialog
// shows. A window still open long after the last step is closed, and the
// test fails, so that a failing test ends.
class Script {
 public:
  explicit Script(std::vector<std::function<void()>> steps);
  ~Script();
  Script(const Script&) = delete;
  Script& operator=(const Script&) = delete;
  bool Finished() const { return next_ == steps_.size(); }
  // Called by a step that finds its window not there yet: the step runs again
  // at the next tick (for a few seconds at most).
  static void Again();

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

  std::vector<std::function<void()>> steps_;
  std::size_t next_ = 0;
  UINT_PTR timer_ = 0;
  bool running_ = false;
  int idle_ticks_ = 0;
  int retries_ = 0;
  bool again_ = false;
};

// A key, down and up, to the focused control; the window's message loop makes
// the character it types (TranslateMessage).
void Key(WPARAM key);
// The keys that type `characters`.
void Type(const std::string& characters);
// The left button pressed and released at `at` (client coordinates), or in
// the middle of the control.
void Click(HWND control, POINT at);
void Click(HWND control);

std::string Text(HWND window);
SIZE ClientSize(HWND window);
// The control's place in its parent's client area.
RECT Placed(HWND control);

// The window as the screen shows it, read from the display's pixels, saved as
// artefacts/win32/NAME.bmp in the build tree.
void Screenshot(HWND window, const std::string& name);

}  // namespace vt::testing::win32
