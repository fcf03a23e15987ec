#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "wizard/form_window.h"

namespace vt::wizard {

struct CommandButton {
  std::string Name;
  std::string Caption;
  bool Enabled = true;
};

// Value: 0 unchecked, 1 checked, 2 grey.
struct CheckBox {
  std::string Name;
  std::string Caption;
  int Value = 0;
};

struct Label {
  std::string Caption;
};

// One page's container; exactly one is visible at a time.
struct PictureBox {
  bool Visible = false;
};

// The wizard's window: four pages, the choice of the pictures folder and the
// files, and the deployment on Confirm. The controls are the window's own, as
// a view shows them; the event procedures are what the view calls.
class FrmRostavel {
 public:
  static constexpr std::uint8_t kPages = 4;

  explicit FrmRostavel(FormWindow& window);
  FrmRostavel(const FrmRostavel&) = delete;
  FrmRostavel& operator=(const FrmRostavel&) = delete;

  std::uint8_t bytStep = 0;
  std::string strPicturesFolder;

  std::string Caption = " Rostavel";
  std::array<PictureBox, kPages> picContainer;
  std::array<Label, kPages> lblTitle;
  std::array<Label, kPages> lblStepDescription;
  CommandButton cmdPrevious{"cmdPrevious", "< Previous"};
  CommandButton cmdNext{"cmdNext", "Next >"};
  CommandButton cmdConfirm{"cmdConfirm", "Confirm"};
  CommandButton cmdClose{"cmdClose", "Close"};
  CommandButton cmdBrowseForFolder{"cmdBrowseForFolder", "..."};
  Label lblPicturesFolder;
  CheckBox chkDictionary{"chkDictionary", "Dictionary file", 1};
  CheckBox chkAlarmsDictionary{"chkAlarmsDictionary", "Alarms dictionary file", 1};
  CheckBox chkConfiguration{"chkConfiguration", "Configuration file", 1};
  CheckBox chkVbaModule{"chkVbaModule", "VBA module file", 1};

  void Form_Load();
  void Form_Activate();
  void Form_Unload();
  void cmdNext_Click();
  void cmdPrevious_Click();
  void cmdClose_Click();
  void cmdConfirm_Click();
  void cmdBrowseForFolder_Click();
  void chkDictionary_Click();
  void chkConfiguration_Click();
  void chkVbaModule_Click();

  // "Rostavel has completed !" was shown.
  bool Completed() const { return completed_; }
  bool Unloaded() const { return unloaded_; }
  // How many failures the event procedures reported.
  int FailuresReported() const { return failures_reported_; }

 private:
  void SetNavigation();
  void SetFocus(const CommandButton& button);
  bool AnyFileChecked() const;
  void EnableNextForFiles();
  // Runs one event procedure's body; a failure is reported under the
  // procedure's name and the procedure ends there.
  void Event(const char* procedure, const std::function<void()>& body) noexcept;

  FormWindow& window_;
  bool completed_ = false;
  bool unloaded_ = false;
  int failures_reported_ = 0;
};

}  // namespace vt::wizard
