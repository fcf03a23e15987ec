#include "wizard/frm_rostavel_win32view.h"

#include "library/maintenance/dialog_win32view.h"
// clang-format off
#include <commctrl.h>
// clang-format on

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/msgbox.h"
#include "wizard/frm_rostavel_layout.h"

namespace vt::wizard {
namespace {

namespace layout = maintenance::layout;
namespace win32 = maintenance::win32;
using win32::Wide;

const COLORREF kTitleBar = RGB(0x1f, 0x4e, 0x79);
const layout::Window& kWindow = FrmRostavelLayout();

// The per-page labels get ids of their own: the table's id + 100 * page.
int PageId(const char* name, std::size_t page) {
  return win32::ControlId(kWindow, name) + 100 * static_cast<int>(page);
}

}  // namespace

struct FrmRostavelWin32View::Impl {
  HWND window = nullptr;
  int dpi = 96;
  bool unloading = false;
  bool activated = false;
  HBRUSH title_brush = nullptr;
  std::vector<HFONT> fonts;
  std::function<void(FrmRostavel&)> before_show;

  HWND Item(int id) const { return ::GetDlgItem(window, id); }
  HWND Item(const char* name) const { return Item(win32::ControlId(kWindow, name)); }
};

FrmRostavelWin32View::FrmRostavelWin32View() : impl_(new Impl), form_(*this) {}

FrmRostavelWin32View::~FrmRostavelWin32View() {
  for (HFONT font : impl_->fonts) ::DeleteObject(font);
  if (impl_->title_brush != nullptr) ::DeleteObject(impl_->title_brush);
  delete impl_;
}

int FrmRostavelWin32View::ControlId(std::string_view name) {
  return win32::ControlId(kWindow, name);
}

namespace {

struct Binding {
  const char* name;
  void (FrmRostavel::*click)();
};

constexpr Binding kClicks[] = {
    {"cmdPrevious", &FrmRostavel::cmdPrevious_Click},
    {"cmdNext", &FrmRostavel::cmdNext_Click},
    {"cmdConfirm", &FrmRostavel::cmdConfirm_Click},
    {"cmdClose", &FrmRostavel::cmdClose_Click},
    {"cmdBrowseForFolder", &FrmRostavel::cmdBrowseForFolder_Click},
    {"chkDictionary", &FrmRostavel::chkDictionary_Click},
    {"chkAlarmsDictionary", nullptr},
    {"chkConfiguration", &FrmRostavel::chkConfiguration_Click},
    {"chkVbaModule", &FrmRostavel::chkVbaModule_Click},
};

std::array<CommandButton*, 5> Buttons(FrmRostavel& form) {
  return {&form.cmdPrevious, &form.cmdNext, &form.cmdConfirm, &form.cmdClose,
          &form.cmdBrowseForFolder};
}

std::array<CheckBox*, 4> Boxes(FrmRostavel& form) {
  return {&form.chkDictionary, &form.chkAlarmsDictionary, &form.chkConfiguration,
          &form.chkVbaModule};
}

HWND Make(HWND parent, const layout::Control& control, int id, int dpi, const wchar_t* kind,
          DWORD style, const std::string& text, HFONT font) {
  const RECT place = win32::PlaceOf(kWindow, control, dpi);
  HWND made = ::CreateWindowExW(0, kind, Wide(text).c_str(), WS_CHILD | style, place.left,
                                place.top, place.right - place.left, place.bottom - place.top,
                                parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return made;
}

}  // namespace

// Brings the controls into line with the form's.
static void Sync(HWND window, FrmRostavel& form) {
  ::SetWindowTextW(window, Wide(form.Caption).c_str());
  for (std::size_t p = 0; p < FrmRostavel::kPages; ++p) {
    const bool visible = form.picContainer[p].Visible;
    for (const char* name : {"lblTitle", "lblStepDescription"}) {
      ::ShowWindow(::GetDlgItem(window, PageId(name, p)), visible ? SW_SHOWNA : SW_HIDE);
    }
  }
  ::ShowWindow(::GetDlgItem(window, win32::ControlId(kWindow, "imgStart")),
               form.picContainer[0].Visible ? SW_SHOWNA : SW_HIDE);
  ::ShowWindow(::GetDlgItem(window, win32::ControlId(kWindow, "imgFinish")),
               form.picContainer[3].Visible ? SW_SHOWNA : SW_HIDE);
  const bool folder_page = form.picContainer[1].Visible;
  const bool files_page = form.picContainer[2].Visible;
  ::ShowWindow(::GetDlgItem(window, win32::ControlId(kWindow, "lblPicturesFolder")),
               folder_page ? SW_SHOWNA : SW_HIDE);
  ::ShowWindow(::GetDlgItem(window, win32::ControlId(kWindow, "cmdBrowseForFolder")),
               folder_page ? SW_SHOWNA : SW_HIDE);
  for (CommandButton* button : Buttons(form)) {
    HWND control = ::GetDlgItem(window, win32::ControlId(kWindow, button->Name));
    ::SetWindowTextW(control, Wide(button->Caption).c_str());
    ::EnableWindow(control, button->Enabled);
  }
  for (CheckBox* box : Boxes(form)) {
    HWND control = ::GetDlgItem(window, win32::ControlId(kWindow, box->Name));
    ::ShowWindow(control, files_page ? SW_SHOWNA : SW_HIDE);
    ::SendMessageW(control, BM_SETCHECK,
                   box->Value == 0   ? BST_UNCHECKED
                   : box->Value == 1 ? BST_CHECKED
                                     : BST_INDETERMINATE,
                   0);
  }
  HWND folder = ::GetDlgItem(window, win32::ControlId(kWindow, "lblPicturesFolder"));
  if (win32::TextOf(folder) != form.lblPicturesFolder.Caption) {
    ::SetWindowTextW(folder, Wide(form.lblPicturesFolder.Caption).c_str());
  }
}

void FrmRostavelWin32View::Run(const std::function<void(FrmRostavel&)>& before_show) {
  impl_->before_show = before_show;
  static FrmRostavelWin32View* running = nullptr;
  running = this;
  auto procedure = [](HWND window, UINT message, WPARAM wparam, LPARAM lparam) -> INT_PTR {
    FrmRostavelWin32View* view = running;
    if (view == nullptr) return FALSE;
    Impl& impl = *view->impl_;
    FrmRostavel& form = view->form_;
    switch (message) {
      case WM_INITDIALOG: {
        impl.window = window;
        impl.dpi = win32::ScreenDpi();
        impl.title_brush = ::CreateSolidBrush(kTitleBar);
        win32::SizeAndCentre(window, kWindow, impl.dpi);
        impl.fonts.push_back(win32::MakeFont(kWindow.font, impl.dpi));
        impl.fonts.push_back(win32::MakeFont(layout::Find(kWindow, "lblTitle").font, impl.dpi));
        HFONT font = impl.fonts[0];
        // In the tab order first, then what takes no focus.
        for (const char* name : kWindow.tab_order) {
          const layout::Control& control = layout::Find(kWindow, name);
          const bool box = std::string_view(name).starts_with("chk");
          Make(window, control, win32::ControlId(kWindow, name), impl.dpi, L"BUTTON",
               WS_TABSTOP | WS_VISIBLE | (box ? BS_AUTOCHECKBOX : BS_PUSHBUTTON), "", font);
        }
        for (CheckBox* box : Boxes(form)) {
          ::SetWindowTextW(impl.Item(box->Name.c_str()), Wide(box->Caption).c_str());
        }
        Make(window, layout::Find(kWindow, "lblPicturesFolder"),
             win32::ControlId(kWindow, "lblPicturesFolder"), impl.dpi, L"STATIC",
             SS_LEFT | SS_NOPREFIX | SS_SUNKEN | SS_PATHELLIPSIS, "", font);
        for (std::size_t page = 0; page < FrmRostavel::kPages; ++page) {
          Make(window, layout::Find(kWindow, "lblTitle"), PageId("lblTitle", page), impl.dpi,
               L"STATIC", SS_LEFT | SS_NOPREFIX, form.lblTitle[page].Caption, impl.fonts[1]);
          Make(window, layout::Find(kWindow, "lblStepDescription"),
               PageId("lblStepDescription", page), impl.dpi, L"STATIC", SS_LEFT | SS_NOPREFIX,
               form.lblStepDescription[page].Caption, font);
        }
        // The pictures: stock icons, drawn at the size of their place.
        for (const auto& [name, icon] :
             {std::pair{"imgTitleIcon", IDI_APPLICATION}, std::pair{"imgStart", IDI_APPLICATION},
              std::pair{"imgFinish", IDI_INFORMATION}}) {
          const bool always = std::string_view(name) == "imgTitleIcon";
          HWND picture =
              Make(window, layout::Find(kWindow, name), win32::ControlId(kWindow, name), impl.dpi,
                   L"STATIC", SS_ICON | SS_REALSIZECONTROL | (always ? WS_VISIBLE : 0), "", font);
          ::SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, icon)),
                         0);
        }
        HWND frame =
            Make(window, layout::Find(kWindow, "fraStep"), win32::ControlId(kWindow, "fraStep"),
                 impl.dpi, L"BUTTON", WS_VISIBLE | BS_GROUPBOX, "", font);
        ::SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        form.Form_Load();
        if (impl.before_show) impl.before_show(form);
        Sync(window, form);
        ::PostMessageW(window, WM_APP, 0, 0);  // activation, once shown
        return TRUE;
      }
      case WM_APP:
        if (!impl.activated) {
          impl.activated = true;
          ui::RecordWindowShown("frmRostavel", form.Caption);
          // Message boxes and the folder dialog are not forms: coming back
          // from them is no activation, so the form activates once.
          form.Form_Activate();
          Sync(window, form);
        }
        return TRUE;
      case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) >= win32::kFirstControlId) {
          for (const Binding& binding : kClicks) {
            if (win32::ControlId(kWindow, binding.name) != LOWORD(wparam)) continue;
            for (CheckBox* box : Boxes(form)) {
              if (box->Name != binding.name) continue;
              const LRESULT state = ::SendMessageW(impl.Item(binding.name), BM_GETCHECK, 0, 0);
              box->Value = state == BST_CHECKED ? 1 : state == BST_INDETERMINATE ? 2 : 0;
            }
            if (binding.click != nullptr) (form.*binding.click)();
            if (!impl.unloading) Sync(window, form);
          }
        }
        return TRUE;
      case DM_GETDEFID: {
        const int id = win32::FocusedButtonId(window);
        ::SetWindowLongPtrW(window, DWLP_MSGRESULT, id != 0 ? MAKELONG(id, DC_HASDEFID) : 0);
        return TRUE;
      }
      case WM_CTLCOLORSTATIC: {
        // The page titles, white on the title bar, and its icon.
        const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lparam));
        if (id == win32::ControlId(kWindow, "imgTitleIcon")) {
          return reinterpret_cast<INT_PTR>(impl.title_brush);
        }
        for (std::size_t page = 0; page < FrmRostavel::kPages; ++page) {
          if (id != PageId("lblTitle", page)) continue;
          ::SetTextColor(reinterpret_cast<HDC>(wparam), RGB(255, 255, 255));
          ::SetBkColor(reinterpret_cast<HDC>(wparam), kTitleBar);
          return reinterpret_cast<INT_PTR>(impl.title_brush);
        }
        return FALSE;
      }
      case WM_ERASEBKGND: {
        RECT client;
        ::GetClientRect(window, &client);
        ::FillRect(reinterpret_cast<HDC>(wparam), &client,
                   reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
        const RECT bar = win32::PlaceOf(kWindow, layout::Find(kWindow, "shpTitle"), impl.dpi);
        ::FillRect(reinterpret_cast<HDC>(wparam), &bar, impl.title_brush);
        ::SetWindowLongPtrW(window, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      case WM_CLOSE:
        return TRUE;  // only the wizard's own buttons end it
      default:
        return FALSE;
    }
  };
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  struct alignas(DWORD) Template {
    DLGTEMPLATE header;
    WORD menu = 0;
    WORD window_class = 0;
    WORD title = 0;
  } dialog{};
  dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_CENTER;
  dialog.header.dwExtendedStyle = WS_EX_APPWINDOW;
  // A lambda converts to a function of the default calling convention; the
  // dialog wants CALLBACK's, which differs on x86.
  static INT_PTR (*plain)(HWND, UINT, WPARAM, LPARAM) = nullptr;
  plain = procedure;
  struct Procedure {
    static INT_PTR CALLBACK Call(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
      return plain(window, message, wparam, lparam);
    }
  };
  ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), &dialog.header, nullptr, &Procedure::Call,
                            0);
  running = nullptr;
}

void FrmRostavelWin32View::RemoveCloseFromTitleBar() {
  HMENU menu = ::GetSystemMenu(impl_->window, FALSE);
  if (menu == nullptr) return;
  const int entries = ::GetMenuItemCount(menu);
  // Close and the separator above it, by position.
  ::RemoveMenu(menu, static_cast<UINT>(entries - 1), MF_BYPOSITION);
  ::RemoveMenu(menu, static_cast<UINT>(entries - 2), MF_BYPOSITION);
  ::DrawMenuBar(impl_->window);
}

void FrmRostavelWin32View::Hide() { ::ShowWindow(impl_->window, SW_HIDE); }

void FrmRostavelWin32View::Unload() {
  if (impl_->unloading) return;
  impl_->unloading = true;
  form_.Form_Unload();
  ::EndDialog(impl_->window, 0);
}

void FrmRostavelWin32View::SetFocus(std::string_view control) {
  Sync(impl_->window, form_);  // a disabled or hidden control takes no focus
  HWND target = impl_->Item(std::string(control).c_str());
  if (target != nullptr) {
    ::SendMessageW(impl_->window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
  }
}

WindowHandle FrmRostavelWin32View::Handle() { return impl_->window; }

}  // namespace vt::wizard
