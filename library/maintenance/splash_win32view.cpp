// frmSplash as a Win32 dialog: white, a border and no title bar.
#include <functional>
#include <utility>

#include "library/maintenance/button_clicks.h"
#include "library/maintenance/layout.h"
#include "library/maintenance/splash_form.h"
#include "library/maintenance/window_views_win32view.h"
#include "platform/ui/dialog_win32view.h"

namespace vt::maintenance {
namespace {

namespace win32 = ui::win32;
using win32::Wide;

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kDarkBlue = RGB(0, 0, 192);

class SplashView : public win32::DialogView {
 public:
  explicit SplashView(SplashForm& form) : DialogView(layout::Splash()), form_(form) {}
  ~SplashView() {
    if (white_ != nullptr) ::DeleteObject(white_);
  }
  SplashView(const SplashView&) = delete;
  SplashView& operator=(const SplashView&) = delete;

  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void Build(HWND dialog);
  void Clicked(int id);
  void Paint();
  void PaintLogo(HDC dc, const RECT& place) const;
  void DrawButton(const DRAWITEMSTRUCT& item) const;

  SplashForm& form_;
  HWND release_ = nullptr;
  HBRUSH white_ = nullptr;
};

void SplashView::Build(HWND dialog) {
  dialog_ = dialog;
  white_ = ::CreateSolidBrush(kWhite);
  win32::SizeAndCentre(dialog, table_, dpi_);
  fonts_.push_back(win32::MakeFont(table_.font, dpi_));
  HWND tips = win32::MakeToolTips(dialog);
  auto make = [&](const layout::Control& control) {
    const wchar_t* window_class = L"BUTTON";
    DWORD style = WS_TABSTOP | BS_OWNERDRAW;  // flat-coloured
    if (control.kind == layout::Kind::Label) {
      window_class = L"STATIC";
      style = SS_CENTER | SS_NOPREFIX;
    } else if (control.kind != layout::Kind::Button) {
      return;  // the outlines and the logo are painted
    }
    HWND made =
        win32::MakeControl(dialog, table_, control, dpi_, window_class, style, 0, control.text);
    win32::SetFont(made, control, fonts_, dpi_);
    win32::AddToolTip(tips, dialog, made, control.tool_tip);
    if (control.kind == layout::Kind::Label) release_ = made;
  };
  win32::ForEachControl(table_, make);
  form_.Form_Load();
  ::SetWindowTextW(release_, Wide(form_.lblRelease).c_str());
  ::SetFocus(Item(table_.tab_order.front()));
}

void SplashView::Clicked(int id) {
  for (const auto& [name, click] : kSplashClicks) {
    if (win32::ControlId(table_, name) == id) (form_.*click)();
  }
  if (form_.closed) ::EndDialog(dialog_, IDOK);
}

void SplashView::PaintLogo(HDC dc, const RECT& place) const {
  // Two overlapping speech bubbles and the product's name, drawn for 96 DPI
  // and scaled as the fonts are, so that the name keeps within the logo.
  auto at = [this](int pixels) { return ::MulDiv(pixels, dpi_, 96); };
  auto rect = [&place, &at](int left, int top, int right, int bottom) {
    return RECT{place.left + at(left), place.top + at(top), place.left + at(right),
                place.top + at(bottom)};
  };
  HBRUSH blue = ::CreateSolidBrush(RGB(30, 60, 210));
  HBRUSH orange = ::CreateSolidBrush(RGB(230, 120, 20));
  HGDIOBJ old_pen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
  HGDIOBJ old_brush = ::SelectObject(dc, blue);
  RECT bubble = rect(6, 8, 56, 44);
  ::RoundRect(dc, bubble.left, bubble.top, bubble.right, bubble.bottom, at(18), at(18));
  ::SelectObject(dc, orange);
  bubble = rect(30, 30, 76, 62);
  ::RoundRect(dc, bubble.left, bubble.top, bubble.right, bubble.bottom, at(16), at(16));
  ::SelectObject(dc, old_brush);
  ::SelectObject(dc, old_pen);
  ::DeleteObject(blue);
  ::DeleteObject(orange);

  ::SetBkMode(dc, TRANSPARENT);
  HFONT letters = win32::MakeFont({"Arial", 13, true}, dpi_);
  HGDIOBJ old_letters = ::SelectObject(dc, letters);
  ::SetTextColor(dc, kWhite);
  bubble = rect(6, 8, 56, 32);
  ::DrawTextW(dc, L"Aa", -1, &bubble, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  bubble = rect(30, 34, 76, 60);
  ::DrawTextW(dc, L"\u00C4\u00E4", -1, &bubble, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ::SelectObject(dc, old_letters);
  ::DeleteObject(letters);
  HPEN line = ::CreatePen(PS_SOLID, at(2), RGB(230, 120, 20));
  HGDIOBJ old_line = ::SelectObject(dc, line);
  const RECT rule = rect(88, 50, 282, 50);
  ::MoveToEx(dc, rule.left, rule.top, nullptr);
  ::LineTo(dc, rule.right, rule.top);
  ::SelectObject(dc, old_line);
  ::DeleteObject(line);
  HFONT name = win32::MakeFont({"Times New Roman", 26, true}, dpi_);
  HFONT motto = win32::MakeFont({"Arial", 8.5, false}, dpi_);
  HGDIOBJ old_font = ::SelectObject(dc, name);
  ::SetTextColor(dc, kDarkBlue);
  RECT text = rect(86, 4, 286, 50);
  ::DrawTextW(dc, L"Veltrano", -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  ::SelectObject(dc, motto);
  ::SetTextColor(dc, RGB(90, 90, 90));
  text = rect(88, 50, 288, 72);
  ::DrawTextW(dc, L"languages for iFix pictures", -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  ::SelectObject(dc, old_font);
  ::DeleteObject(name);
  ::DeleteObject(motto);
}

void SplashView::Paint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(dialog_, &paint);
  HGDIOBJ old_brush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
  HGDIOBJ old_pen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
  const RECT frame = win32::PlaceOf(table_, layout::Find(table_, "shpFrame"), dpi_);
  ::Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
  const RECT release = win32::PlaceOf(table_, layout::Find(table_, "shpReleaseFrame"), dpi_);
  ::RoundRect(dc, release.left, release.top, release.right, release.bottom, 16, 16);
  ::SelectObject(dc, old_pen);
  ::SelectObject(dc, old_brush);
  PaintLogo(dc, win32::PlaceOf(table_, layout::Find(table_, "imgLogo"), dpi_));
  ::EndPaint(dialog_, &paint);
}

void SplashView::DrawButton(const DRAWITEMSTRUCT& item) const {
  HDC dc = item.hDC;
  RECT face = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  HBRUSH fill = ::CreateSolidBrush(pressed ? RGB(232, 232, 232) : kWhite);
  ::FillRect(dc, &face, fill);
  ::DeleteObject(fill);
  HBRUSH edge = ::CreateSolidBrush(focused ? RGB(64, 64, 64) : RGB(128, 128, 128));
  ::FrameRect(dc, &face, edge);
  if (focused) {
    RECT inner = face;
    ::InflateRect(&inner, -1, -1);
    ::FrameRect(dc, &inner, edge);
  }
  ::DeleteObject(edge);
  wchar_t caption[64] = {};
  ::GetWindowTextW(item.hwndItem, caption, 64);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(0, 0, 0));
  ::DrawTextW(dc, caption, -1, &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

INT_PTR CALLBACK SplashView::Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* view = win32::ViewOf<SplashView>(dialog, message, lparam);
  switch (message) {
    case WM_INITDIALOG:
      view->Build(dialog);
      return FALSE;
    case WM_COMMAND:
      if (const int id = win32::ClickedControl(wparam); view != nullptr && id != 0) {
        view->Clicked(id);
      }
      return TRUE;
    case DM_GETDEFID:
      // Enter presses the focused button; Ok when the focus is elsewhere.
      win32::AnswerDefaultId(dialog, view != nullptr ? win32::ControlId(view->table_, "cmdOk") : 0);
      return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      if (view == nullptr) return FALSE;
      ::SetBkColor(reinterpret_cast<HDC>(wparam), kWhite);
      if (reinterpret_cast<HWND>(lparam) == view->release_) {
        ::SetTextColor(reinterpret_cast<HDC>(wparam), kDarkBlue);
      }
      return reinterpret_cast<INT_PTR>(view->white_);
    case WM_PAINT:
      if (view == nullptr) return FALSE;
      view->Paint();
      return TRUE;
    case WM_DRAWITEM:
      if (view == nullptr) return FALSE;
      view->DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
      return TRUE;
    case WM_SETCURSOR:
      return view != nullptr &&
             win32::SetPointer(dialog, view->table_, reinterpret_cast<HWND>(wparam));
    case WM_CLOSE:
      return TRUE;  // only Ok closes it
    default:
      return FALSE;
  }
}

}  // namespace

void RunWin32View(SplashForm& form) {
  SplashView view(form);
  // A border, no title bar; a tool window has no taskbar button.
  win32::RunModal(WS_POPUP | WS_BORDER, WS_EX_TOOLWINDOW, SplashView::Procedure,
                  reinterpret_cast<LPARAM>(&view));
}

}  // namespace vt::maintenance
