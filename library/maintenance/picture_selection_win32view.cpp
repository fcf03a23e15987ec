// frmUpdateDictionary and frmChangeDevLang as a Win32 dialog.
#include "platform/ui/dialog_win32view.h"
// clang-format off
#include <commctrl.h>
// clang-format on

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>

#include "library/maintenance/button_clicks.h"
#include "library/maintenance/layout.h"
#include "library/maintenance/picture_selection_form.h"
#include "library/maintenance/window_views_win32view.h"

namespace vt::maintenance {
namespace {

namespace win32 = ui::win32;
using win32::Wide;

constexpr UINT_PTR kNumberBoxSubclass = 1;

// The common controls, loaded when a dialog first needs them: imported, they
// would be loaded, and their window classes registered, in every process
// that creates the library's object, dialog or not.
struct CommonControls {
  decltype(&::InitCommonControlsEx) InitCommonControlsEx;
  decltype(&::SetWindowSubclass) SetWindowSubclass;
  decltype(&::DefSubclassProc) DefSubclassProc;
  decltype(&::RemoveWindowSubclass) RemoveWindowSubclass;
};

template <typename Function>
void Find(HMODULE library, const char* name, Function& function) {
  // Through the generic function type, which converts to any other.
  const auto found = reinterpret_cast<void (*)()>(::GetProcAddress(library, name));
  if (found == nullptr) {
    throw std::runtime_error(std::string("comctl32.dll has no function ") + name);
  }
  function = reinterpret_cast<Function>(found);
}

const CommonControls& Controls() {
  static const CommonControls controls = [] {
    // Kept loaded to the end: windows of its classes may outlive a dialog.
    // From the system folder alone: a file of that name beside the host's
    // program is not the system's.
    const HMODULE library =
        ::LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (library == nullptr) throw std::runtime_error("comctl32.dll cannot be loaded");
    CommonControls found{};
    Find(library, "InitCommonControlsEx", found.InitCommonControlsEx);
    Find(library, "SetWindowSubclass", found.SetWindowSubclass);
    Find(library, "DefSubclassProc", found.DefSubclassProc);
    Find(library, "RemoveWindowSubclass", found.RemoveWindowSubclass);
    return found;
  }();
  return controls;
}

class PictureSelectionView : public win32::DialogView {
 public:
  explicit PictureSelectionView(PictureSelectionForm& form)
      : DialogView(layout::PictureSelection()), form_(form) {}

  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

 private:
  void Build(HWND dialog);
  // Copies what the person changed into the model, runs the procedure, shows
  // the model's state, and closes when the model has closed.
  void Raise(const std::function<void()>& procedure);
  void ShowModelState();
  void Clicked(int id);
  static LRESULT CALLBACK NumberBox(HWND box, UINT message, WPARAM wparam, LPARAM lparam,
                                    UINT_PTR id, DWORD_PTR self);

  PictureSelectionForm& form_;
  HWND list_ = nullptr;
  HWND box_ = nullptr;
  bool filling_ = false;
};

void PictureSelectionView::Build(HWND dialog) {
  dialog_ = dialog;
  ::SetWindowTextW(dialog, Wide(form_.Caption()).c_str());
  win32::SizeAndCentre(dialog, table_, dpi_);
  fonts_.push_back(win32::MakeFont(table_.font, dpi_));
  HWND tips = win32::MakeToolTips(dialog);

  // The frame and the labels take no focus and are not in the tab order.
  auto make = [&](const layout::Control& control) {
    HWND made = nullptr;
    switch (control.kind) {
      case layout::Kind::Button:
        made = win32::MakeControl(dialog, table_, control, dpi_, L"BUTTON",
                                  WS_TABSTOP | BS_PUSHBUTTON | WS_CLIPSIBLINGS, 0, control.text);
        break;
      case layout::Kind::CheckList: {
        made = list_ =
            win32::MakeControl(dialog, table_, control, dpi_, WC_LISTVIEWW,
                               WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_NOCOLUMNHEADER |
                                   LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                               WS_EX_CLIENTEDGE, "");
        ListView_SetExtendedListViewStyle(list_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
        RECT client;
        ::GetClientRect(list_, &client);
        LVCOLUMNW column{};
        column.mask = LVCF_WIDTH;
        column.cx = client.right - ::GetSystemMetrics(SM_CXVSCROLL);
        ListView_InsertColumn(list_, 0, &column);
        break;
      }
      case layout::Kind::NumberBox:
        made = box_ = win32::MakeControl(dialog, table_, control, dpi_, L"EDIT",
                                         WS_TABSTOP | WS_CLIPSIBLINGS | ES_CENTER | ES_AUTOHSCROLL,
                                         WS_EX_CLIENTEDGE, "");
        Controls().SetWindowSubclass(box_, NumberBox, kNumberBoxSubclass,
                                     reinterpret_cast<DWORD_PTR>(this));
        break;
      case layout::Kind::Label: {
        const int index = std::string_view(control.name) == "lblString(0)" ? 0 : 1;
        made =
            win32::MakeControl(dialog, table_, control, dpi_, L"STATIC",
                               SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS, 0, form_.lblString(index));
        break;
      }
      case layout::Kind::Frame:
        made = win32::MakeControl(dialog, table_, control, dpi_, L"BUTTON",
                                  BS_GROUPBOX | WS_CLIPSIBLINGS, 0, "");
        break;
      default:
        return;
    }
    win32::SetFont(made, control, fonts_, dpi_);
    if (control.kind == layout::Kind::Label) {
      fonts_.push_back(win32::FitOnOneLine(made, table_.font, dpi_));
    }
    win32::AddToolTip(tips, dialog, made, control.tool_tip);
  };
  win32::ForEachControl(table_, make);
  // The frame lies behind what it holds.
  ::SetWindowPos(Item("frmFrame"), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  Raise([this] { form_.Form_Load(); });
  ::SetFocus(Item(table_.tab_order.front()));
}

void PictureSelectionView::Raise(const std::function<void()>& procedure) {
  const int count = ListView_GetItemCount(list_);
  for (int row = 0; row < count && row < static_cast<int>(form_.lstPicList.size()); ++row) {
    form_.lstPicList[static_cast<std::size_t>(row)].selected =
        ListView_GetCheckState(list_, row) != 0;
  }
  form_.lstPicListIndex = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
  form_.txtLangNum = win32::TextOf(box_);
  procedure();
  ShowModelState();
  if (form_.closed) ::EndDialog(dialog_, IDOK);
}

void PictureSelectionView::ShowModelState() {
  filling_ = true;
  if (ListView_GetItemCount(list_) != static_cast<int>(form_.lstPicList.size())) {
    ListView_DeleteAllItems(list_);
    int row = 0;
    for (const PictureSelectionForm::ListEntry& entry : form_.lstPicList) {
      std::wstring text = Wide(entry.text);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = row++;
      item.pszText = text.data();
      ListView_InsertItem(list_, &item);
    }
  }
  for (std::size_t row = 0; row < form_.lstPicList.size(); ++row) {
    ListView_SetCheckState(list_, static_cast<int>(row), form_.lstPicList[row].selected);
  }
  if (form_.lstPicListIndex >= 0) {
    const UINT mark = LVIS_FOCUSED | LVIS_SELECTED;
    ListView_SetItemState(list_, form_.lstPicListIndex, mark, mark);
    ListView_EnsureVisible(list_, form_.lstPicListIndex, FALSE);
  }
  if (win32::TextOf(box_) != form_.txtLangNum) {
    ::SetWindowTextW(box_, Wide(form_.txtLangNum).c_str());
  }
  filling_ = false;
  HWND focus = nullptr;
  switch (std::exchange(form_.focus_request, PictureSelectionForm::Control::None)) {
    case PictureSelectionForm::Control::lstPicList:
      focus = list_;
      break;
    case PictureSelectionForm::Control::txtLangNum:
      focus = box_;
      break;
    case PictureSelectionForm::Control::None:
      break;
  }
  if (focus != nullptr) {
    ::SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
  }
}

void PictureSelectionView::Clicked(int id) {
  for (const auto& [name, click] : kPictureSelectionClicks) {
    if (win32::ControlId(table_, name) == id) {
      Raise([this, click = click] { (form_.*click)(); });
    }
  }
}

// Every typed character goes through txtLangNum_KeyPress; the box takes two
// characters from the keyboard, while what Form_Load put there stays whole.
LRESULT CALLBACK PictureSelectionView::NumberBox(HWND box, UINT message, WPARAM wparam,
                                                 LPARAM lparam, UINT_PTR, DWORD_PTR self) {
  if (message == WM_CHAR) {
    auto& view = *reinterpret_cast<PictureSelectionView*>(self);
    const auto code = static_cast<wchar_t>(wparam);
    auto KeyAscii = static_cast<std::int16_t>(code < 0x8000 ? code : L'?');
    view.Raise([&view, &KeyAscii] { view.form_.txtLangNum_KeyPress(KeyAscii); });
    if (KeyAscii == 0) return 0;
    if (KeyAscii >= 32) {
      DWORD start = 0;
      DWORD end = 0;
      ::SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
      const auto kept = static_cast<std::size_t>(::GetWindowTextLengthW(box)) - (end - start);
      if (kept >= PictureSelectionForm::kLangNumMaxLength) return 0;
    }
  }
  return Controls().DefSubclassProc(box, message, wparam, lparam);
}

INT_PTR CALLBACK PictureSelectionView::Procedure(HWND dialog, UINT message, WPARAM wparam,
                                                 LPARAM lparam) {
  auto* view = win32::ViewOf<PictureSelectionView>(dialog, message, lparam);
  switch (message) {
    case WM_INITDIALOG:
      view->Build(dialog);
      return FALSE;  // the focus is set
    case WM_COMMAND:
      // IDOK and IDCANCEL (Enter away from a button, Escape) do nothing: the
      // dialog has no default button and is left through Ok or Cancel.
      if (const int id = win32::ClickedControl(wparam); view != nullptr && id != 0) {
        view->Clicked(id);
      }
      return TRUE;
    case DM_GETDEFID:
      // Enter presses the button that has the focus, no other.
      win32::AnswerDefaultId(dialog);
      return TRUE;
    case WM_SETCURSOR:
      return view != nullptr &&
             win32::SetPointer(dialog, view->table_, reinterpret_cast<HWND>(wparam));
    case WM_CLOSE:
      return TRUE;  // only Ok and Cancel close it
    case WM_DESTROY:
      if (view != nullptr) {
        Controls().RemoveWindowSubclass(view->box_, NumberBox, kNumberBoxSubclass);
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void RunWin32View(PictureSelectionForm& form) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
  Controls().InitCommonControlsEx(&controls);
  PictureSelectionView view(form);
  win32::RunModal(WS_POPUP | WS_CAPTION, 0, PictureSelectionView::Procedure,
                  reinterpret_cast<LPARAM>(&view));
}

}  // namespace vt::maintenance
