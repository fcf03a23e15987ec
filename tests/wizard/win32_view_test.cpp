// The wizard's Win32 window under Wine on a virtual display: walked through
// its pages by clicks, the shell's folder dialog answered (accepted and
// cancelled), the files deployed into a fresh folder and, on a second run,
// every question answered No; the system menu without Close.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/win32_driver.h"
// clang-format off
#include <shlobj.h>
// clang-format on

#include <filesystem>
#include <string>
#include <vector>

#include "platform/ui/backend.h"
#include "tests/support/message_log.h"
#include "tests/support/temp_dir.h"
#include "wizard/app_path.h"
#include "wizard/frm_rostavel_win32view.h"

namespace vt::wizard {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using vt::testing::Message;
using namespace vt::testing::win32;  // NOLINT: the driver's verbs read as steps

const std::vector<std::string> kTemplates{"Veltrano.xls", "Veltrano_Alm.xls", "Veltrano.ini",
                                          "modInterpreter.bas"};

HWND Control(HWND wizard, const char* name) {
  return ::GetDlgItem(wizard, FrmRostavelWin32View::ControlId(name));
}

bool Enabled(HWND wizard, const char* name) { return ::IsWindowEnabled(Control(wizard, name)); }

struct FolderSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK RememberOwnedWindow(HWND window, LPARAM parameter) {
  auto& s = *reinterpret_cast<FolderSearch*>(parameter);
  if (!::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER) != s.owner) return TRUE;
  s.found = window;
  return FALSE;
}

// The shell's folder dialog that the wizard opened.
HWND FolderDialogOf(HWND wizard) {
  FolderSearch search{wizard, nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), RememberOwnedWindow,
                      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class Win32WizardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(pictures_);
    // The program's folder is this test's (bin), which holds Kelmora/.
    ASSERT_TRUE(std::filesystem::exists(std::filesystem::path(AppPath()) / "Kelmora"));
  }

  // Selects the pictures folder in the shell's dialog; once the dialog has
  // settled (the next step), selects it again, as the tree may still have been
  // filling, and presses OK.
  void Choose(HWND dialog) const {
    const std::wstring folder = pictures_.wstring();
    ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
  }
  void Accept(HWND dialog) const {
    ASSERT_NE(dialog, nullptr);
    Choose(dialog);
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  }

  vt::testing::TempDir dir_{"vt-win32-wizard"};
  std::filesystem::path pictures_ = dir_.path() / "pictures";
  vt::testing::RecordingBackend backend_;
  ui::ScopedBackend scope_{backend_};
};

TEST_F(Win32WizardTest, PagesFolderDialogAndDeployment) {
  // A standard window's system menu, for comparison.
  HWND standard = ::CreateWindowExW(0, L"STATIC", L"standard", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                    nullptr, nullptr, nullptr, nullptr);
  const int standard_entries = ::GetMenuItemCount(::GetSystemMenu(standard, FALSE));
  ::DestroyWindow(standard);
  ASSERT_GT(standard_entries, 2);

  FrmRostavelWin32View view;
  HWND wizard = nullptr;
  auto shot = [&](const char* name) { Screenshot(wizard, name); };
  Script script({
      [&] {
        wizard = ActiveDialog();
        ASSERT_NE(wizard, nullptr);
        EXPECT_EQ(Text(wizard), " Rostavel");
        EXPECT_EQ(::GetMenuItemCount(::GetSystemMenu(wizard, FALSE)), standard_entries - 2);
        EXPECT_EQ(view.form().bytStep, 0);
        EXPECT_TRUE(Enabled(wizard, "cmdNext"));
        EXPECT_FALSE(Enabled(wizard, "cmdPrevious"));
        EXPECT_FALSE(Enabled(wizard, "cmdConfirm"));
        EXPECT_EQ(::GetFocus(), Control(wizard, "cmdNext"));
        // Alt+F4 and the window manager's close do nothing.
        ::PostMessageW(wizard, WM_SYSCOMMAND, SC_CLOSE, 0);
        ::PostMessageW(wizard, WM_CLOSE, 0, 0);
        shot("frmRostavel-0");
        Click(Control(wizard, "cmdNext"));
      },
      [&] {
        EXPECT_TRUE(::IsWindowVisible(wizard));
        EXPECT_EQ(view.form().bytStep, 1);
        EXPECT_FALSE(Enabled(wizard, "cmdNext")) << "no folder yet";
        shot("frmRostavel-1");
        Click(Control(wizard, "cmdBrowseForFolder"));
      },
      [&] {
        // The shell's dialog is open: pick the pictures folder and accept.
        HWND dialog = FolderDialogOf(wizard);
        if (dialog == nullptr) return Script::Again();
        Screenshot(dialog, "folder-dialog");
        Choose(dialog);
      },
      [&] { Accept(FolderDialogOf(wizard)); },
      [&] {
        EXPECT_EQ(std::filesystem::path(view.form().strPicturesFolder), pictures_);
        EXPECT_EQ(Text(Control(wizard, "lblPicturesFolder")), view.form().strPicturesFolder);
        EXPECT_TRUE(Enabled(wizard, "cmdNext"));
        shot("frmRostavel-1-chosen");
        Click(Control(wizard, "cmdBrowseForFolder"));
      },
      [&] {
        HWND dialog = FolderDialogOf(wizard);
        if (dialog == nullptr) return Script::Again();
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      },
      [&] {
        EXPECT_EQ(view.form().strPicturesFolder, "");
        EXPECT_EQ(Text(Control(wizard, "lblPicturesFolder")), "");
        EXPECT_FALSE(Enabled(wizard, "cmdNext"));
        Click(Control(wizard, "cmdBrowseForFolder"));
      },
      [&] {
        HWND dialog = FolderDialogOf(wizard);
        if (dialog == nullptr) return Script::Again();
        Choose(dialog);
      },
      [&] { Accept(FolderDialogOf(wizard)); },
      [&] {
        EXPECT_TRUE(Enabled(wizard, "cmdNext"));
        Click(Control(wizard, "cmdNext"));
      },
      [&] {
        EXPECT_EQ(view.form().bytStep, 2);
        shot("frmRostavel-2");
        for (const char* box : {"chkDictionary", "chkConfiguration", "chkVbaModule"}) {
          Click(Control(wizard, box));
        }
      },
      [&] {
        EXPECT_EQ(view.form().chkDictionary.Value, 0);
        EXPECT_FALSE(Enabled(wizard, "cmdNext")) << "the alarms dictionary alone does not count";
        Click(Control(wizard, "chkConfiguration"));
      },
      [&] {
        EXPECT_TRUE(Enabled(wizard, "cmdNext"));
        Click(Control(wizard, "chkDictionary"));
        Click(Control(wizard, "chkVbaModule"));
      },
      [&] {
        EXPECT_EQ(view.form().chkVbaModule.Value, 1);
        Click(Control(wizard, "cmdNext"));
      },
      [&] {
        EXPECT_EQ(view.form().bytStep, 3);
        EXPECT_FALSE(Enabled(wizard, "cmdNext"));
        EXPECT_TRUE(Enabled(wizard, "cmdConfirm"));
        EXPECT_EQ(::GetFocus(), Control(wizard, "cmdConfirm"));
        shot("frmRostavel-3");
        Key(VK_RETURN);  // presses Confirm, which has the focus
      },
  });
  view.Run();
  EXPECT_TRUE(view.form().Unloaded());
  EXPECT_TRUE(view.form().Completed());
  EXPECT_THAT(backend_.Take(),
              ElementsAre(Message{"Rostavel has completed !", " Veltrano - Information", 64}));
  const std::filesystem::path kelmora = std::filesystem::path(AppPath()) / "Kelmora";
  for (const std::string& name : kTemplates) {
    EXPECT_TRUE(vt::testing::ReadFile(pictures_ / "Veltrano" / name) ==
                vt::testing::ReadFile(kelmora / name))
        << name;
  }
}

TEST_F(Win32WizardTest, SecondRunAnsweredNoKeepsEveryFile) {
  std::filesystem::create_directories(pictures_ / "Veltrano");
  for (const std::string& name : kTemplates) {
    vt::testing::WriteFile(pictures_ / "Veltrano" / name, "mine");
  }
  backend_.answers = {ui::Answer::No, ui::Answer::No, ui::Answer::No, ui::Answer::No};
  FrmRostavelWin32View view;
  const std::string folder = pictures_.string();
  Script script({
      [&] { Click(Control(ActiveDialog(), "cmdNext")); },
      [&] { Click(Control(ActiveDialog(), "cmdNext")); },
      [&] { Click(Control(ActiveDialog(), "cmdNext")); },
      [&] { Click(Control(ActiveDialog(), "cmdConfirm")); },
  });
  view.Run([&folder](FrmRostavel& form) {
    form.strPicturesFolder = folder;
    form.lblPicturesFolder.Caption = folder;
  });
  EXPECT_TRUE(view.form().Completed());
  const std::vector<Message> shown = backend_.Take();
  ASSERT_EQ(shown.size(), 5u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(shown[i].text, "Do you wish to overwrite the file \"" + kTemplates[i] + "\" ?");
    EXPECT_EQ(shown[i].style, 36);
  }
  EXPECT_EQ(shown[4].text, "Rostavel has completed !");
  for (const std::string& name : kTemplates) {
    EXPECT_EQ(vt::testing::ReadFile(pictures_ / "Veltrano" / name), "mine") << name;
  }
}

TEST_F(Win32WizardTest, CloseAbortsWithoutFiles) {
  FrmRostavelWin32View view;
  Script script({[&] { Click(Control(ActiveDialog(), "cmdClose")); }});
  view.Run();
  EXPECT_TRUE(view.form().Unloaded());
  EXPECT_FALSE(view.form().Completed());
  EXPECT_THAT(backend_.Take(),
              ElementsAre(Message{"Rostavel has been aborted !", " Veltrano - Warning", 48}));
  EXPECT_FALSE(std::filesystem::exists(pictures_ / "Veltrano"));
}

}  // namespace
}  // namespace vt::wizard
