#include "tests/support/win32_driver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string_view>

#include "tests/support/shell.h"

namespace vt::testing::win32 {
namespace {

Script* current_script = nullptr;

}  // namespace

static BOOL CALLBACK RememberVisibleDialog(HWND window, LPARAM result) {
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  if (!::IsWindowVisible(window) || std::wstring_view(name) != L"#32770") return TRUE;
  *reinterpret_cast<HWND*>(result) = window;
  return FALSE;
}

HWND ActiveDialog() {
  HWND found = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), RememberVisibleDialog,
                      reinterpret_cast<LPARAM>(&found));
  return found;
}

// A person's key, down and up, to the focused control; the window's message
// loop makes the character it types (TranslateMessage).
void Key(WPARAM key) {
  HWND focus = ::GetFocus();
  const UINT scan = ::MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
  ::PostMessageW(focus, WM_KEYDOWN, key, static_cast<LPARAM>(1u | (scan << 16)));
  ::PostMessageW(focus, WM_KEYUP, key, static_cast<LPARAM>(1u | (scan << 16) | 0xC0000000u));
}

void Type(const std::string& characters) {
  for (char c : characters) Key(static_cast<WPARAM>(LOBYTE(::VkKeyScanW(static_cast<wchar_t>(c)))));
}

void Click(HWND control, POINT at) {
  const LPARAM where = MAKELPARAM(at.x, at.y);
  ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, where);
  ::PostMessageW(control, WM_LBUTTONUP, 0, where);
}

void Click(HWND control) {
  RECT client;
  ::GetClientRect(control, &client);
  Click(control, {client.right / 2, client.bottom / 2});
}

std::string Text(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                        nullptr, nullptr);
  return utf8;
}

SIZE ClientSize(HWND window) {
  RECT client;
  ::GetClientRect(window, &client);
  return {client.right, client.bottom};
}

RECT Placed(HWND control) {
  RECT place;
  ::GetWindowRect(control, &place);
  ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

// The window as the screen shows it, from the display's own pixels, as a BMP.
void Screenshot(HWND window, const std::string& name) {
  RECT area;
  ::GetWindowRect(window, &area);
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  ::SelectObject(memory, old);
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<char> pixels(static_cast<std::size_t>(stride * height));
  ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  const std::filesystem::path folder = BinaryDir() / "artefacts" / "win32";
  std::filesystem::create_directories(folder);
  std::ofstream out(folder / (name + ".bmp"), std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  EXPECT_TRUE(out.good()) << name;
}

Script::Script(std::vector<std::function<void()>> steps) : steps_(std::move(steps)) {
  current_script = this;
  timer_ = ::SetTimer(nullptr, 0, 20, &Script::Tick);
}

Script::~Script() {
  ::KillTimer(nullptr, timer_);
  current_script = nullptr;
}

void CALLBACK Script::Tick(HWND, UINT, UINT_PTR, DWORD) {
  Script* script = current_script;
  if (script == nullptr || script->running_) return;
  HWND shown = ActiveDialog();
  if (script->Finished()) {
    if (shown != nullptr && ++script->idle_ticks_ > 100) {
      ADD_FAILURE() << "the window is still open after the last step";
      ::EndDialog(shown, 0);
    }
    return;
  }
  if (shown == nullptr) return;  // not shown yet
  script->running_ = true;
  script->again_ = false;
  script->steps_[script->next_++]();
  script->running_ = false;
  if (script->again_ && ++script->retries_ < 250) {
    --script->next_;
  } else {
    if (script->again_) ADD_FAILURE() << "step " << script->next_ << " waited in vain";
    script->retries_ = 0;
  }
}

void Script::Again() {
  if (current_script != nullptr) current_script->again_ = true;
}

}  // namespace vt::testing::win32
