#include "wizard/unattended.h"

#include <optional>
#include <ostream>
#include <string>
#include <utility>

#include "platform/ui/msgbox.h"
#include "wizard/form_window.h"
#include "wizard/frm_rostavel.h"
#include "wizard/mod_common_dialog_api.h"

namespace vt::wizard {
namespace {

// Nothing to show; Unload still runs Form_Unload.
class NoWindow final : public FormWindow {
 public:
  void Attach(FrmRostavel* form) { form_ = form; }
  void RemoveCloseFromTitleBar() override {}
  void Hide() override {}
  void Unload() override {
    if (form_ != nullptr && !form_->Unloaded()) form_->Form_Unload();
  }
  void SetFocus(std::string_view) override {}
  WindowHandle Handle() override { return nullptr; }

 private:
  FrmRostavel* form_ = nullptr;
};

class AnsweringDialog final : public FolderDialog {
 public:
  explicit AnsweringDialog(std::string folder) : folder_(std::move(folder)) {}
  std::optional<std::string> ChooseFolder(WindowHandle, const std::string&) override {
    return folder_;
  }

 private:
  std::string folder_;
};

// Why a button can be disabled, by page.
constexpr const char* kWhy[FrmRostavel::kPages] = {
    "", " (no pictures folder)",
    (" (check the dictionary, the configuration or the VBA module: the alarms dictionary alone "
     "does not count)"),
    ""};

// Sets a box as a click would, running its click procedure when it has one.
void Set(FrmRostavel& form, CheckBox& box, bool checked, void (FrmRostavel::*click)()) {
  const int value = checked ? 1 : 0;
  if (box.Value == value) return;
  box.Value = value;
  if (click != nullptr) (form.*click)();
}

}  // namespace

int RunUnattended(const std::string& folder, const FileChoice& files, std::ostream& err) {
  AnsweringDialog dialog(folder);
  ScopedFolderDialog dialog_scope(&dialog);
  NoWindow window;
  FrmRostavel form(window);
  window.Attach(&form);

  form.Form_Load();
  ui::RecordWindowShown("frmRostavel", form.Caption);
  form.Form_Activate();

  // Presses the button when a person could; false when the run cannot go on.
  auto press = [&form, &err](const CommandButton& button, void (FrmRostavel::*click)()) {
    if (form.Unloaded()) return false;
    if (!button.Enabled) {
      err << "Rostavel: \"" << button.Caption << "\" is disabled on page "
          << static_cast<int>(form.bytStep) << kWhy[form.bytStep] << "; closing the wizard\n";
      return false;
    }
    (form.*click)();
    return !form.Unloaded();
  };

  bool going_on = press(form.cmdNext, &FrmRostavel::cmdNext_Click);
  if (going_on) {
    form.cmdBrowseForFolder_Click();
    going_on = press(form.cmdNext, &FrmRostavel::cmdNext_Click);
  }
  if (going_on) {
    Set(form, form.chkDictionary, files.dictionary, &FrmRostavel::chkDictionary_Click);
    Set(form, form.chkAlarmsDictionary, files.alarms, nullptr);
    Set(form, form.chkConfiguration, files.configuration, &FrmRostavel::chkConfiguration_Click);
    Set(form, form.chkVbaModule, files.module, &FrmRostavel::chkVbaModule_Click);
    going_on = press(form.cmdNext, &FrmRostavel::cmdNext_Click);
  }
  if (going_on) press(form.cmdConfirm, &FrmRostavel::cmdConfirm_Click);
  if (!form.Unloaded()) form.cmdClose_Click();

  return form.Completed() && form.FailuresReported() == 0 ? 0 : 1;
}

}  // namespace vt::wizard
