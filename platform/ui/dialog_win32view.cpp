#include "platform/ui/dialog_win32view.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace vt::ui::win32 {

int ScreenDpi() {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

RECT PlaceOf(const layout::Window& window, const layout::Control& control, int dpi) {
  int left = control.left;
  int top = control.top;
  if (control.parent != nullptr) {
    const layout::Control& frame = layout::Find(window, control.parent);
    left += frame.left;
    top += frame.top;
  }
  // Each edge on its own, so that neighbours meet as in the table.
  const int x = Pixels(left, dpi);
  const int y = Pixels(top, dpi);
  return {x, y, x + Pixels(control.width, dpi), y + Pixels(control.height, dpi)};
}

HFONT MakeFont(const layout::Font& font, int dpi) {
  LOGFONTW description{};
  description.lfHeight = -static_cast<LONG>(font.points * dpi / 72.0 + 0.5);
  description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  description.lfCharSet = DEFAULT_CHARSET;
  description.lfQuality = DEFAULT_QUALITY;
  const std::wstring family = Wide(font.family);
  wcsncpy(description.lfFaceName, family.c_str(), LF_FACESIZE - 1);
  return ::CreateFontIndirectW(&description);
}

int ControlId(const layout::Window& window, std::string_view name) {
  int id = kFirstControlId;
  for (const layout::Control& control : window.controls) {
    if (name == control.name) return id;
    ++id;
  }
  throw std::out_of_range("the layout has no control " + std::string(name));
}

INT_PTR ShowModal(HWND owner, DWORD style, DWORD extended_style, DLGPROC procedure,
                  LPARAM parameter) {
  // DLGTEMPLATE, then no menu, the dialog class, no title (set later), all
  // WORD aligned; the controls come from the procedure.
  struct alignas(DWORD) Template {
    DLGTEMPLATE header;
    WORD menu = 0;
    WORD window_class = 0;
    WORD title = 0;
  } dialog{};
  dialog.header.style = style;
  dialog.header.dwExtendedStyle = extended_style;
  return ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), &dialog.header, owner, procedure,
                                   parameter);
}

INT_PTR RunModal(DWORD style, DWORD extended_style, DLGPROC procedure, LPARAM parameter) {
  const INT_PTR result =
      ShowModal(::GetActiveWindow(), style, extended_style, procedure, parameter);
  if (result == -1) {
    throw std::runtime_error("the window cannot be made (error " +
                             std::to_string(::GetLastError()) + ")");
  }
  return result;
}

void SizeAndCentre(HWND dialog, const layout::Window& window, int dpi) {
  RECT frame{0, 0, Pixels(window.width, dpi), Pixels(window.height, dpi)};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoW(::MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& area = monitor.rcWork;
  ::SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND MakeToolTips(HWND dialog) {
  return ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog,
                           nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

void AddToolTip(HWND tips, HWND dialog, HWND control, const char* utf8) {
  if (tips == nullptr || *utf8 == '\0') return;
  std::wstring text = Wide(utf8);
  TOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = dialog;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text.data();
  ::SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size =
      ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), size,
                        nullptr, nullptr);
  return utf8;
}

std::string TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Utf8(text);
}

HFONT FitOnOneLine(HWND label, const layout::Font& font, int dpi) {
  const std::wstring text = Wide(TextOf(label));
  RECT place;
  ::GetClientRect(label, &place);
  HDC dc = ::GetDC(label);
  layout::Font trying = font;
  HFONT made = nullptr;
  for (;;) {
    if (made != nullptr) ::DeleteObject(made);
    made = MakeFont(trying, dpi);
    HGDIOBJ old = ::SelectObject(dc, made);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    if (size.cx <= place.right || trying.points - 0.25 < 6.5) break;
    trying.points -= 0.25;
  }
  ::ReleaseDC(label, dc);
  ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(made), FALSE);
  return made;
}

int FocusedButtonId(HWND dialog) {
  HWND focus = ::GetFocus();
  if (focus == nullptr || ::GetParent(focus) != dialog) return 0;
  wchar_t class_name[16] = {};
  ::GetClassNameW(focus, class_name, 16);
  if (_wcsicmp(class_name, L"Button") != 0) return 0;
  const LONG_PTR kind = ::GetWindowLongPtrW(focus, GWL_STYLE) & BS_TYPEMASK;
  if (kind != BS_PUSHBUTTON && kind != BS_DEFPUSHBUTTON && kind != BS_OWNERDRAW) return 0;
  return ::GetDlgCtrlID(focus);
}

void AnswerDefaultId(HWND dialog, int otherwise) {
  int id = FocusedButtonId(dialog);
  if (id == 0) id = otherwise;
  ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, id != 0 ? MAKELONG(id, DC_HASDEFID) : 0);
}

bool SetPointer(HWND dialog, const layout::Window& window, HWND under) {
  if (under == nullptr || ::GetParent(under) != dialog) return false;
  const int id = ::GetDlgCtrlID(under) - kFirstControlId;
  if (id < 0 || id >= static_cast<int>(window.controls.size())) return false;
  if (!window.controls[static_cast<std::size_t>(id)].pointing_hand) return false;
  ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
  ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, TRUE);
  return true;
}

int ClickedControl(WPARAM wparam) {
  return HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) >= kFirstControlId ? LOWORD(wparam) : 0;
}

void ForEachControl(const layout::Window& window,
                    const std::function<void(const layout::Control&)>& make) {
  for (const char* name : window.tab_order) make(layout::Find(window, name));
  for (const layout::Control& control : window.controls) {
    bool in_tab_order = false;
    for (const char* name : window.tab_order) in_tab_order = in_tab_order || name == control.name;
    if (!in_tab_order) make(control);
  }
}

RECT InsideOf(const layout::Window& window, const layout::Control& frame, int dpi) {
  // The border's two lines and as much space again.
  const int border = 2 * ::GetSystemMetrics(SM_CXEDGE);
  RECT inside = PlaceOf(window, frame, dpi);
  ::InflateRect(&inside, -border, -border);
  return inside;
}

HWND MakeControl(HWND dialog, const layout::Window& window, const layout::Control& control, int dpi,
                 const wchar_t* window_class, DWORD style, DWORD extended_style, const char* text) {
  RECT place = PlaceOf(window, control, dpi);
  if (control.parent != nullptr) {
    // A frame holds what lies in it: nothing reaches over its border (a label
    // reaching to the frame's edge has its text fitted to what is left).
    const RECT inside = InsideOf(window, layout::Find(window, control.parent), dpi);
    place.right = std::min(place.right, inside.right);
    place.bottom = std::min(place.bottom, inside.bottom);
  }
  return ::CreateWindowExW(
      extended_style, window_class, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, place.left,
      place.top, place.right - place.left, place.bottom - place.top, dialog,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(window, control.name))),
      ::GetModuleHandleW(nullptr), nullptr);
}

void SetFont(HWND made, const layout::Control& control, std::vector<HFONT>& fonts, int dpi) {
  HFONT font = fonts.front();
  if (control.font.family != nullptr) {
    fonts.push_back(MakeFont(control.font, dpi));
    font = fonts.back();
  }
  ::SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

DialogView::~DialogView() {
  for (HFONT font : fonts_) ::DeleteObject(font);
}

}  // namespace vt::ui::win32
