#pragma once

// The dialog kit's Win32 side, what the Win32 views share: twips to pixels at
// the screen's resolution, fonts as the layout tables name them, an empty
// modal dialog the views fill with their controls, the controls' ids, and the
// view a dialog serves.
// clang-format off
#undef NOGDI
#include <windows.h>
// clang-format on

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/dialog_layout.h"

namespace vt::ui::win32 {

// The screen's dots per inch (96 on a standard screen: 15 twips a pixel).
int ScreenDpi();
inline int Pixels(int twips, int dpi) { return ::MulDiv(twips, dpi, 1440); }

// A control's place in the client area; one inside a frame is moved by the
// frame's place.
RECT PlaceOf(const layout::Window& window, const layout::Control& control, int dpi);

// The frame's inside, clear of its border; what the frame holds lies within.
RECT InsideOf(const layout::Window& window, const layout::Control& frame, int dpi);

// The font of that family and size; the caller deletes it.
HFONT MakeFont(const layout::Font& font, int dpi);

// The control's id in its window: its row in the layout table, from 100
// (1 and 2 are the dialog manager's Enter and Escape).
int ControlId(const layout::Window& window, std::string_view name);
constexpr int kFirstControlId = 100;

// Shows a modal dialog with `style` and no controls, owned by `owner`;
// `procedure` builds the controls in WM_INITDIALOG, where lParam is
// `parameter`. Returns the dialog's result, -1 when it could not be made.
INT_PTR ShowModal(HWND owner, DWORD style, DWORD extended_style, DLGPROC procedure,
                  LPARAM parameter);

// The same owned by the thread's active window (the host's); throws
// std::runtime_error when the dialog cannot be made.
INT_PTR RunModal(DWORD style, DWORD extended_style, DLGPROC procedure, LPARAM parameter);

// Gives the window a client area of the layout's size and centres it on the
// screen.
void SizeAndCentre(HWND dialog, const layout::Window& window, int dpi);

// A tool tip for `control`, shown by `tips` (made by MakeToolTips).
HWND MakeToolTips(HWND dialog);
void AddToolTip(HWND tips, HWND dialog, HWND control, const char* utf8);

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);
std::string TextOf(HWND window);

// Gives the label `font`, or that font made smaller a quarter point at a time
// (down to 6.5 points) until its text fits on one line: the layouts were
// measured with fonts this system may lack and replace with wider ones. The
// font made is returned for the caller to delete (nullptr when none).
HFONT FitOnOneLine(HWND label, const layout::Font& font, int dpi);

// The id of the push button with the focus, or 0: Enter presses it.
int FocusedButtonId(HWND dialog);

// Answers DM_GETDEFID: Enter presses the focused push button, else the
// control `otherwise` (0: none).
void AnswerDefaultId(HWND dialog, int otherwise = 0);

// Makes the pointer the pointing hand over the controls marked so in the
// layout; call on WM_SETCURSOR, true (and the message's result set) when it
// did.
bool SetPointer(HWND dialog, const layout::Window& window, HWND under);

// The view a dialog procedure serves: from WM_INITDIALOG on, the one whose
// address RunModal or ShowModal was given (kept with the dialog); null before.
template <typename View>
View* ViewOf(HWND dialog, UINT message, LPARAM lparam) {
  if (message == WM_INITDIALOG) ::SetWindowLongPtrW(dialog, DWLP_USER, lparam);
  return reinterpret_cast<View*>(::GetWindowLongPtrW(dialog, DWLP_USER));
}

// What every Win32 view of a layout holds: its table, the screen's
// resolution, its dialog once made and the fonts made for it, deleted with
// the view.
class DialogView {
 public:
  explicit DialogView(const layout::Window& table) : table_(table), dpi_(ScreenDpi()) {}
  ~DialogView();
  DialogView(const DialogView&) = delete;
  DialogView& operator=(const DialogView&) = delete;

  HWND dialog() const { return dialog_; }
  // The control of that name in the dialog.
  HWND Item(std::string_view name) const { return ::GetDlgItem(dialog_, ControlId(table_, name)); }

 protected:
  const layout::Window& table_;
  const int dpi_;
  HWND dialog_ = nullptr;  // set by the view in WM_INITDIALOG
  std::vector<HFONT> fonts_;
};

// The id of the control a WM_COMMAND reports clicked, or 0 for anything else
// (the dialog manager's IDOK and IDCANCEL included).
int ClickedControl(WPARAM wparam);

// Calls `make` for each control of the layout in the order they are made:
// the tab order first, which the dialog manager follows, then the others.
void ForEachControl(const layout::Window& window,
                    const std::function<void(const layout::Control&)>& make);

// A child window of the dialog at the control's place (within its frame's
// inside), with its id.
HWND MakeControl(HWND dialog, const layout::Window& window, const layout::Control& control, int dpi,
                 const wchar_t* window_class, DWORD style, DWORD extended_style, const char* text);

// Gives the control its own font, or the window's (`fonts` front) when it has
// none; a font made is added to `fonts`, which the caller deletes.
void SetFont(HWND made, const layout::Control& control, std::vector<HFONT>& fonts, int dpi);

}  // namespace vt::ui::win32
