// The Win32 views as real windows under Wine on a virtual display, driven by
// window messages as a person's keys and clicks arrive: the form model's state
// and the message boxes after each step, the layout in pixels, and a picture
// of each window taken from the screen (kept as artefacts).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/ui/dialog_win32view.h"
// clang-format off
#include <commctrl.h>
// clang-format on

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "library/interpreter/message_boxes.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/session.h"
#include "library/maintenance/layout.h"
#include "library/maintenance/picture_selection_form.h"
#include "library/maintenance/splash_form.h"
#include "library/maintenance/window_views_win32view.h"
#include "platform/system/utf8_path.h"
#include "platform/ui/backend_windows.h"
#include "tests/support/message_log.h"
#include "tests/support/shell.h"
#include "tests/support/temp_dir.h"
#include "tests/support/win32_driver.h"

namespace vt::maintenance {
namespace {

namespace win32 = ui::win32;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using vt::testing::Message;

Message Warning(const std::string& text) { return {text, " Veltrano - Warning", 48}; }

using namespace vt::testing::win32;  // NOLINT: the driver's verbs read as steps

HWND Control(const layout::Window& table, const char* name) {
  return ::GetDlgItem(ActiveDialog(), win32::ControlId(table, name));
}

// The layouts in pixels, worked out by hand from the tables' twips, at the
// resolutions the tests run at.
struct Pixels {
  int dpi;
  SIZE dialog;  // client areas
  int frame_left;
  int frame_width;
  int list_left;
  int list_top;
  int list_width;
  POINT ok;
  int font_975_height;  // of 9.75 points
  SIZE panel;
  POINT panel_ok;
};
constexpr Pixels kPixels[] = {
    {96, {450, 433}, 8, 433, 24, 48, 401, {113, 384}, 13, {338, 415}, {120, 368}},
    {120, {563, 541}, 10, 541, 30, 60, 501, {141, 480}, 16, {423, 519}, {150, 460}},
};

const Pixels& AtThisResolution() {
  const int dpi = win32::ScreenDpi();
  for (const Pixels& pixels : kPixels) {
    if (pixels.dpi == dpi) return pixels;
  }
  ADD_FAILURE() << "no pixels worked out for " << dpi << " DPI";
  return kPixels[0];
}

// Screenshots at 96 DPI keep their names; others say their resolution.
std::string ShotName(const std::string& name) {
  const int dpi = win32::ScreenDpi();
  return dpi == 96 ? name : name + "-" + std::to_string(dpi) + "dpi";
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
  return font;
}

// The width of the control's text in its own font.
int TextWidth(HWND control) {
  const std::wstring text = win32::Wide(Text(control));
  HDC dc = ::GetDC(control);
  HGDIOBJ old =
      ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(control, dc);
  return size.cx;
}

class Win32ViewsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"Alarms.grf", "Main.grf", "Pump.grf"}) {
      vt::testing::WriteFile(dir_ / name, "{}");
    }
    session_.configuration.strFixPath = system::Utf8FromPath(dir_.path());
    session_.configuration.intStartLangNum = 1;
    session_.run.blnMaintenanceRunning = true;
    session_.run.strSelectedPictures.clear();
  }

  vt::testing::TempDir dir_{"vt-win32-views"};
  vt::testing::RecordingBackend backend_;
  ui::ScopedBackend scope_{backend_};
  interpreter::Session session_;
  interpreter::MessageBoxes messages_;
  interpreter::ErrorReporter errors_{session_.configuration};
};

TEST_F(Win32ViewsTest, PictureSelectionDialogFollowsTheLayoutAndThePerson) {
  const layout::Window& table = layout::PictureSelection();
  for (const PictureSelectionKind kind :
       {PictureSelectionKind::UpdateDictionary, PictureSelectionKind::ChangeDevLang}) {
    PictureSelectionForm form(kind, session_, messages_, errors_);
    SCOPED_TRACE(form.Name());
    session_.configuration.intStartLangNum = 100;
    session_.run.blnMaintenanceRunning = true;
    backend_.answers.clear();
    backend_.next = 0;
    HWND list = nullptr;
    HWND box = nullptr;
    auto name_of_focus = [&table] {
      const int id = ::GetDlgCtrlID(::GetFocus()) - win32::kFirstControlId;
      return id >= 0 && id < static_cast<int>(table.controls.size())
                 ? std::string(table.controls[static_cast<std::size_t>(id)].name)
                 : std::string("?");
    };
    std::vector<std::string> tab_order;
    const Pixels& pixels = AtThisResolution();
    std::vector<std::function<void()>> steps{
        [&] {
          HWND dialog = ActiveDialog();
          ASSERT_NE(dialog, nullptr);
          EXPECT_EQ(Text(dialog), form.Caption());
          const SIZE client = ClientSize(dialog);
          EXPECT_EQ(client.cx, pixels.dialog.cx);
          EXPECT_EQ(client.cy, pixels.dialog.cy);
          const LONG_PTR style = ::GetWindowLongPtrW(dialog, GWL_STYLE);
          EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
          EXPECT_EQ(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
          EXPECT_EQ(::GetMenuItemCount(::GetSystemMenu(dialog, FALSE)), -1) << "no control box";
          const RECT frame = Placed(Control(table, "frmFrame"));
          EXPECT_EQ(frame.left, pixels.frame_left);
          EXPECT_EQ(frame.right - frame.left, pixels.frame_width);
          list = Control(table, "lstPicList");
          box = Control(table, "txtLangNum");
          const RECT list_place = Placed(list);
          EXPECT_EQ(list_place.left, pixels.list_left);  // 240 twips in a frame at 120
          EXPECT_EQ(list_place.top, pixels.list_top);
          EXPECT_EQ(list_place.right - list_place.left, pixels.list_width);
          const RECT ok = Placed(Control(table, "cmdUpdateDictionary"));
          EXPECT_EQ(ok.left, pixels.ok.x);
          EXPECT_EQ(ok.top, pixels.ok.y);
          EXPECT_EQ(Text(Control(table, "lblString(0)")), form.lblString(0));
          EXPECT_EQ(Text(Control(table, "lblString(1)")), form.lblString(1));
          // Each label's text on one line and short of the frame's border
          // (its inner line lies an edge inside the frame's right side).
          for (const char* name : {"lblString(0)", "lblString(1)"}) {
            HWND label = Control(table, name);
            const RECT place = Placed(label);
            const int width = TextWidth(label);
            EXPECT_LE(width, place.right - place.left) << name;
            EXPECT_LT(place.left + width, frame.right - ::GetSystemMetrics(SM_CXEDGE)) << name;
          }
          // The fonts of the table: the list's and the box's their own, the
          // rest the window's.
          struct Font {
            const char* control;
            const wchar_t* face;
            LONG height;
            LONG weight;
          };
          const Font fonts[] = {
              {"lstPicList", L"Microsoft Sans Serif", pixels.font_975_height, FW_BOLD},
              {"txtLangNum", L"MS Sans Serif", pixels.font_975_height, FW_BOLD},
              {"cmdCheckAll", L"MS Sans Serif", 0, FW_NORMAL},
              {"cmdUpdateDictionary", L"MS Sans Serif", 0, FW_NORMAL},
          };
          for (const Font& font : fonts) {
            const LOGFONTW made = FontOf(Control(table, font.control));
            EXPECT_EQ(std::wstring(made.lfFaceName), font.face) << font.control;
            EXPECT_EQ(made.lfWeight, font.weight) << font.control;
            if (font.height != 0) {
              EXPECT_EQ(made.lfHeight, -font.height) << font.control;
            }
          }
          EXPECT_EQ(ListView_GetExtendedListViewStyle(list) & LVS_EX_CHECKBOXES,
                    static_cast<DWORD>(LVS_EX_CHECKBOXES));
          EXPECT_EQ(::GetWindowLongPtrW(box, GWL_STYLE) & ES_CENTER, ES_CENTER);
          ASSERT_EQ(ListView_GetItemCount(list), 3);
          EXPECT_EQ(Text(box), "100") << "the proposed number stays whole";
          EXPECT_EQ(name_of_focus(), "cmdUncheckAll");
          for (int i = 0; i < 7; ++i) {
            tab_order.push_back(name_of_focus());
            ::SendMessageW(dialog, WM_NEXTDLGCTL, 0, FALSE);
          }
          EXPECT_THAT(tab_order,
                      ElementsAre("cmdUncheckAll", "cmdCheckAll", "lstPicList", "cmdCancel",
                                  "txtLangNum", "cmdUpdateDictionary", "cmdUncheckAll"));
          // Ok with nothing checked.
          Click(Control(table, "cmdUpdateDictionary"));
        },
        [&] {
          EXPECT_THAT(backend_.Take(),
                      ElementsAre(Warning("You must select one or more pictures !")));
          EXPECT_EQ(name_of_focus(), "lstPicList");
          // Enter in the list presses nothing.
          Key(VK_RETURN);
        },
        [&] {
          EXPECT_THAT(backend_.Take(), IsEmpty());
          for (const auto& entry : form.lstPicList) EXPECT_FALSE(entry.selected);
          Screenshot(ActiveDialog(), ShotName(std::string(form.Name()) + "-empty"));
          Click(Control(table, "cmdCheckAll"));
        },
        [&] {
          for (int row = 0; row < 3; ++row) EXPECT_TRUE(ListView_GetCheckState(list, row));
          Click(Control(table, "cmdUncheckAll"));
        },
        [&] {
          for (int row = 0; row < 3; ++row) EXPECT_FALSE(ListView_GetCheckState(list, row));
          // A click on the second entry's check box checks it.
          RECT item{};
          ListView_GetItemRect(list, 1, &item, LVIR_BOUNDS);
          LVHITTESTINFO hit{};
          for (hit.pt = {item.left + 1, (item.top + item.bottom) / 2}; hit.pt.x < item.left + 30;
               ++hit.pt.x) {
            ListView_HitTest(list, &hit);
            if (hit.flags & LVHT_ONITEMSTATEICON) break;
          }
          EXPECT_TRUE(hit.flags & LVHT_ONITEMSTATEICON);
          Click(list, hit.pt);
        },
        [&] {
          EXPECT_FALSE(ListView_GetCheckState(list, 0));
          EXPECT_TRUE(ListView_GetCheckState(list, 1));
          // Typed over the selected number: a letter, a minus, digits, a
          // backspace; two characters at most.
          ::SendMessageW(ActiveDialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
          ::SendMessageW(box, EM_SETSEL, 0, -1);
          Type("a-2");
        },
        [&] {
          EXPECT_EQ(backend_.Take(),
                    std::vector<Message>(2, Warning("You must insert a number !")));
          EXPECT_EQ(Text(box), "2");
          Type("34");
        },
        [&] {
          EXPECT_EQ(Text(box), "23");
          Key(VK_BACK);
        },
        [&] {
          EXPECT_EQ(Text(box), "2");
          EXPECT_THAT(backend_.Take(), IsEmpty());
          Screenshot(ActiveDialog(), ShotName(form.Name()));
          // Ok: the change asks first; No leaves the dialog open.
          backend_.answers = {ui::Answer::No, ui::Answer::Yes};
          backend_.next = 0;
          Click(Control(table, "cmdUpdateDictionary"));
        },
    };
    if (kind == PictureSelectionKind::ChangeDevLang) {
      steps.push_back([&] {
        EXPECT_THAT(backend_.Take(),
                    ElementsAre(Message{"Did you select ALL the pictures included in your "
                                        "iFix application ?",
                                        " Veltrano - Confirmation request", 36}));
        EXPECT_FALSE(form.closed);
        Click(Control(table, "cmdUpdateDictionary"));  // Yes this time
      });
    } else {
      steps.push_back([&] { ADD_FAILURE() << "Ok left the dialog open"; });
    }
    Script script(std::move(steps));
    RunWin32View(form);
    EXPECT_TRUE(form.closed);
    EXPECT_TRUE(session_.run.blnMaintenanceRunning);
    EXPECT_THAT(session_.run.strSelectedPictures, ElementsAre(form.lstPicList[1].text));
    EXPECT_EQ(session_.configuration.intStartLangNum, 2);
    if (kind == PictureSelectionKind::ChangeDevLang) {
      EXPECT_THAT(backend_.Take(), ElementsAre(Message{"Did you select ALL the pictures included "
                                                       "in your iFix application ?",
                                                       " Veltrano - Confirmation request", 36}));
    }
  }
}

TEST_F(Win32ViewsTest, CancelLowersTheRunningFlag) {
  const layout::Window& table = layout::PictureSelection();
  PictureSelectionForm form(PictureSelectionKind::UpdateDictionary, session_, messages_, errors_);
  Script script({[&] { Click(Control(table, "cmdCancel")); }});
  RunWin32View(form);
  EXPECT_TRUE(form.closed);
  EXPECT_FALSE(session_.run.blnMaintenanceRunning);
  EXPECT_THAT(backend_.Take(), IsEmpty());
}

// A real message box raised from the dialog is owned by it and centred on it.
TEST_F(Win32ViewsTest, MessageBoxIsCentredOnTheDialog) {
  const layout::Window& table = layout::PictureSelection();
  ui::WindowsBackend windows;
  ui::ScopedBackend real(windows);
  PictureSelectionForm form(PictureSelectionKind::UpdateDictionary, session_, messages_, errors_);
  HWND dialog = nullptr;
  Script script({
      [&] {
        dialog = ActiveDialog();
        // Away from the screen's centre, where a box would open on its own.
        ::SetWindowPos(dialog, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        Click(Control(table, "cmdUpdateDictionary"));
      },
      [&] {
        HWND box = ::FindWindowW(L"#32770", L" Veltrano - Warning");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(::GetWindow(box, GW_OWNER), dialog);
        RECT own;
        RECT owner;
        ::GetWindowRect(box, &own);
        ::GetWindowRect(dialog, &owner);
        EXPECT_LE(std::abs((own.left + own.right) - (owner.left + owner.right)), 2);
        EXPECT_LE(std::abs((own.top + own.bottom) - (owner.top + owner.bottom)), 2);
        Screenshot(box, ShotName("message-box"));
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
      },
      [&] { Click(Control(table, "cmdCancel")); },
  });
  RunWin32View(form);
  EXPECT_TRUE(form.closed);
}

TEST_F(Win32ViewsTest, SplashPanelFollowsTheLayoutAndEnterIsOk) {
  const layout::Window& table = layout::Splash();
  SplashForm form({2, 10, system::Utf8FromPath(dir_.path()), system::Utf8FromPath(dir_.path())},
                  messages_, errors_);
  const Pixels& pixels = AtThisResolution();
  Script script({
      [&] {
        HWND panel = ActiveDialog();
        ASSERT_NE(panel, nullptr);
        const SIZE client = ClientSize(panel);
        EXPECT_EQ(client.cx, pixels.panel.cx);
        EXPECT_EQ(client.cy, pixels.panel.cy);
        const LONG_PTR style = ::GetWindowLongPtrW(panel, GWL_STYLE);
        EXPECT_EQ(style & WS_BORDER, WS_BORDER);
        EXPECT_NE(style & WS_CAPTION, WS_CAPTION) << "no title bar";
        EXPECT_EQ(Text(Control(table, "lblRelease")), "Ver. 2.10");
        const RECT ok = Placed(Control(table, "cmdOk"));
        EXPECT_EQ(ok.left, pixels.panel_ok.x);
        EXPECT_EQ(ok.top, pixels.panel_ok.y);
        EXPECT_EQ(::GetFocus(), Control(table, "cmdOk"));
        // The layout asks for the pointing hand over Ok.
        EXPECT_EQ(
            ::SendMessageW(panel, WM_SETCURSOR, reinterpret_cast<WPARAM>(Control(table, "cmdOk")),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
            TRUE);
        EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, IDC_HAND));
        Screenshot(panel, ShotName("frmSplash"));
        // The configuration file is missing: its button says so.
        Click(Control(table, "cmdOpenIniFile"));
      },
      [&] {
        const std::vector<Message> shown = backend_.Take();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].style, 16);
        EXPECT_FALSE(form.closed);
        ::SendMessageW(ActiveDialog(), WM_NEXTDLGCTL,
                       reinterpret_cast<WPARAM>(Control(table, "cmdOk")), TRUE);
        Key(VK_RETURN);
      },
  });
  RunWin32View(form);
  EXPECT_TRUE(form.closed);
}

}  // namespace
}  // namespace vt::maintenance
