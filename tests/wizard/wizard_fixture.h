#pragma once

// The wizard run on a copy of its program folder (the templates in Kelmora/,
// the log beside it) against a fresh pictures folder; message boxes recorded
// and answered, the folder dialog answered by the test.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/backend.h"
#include "tests/support/message_log.h"
#include "tests/support/temp_dir.h"
#include "wizard/app_path.h"
#include "wizard/frm_rostavel_qt.h"
#include "wizard/mod_common_dialog_api.h"

namespace vt::wizard::testing {

using vt::testing::Message;
using vt::testing::ReadFile;
using vt::testing::ReadLines;
using vt::testing::RecordingBackend;
using vt::testing::TempDir;
using vt::testing::WriteFile;

inline const std::vector<std::string> kTemplates{"Veltrano.xls", "Veltrano_Alm.xls", "Veltrano.ini",
                                                 "modInterpreter.bas"};

// Answers with `answers` in order (nothing: cancelled), then cancels.
class ScriptedFolderDialog : public FolderDialog {
 public:
  std::optional<std::string> ChooseFolder(WindowHandle owner, const std::string& title) override;

  std::vector<std::optional<std::string>> answers;
  std::vector<std::string> titles;
  std::vector<WindowHandle> owners;
};

// The templates as the build made them.
std::filesystem::path BuiltKelmora();

class WizardTest : public ::testing::Test {
 protected:
  WizardTest();

  std::filesystem::path program() const { return temp_ / "program"; }
  std::filesystem::path kelmora() const { return program() / "Kelmora"; }
  std::filesystem::path pictures() const { return temp_ / "pictures"; }
  std::filesystem::path veltrano() const { return pictures() / "Veltrano"; }
  std::filesystem::path log_path() const { return program() / "Rostavel.log"; }
  std::filesystem::path dir() const { return temp_.path(); }

  // The real window, loaded and shown.
  FrmRostavelView& OpenWindow();
  FrmRostavelView& view() { return *view_; }
  FrmRostavel& form() { return view_->form(); }

  // A left click on the widget of that name, as a person gives it (nothing
  // happens when it is disabled).
  void Click(const char* name);
  // The widget that has the window's keyboard focus, by name.
  std::string Focused() const;
  // Next, the folder chosen in the dialog, Next: page 2.
  void ToFilesPage(const std::string& folder);
  // Boxes as given (in table order), then Next and Confirm.
  void ConfirmWith(const std::vector<bool>& boxes);

  std::vector<Message> TakeMessages() { return backend_.Take(); }
  // Names of the files in `folder`, hidden ones included, sorted.
  static std::vector<std::string> Listing(const std::filesystem::path& folder);

  TempDir temp_{"vt-wizard"};
  RecordingBackend backend_;
  ScriptedFolderDialog dialog_;

 private:
  ui::ScopedBackend backend_scope_{backend_};
  ScopedFolderDialog dialog_scope_{&dialog_};
  std::optional<ScopedAppPath> app_path_;

 protected:
  std::unique_ptr<FrmRostavelView> view_;
};

}  // namespace vt::wizard::testing
