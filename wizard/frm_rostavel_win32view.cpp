#include "wizard/frm_rostavel_win32view.h"

#include "platform/ui/dialog_win32view.h"
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

namespace layout = ui::layout;
namespace win32 = ui::win32;
using win32::Wide;

const COLORREF kTitleBar = RGB(0x1f, 0x4e, 0x79);
const layout::Window& kWindow = FrmRostavelLayout();

// The per-page labels get ids of their own: the table's id + 100 * page.
int PageId(const char* name, std::size_t page) {
  return win32::ControlId(kWindow, name) + 100 * static_cast<int>(page);
}

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

std::array<const CommandButton*, 5> Buttons(const FrmRostavel& form) {
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

// The running dialog: it builds the controls from the layout, turns clicks
// into the form's event procedures and shows the form's state after each.
struct FrmRostavelWin32View::Impl : win32::DialogView {
  explicit Impl(FrmRostavelWin32View& owner) : DialogView(kWindow), view(owner) {}
  ~Impl() {
    if (title_brush != nullptr) ::DeleteObject(title_brush);
  }
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

  FrmRostavel& form() { return view.form_; }
  void Build(HWND dialog);
  void MakeControls();
  void MakePictures();
  void Activate();
  void Clicked(int id);
  INT_PTR ColourStatic(HWND control, HDC dc) const;
  void EraseBackground(HDC dc) const;
  void Sync();

  FrmRostavelWin32View& view;
  bool unloading = false;
  bool activated = false;
  HBRUSH title_brush = nullptr;
  std::function<void(FrmRostavel&)> before_show;
};

FrmRostavelWin32View::FrmRostavelWin32View() : impl_(new Impl(*this)), form_(*this) {}

FrmRostavelWin32View::~FrmRostavelWin32View() { delete impl_; }

int FrmRostavelWin32View::ControlId(std::string_view name) {
  return win32::ControlId(kWindow, name);
}

void FrmRostavelWin32View::Impl::Build(HWND dialog) {
  dialog_ = dialog;
  title_brush = ::CreateSolidBrush(kTitleBar);
  win32::SizeAndCentre(dialog, kWindow, dpi_);
  fonts_.push_back(win32::MakeFont(kWindow.font, dpi_));
  fonts_.push_back(win32::MakeFont(layout::Find(kWindow, "lblTitle").font, dpi_));
  MakeControls();
  MakePictures();
  form().Form_Load();
  if (before_show) before_show(form());
  Sync();
  ::PostMessageW(dialog, WM_APP, 0, 0);  // activation, once shown
}

void FrmRostavelWin32View::Impl::MakeControls() {
  HFONT font = fonts_[0];
  // In the tab order first, then what takes no focus.
  for (const char* name : kWindow.tab_order) {
    const layout::Control& control = layout::Find(kWindow, name);
    const bool box = std::string_view(name).starts_with("chk");
    Make(dialog_, control, win32::ControlId(kWindow, name), dpi_, L"BUTTON",
         WS_TABSTOP | WS_VISIBLE | (box ? BS_AUTOCHECKBOX : BS_PUSHBUTTON), "", font);
  }
  for (const CheckBox* box : Boxes(form())) {
    ::SetWindowTextW(Item(box->Name), Wide(box->Caption).c_str());
  }
  Make(dialog_, layout::Find(kWindow, "lblPicturesFolder"),
       win32::ControlId(kWindow, "lblPicturesFolder"), dpi_, L"STATIC",
       SS_LEFT | SS_NOPREFIX | SS_SUNKEN | SS_PATHELLIPSIS, "", font);
  for (std::size_t page = 0; page < FrmRostavel::kPages; ++page) {
    Make(dialog_, layout::Find(kWindow, "lblTitle"), PageId("lblTitle", page), dpi_, L"STATIC",
         SS_LEFT | SS_NOPREFIX, form().lblTitle[page].Caption, fonts_[1]);
    Make(dialog_, layout::Find(kWindow, "lblStepDescription"), PageId("lblStepDescription", page),
         dpi_, L"STATIC", SS_LEFT | SS_NOPREFIX, form().lblStepDescription[page].Caption, font);
  }
}

void FrmRostavelWin32View::Impl::MakePictures() {
  HFONT font = fonts_[0];
  // Stock icons, drawn at the size of their place.
  for (const auto& [name, icon] :
       {std::pair{"imgTitleIcon", IDI_APPLICATION}, std::pair{"imgStart", IDI_APPLICATION},
        std::pair{"imgFinish", IDI_INFORMATION}}) {
    const bool always = std::string_view(name) == "imgTitleIcon";
    HWND picture =
        Make(dialog_, layout::Find(kWindow, name), win32::ControlId(kWindow, name), dpi_, L"STATIC",
             SS_ICON | SS_REALSIZECONTROL | (always ? WS_VISIBLE : 0), "", font);
    ::SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconW(nullptr, icon)), 0);
  }
  HWND frame = Make(dialog_, layout::Find(kWindow, "fraStep"), win32::ControlId(kWindow, "fraStep"),
                    dpi_, L"BUTTON", WS_VISIBLE | BS_GROUPBOX, "", font);
  ::SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void FrmRostavelWin32View::Impl::Activate() {
  if (activated) return;
  activated = true;
  ui::RecordWindowShown("frmRostavel", form().Caption);
  // Message boxes and the folder dialog are not forms: coming back from them
  // is no activation, so the form activates once.
  form().Form_Activate();
  Sync();
}

void FrmRostavelWin32View::Impl::Clicked(int id) {
  for (const Binding& binding : kClicks) {
    if (win32::ControlId(kWindow, binding.name) != id) continue;
    for (CheckBox* box : Boxes(form())) {
      if (box->Name != binding.name) continue;
      const LRESULT state = ::SendMessageW(Item(binding.name), BM_GETCHECK, 0, 0);
      box->Value = state == BST_CHECKED ? 1 : state == BST_INDETERMINATE ? 2 : 0;
    }
    if (binding.click != nullptr) (form().*binding.click)();
    if (!unloading) Sync();
  }
}

INT_PTR FrmRostavelWin32View::Impl::ColourStatic(HWND control, HDC dc) const {
  // The page titles, white on the title bar, and its icon.
  const int id = ::GetDlgCtrlID(control);
  if (id == win32::ControlId(kWindow, "imgTitleIcon")) {
    return reinterpret_cast<INT_PTR>(title_brush);
  }
  for (std::size_t page = 0; page < FrmRostavel::kPages; ++page) {
    if (id != PageId("lblTitle", page)) continue;
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkColor(dc, kTitleBar);
    return reinterpret_cast<INT_PTR>(title_brush);
  }
  return FALSE;
}

void FrmRostavelWin32View::Impl::EraseBackground(HDC dc) const {
  RECT client;
  ::GetClientRect(dialog_, &client);
  ::FillRect(dc, &client, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  const RECT bar = win32::PlaceOf(kWindow, layout::Find(kWindow, "shpTitle"), dpi_);
  ::FillRect(dc, &bar, title_brush);
  ::SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, TRUE);
}

INT_PTR CALLBACK FrmRostavelWin32View::Impl::Procedure(HWND dialog, UINT message, WPARAM wparam,
                                                       LPARAM lparam) {
  Impl* impl = win32::ViewOf<Impl>(dialog, message, lparam);
  if (impl == nullptr) return FALSE;
  switch (message) {
    case WM_INITDIALOG:
      impl->Build(dialog);
      return TRUE;
    case WM_APP:
      impl->Activate();
      return TRUE;
    case WM_COMMAND:
      if (const int id = win32::ClickedControl(wparam); id != 0) impl->Clicked(id);
      return TRUE;
    case DM_GETDEFID:
      win32::AnswerDefaultId(dialog);
      return TRUE;
    case WM_CTLCOLORSTATIC:
      return impl->ColourStatic(reinterpret_cast<HWND>(lparam), reinterpret_cast<HDC>(wparam));
    case WM_ERASEBKGND:
      impl->EraseBackground(reinterpret_cast<HDC>(wparam));
      return TRUE;
    case WM_CLOSE:
      return TRUE;  // only the wizard's own buttons end it
    default:
      return FALSE;
  }
}

// Brings the controls into line with the form's.
void FrmRostavelWin32View::Impl::Sync() {
  const FrmRostavel& shown = form();
  auto show = [](HWND control, bool visible) {
    ::ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
  };
  ::SetWindowTextW(dialog_, Wide(shown.Caption).c_str());
  for (std::size_t p = 0; p < FrmRostavel::kPages; ++p) {
    for (const char* name : {"lblTitle", "lblStepDescription"}) {
      show(::GetDlgItem(dialog_, PageId(name, p)), shown.picContainer[p].Visible);
    }
  }
  show(Item("imgStart"), shown.picContainer[0].Visible);
  show(Item("imgFinish"), shown.picContainer[3].Visible);
  const bool folder_page = shown.picContainer[1].Visible;
  const bool files_page = shown.picContainer[2].Visible;
  show(Item("lblPicturesFolder"), folder_page);
  show(Item("cmdBrowseForFolder"), folder_page);
  for (const CommandButton* button : Buttons(shown)) {
    HWND control = Item(button->Name);
    ::SetWindowTextW(control, Wide(button->Caption).c_str());
    ::EnableWindow(control, button->Enabled);
  }
  for (const CheckBox* box : Boxes(form())) {
    HWND control = Item(box->Name);
    show(control, files_page);
    ::SendMessageW(control, BM_SETCHECK,
                   box->Value == 0   ? BST_UNCHECKED
                   : box->Value == 1 ? BST_CHECKED
                                     : BST_INDETERMINATE,
                   0);
  }
  HWND folder = Item("lblPicturesFolder");
  if (win32::TextOf(folder) != shown.lblPicturesFolder.Caption) {
    ::SetWindowTextW(folder, Wide(shown.lblPicturesFolder.Caption).c_str());
  }
}

void FrmRostavelWin32View::Run(const std::function<void(FrmRostavel&)>& before_show) {
  impl_->before_show = before_show;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  // A window of its own on the taskbar, owned by none. The form tells how it
  // ended: one that could not be made leaves it incomplete.
  win32::ShowModal(nullptr, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_CENTER,
                   WS_EX_APPWINDOW, &Impl::Procedure, reinterpret_cast<LPARAM>(impl_));
}

void FrmRostavelWin32View::RemoveCloseFromTitleBar() {
  HMENU menu = ::GetSystemMenu(impl_->dialog(), FALSE);
  if (menu == nullptr) return;
  const int entries = ::GetMenuItemCount(menu);
  // Close and the separator above it, by position.
  ::RemoveMenu(menu, static_cast<UINT>(entries - 1), MF_BYPOSITION);
  ::RemoveMenu(menu, static_cast<UINT>(entries - 2), MF_BYPOSITION);
  ::DrawMenuBar(impl_->dialog());
}

void FrmRostavelWin32View::Hide() { ::ShowWindow(impl_->dialog(), SW_HIDE); }

void FrmRostavelWin32View::Unload() {
  if (impl_->unloading) return;
  impl_->unloading = true;
  form_.Form_Unload();
  ::EndDialog(impl_->dialog(), 0);
}

void FrmRostavelWin32View::SetFocus(std::string_view control) {
  impl_->Sync();  // a disabled or hidden control takes no focus
  HWND target = impl_->Item(control);
  if (target != nullptr) {
    ::SendMessageW(impl_->dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
  }
}

WindowHandle FrmRostavelWin32View::Handle() { return impl_->dialog(); }

}  // namespace vt::wizard
