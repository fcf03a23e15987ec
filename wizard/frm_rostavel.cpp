#include "wizard/frm_rostavel.h"

#include <exception>
#include <stdexcept>

#include "platform/ui/msgbox.h"
#include "wizard/mod_common_dialog_api.h"
#include "wizard/mod_err_handler.h"

namespace vt::wizard {
namespace {

constexpr const char* kModule = "frmRostavel";

struct PageText {
  const char* title;
  const char* description;
};

constexpr std::array<PageText, FrmRostavel::kPages> kPageTexts{{
    {"Start",
     "This procedure will create all the necessary files to use Veltrano in your application."},
    {"Select pictures folder", "Browse for the PICTURES folder of your iFix application."},
    {"Select interpreter files",
     "Select the interpreter files you wish to create or overwrite (for a new application you "
     "must check all the files)."},
    {"Finish",
     "Confirm previous selections to create the files you need in your iFix application."},
}};

}  // namespace

FrmRostavel::FrmRostavel(FormWindow& window) : window_(window) {
  for (std::size_t page = 0; page < kPages; ++page) {
    lblTitle[page].Caption = kPageTexts[page].title;
    lblStepDescription[page].Caption = kPageTexts[page].description;
  }
  picContainer[0].Visible = true;
}

void FrmRostavel::Event(const char* procedure, const std::function<void()>& body) noexcept {
  std::string description;
  try {
    body();
    return;
  } catch (const std::exception& e) {
    description = e.what();
  } catch (...) {
    description = "Unknown error";
  }
  ++failures_reported_;
  try {
    HandleError(kModule, procedure, description);
  } catch (...) {
    // The reporter never throws; nothing is left to tell if it did.
  }
}

void FrmRostavel::Form_Load() {
  Event("Form_Load", [this] {
    window_.RemoveCloseFromTitleBar();
    bytStep = 0;
  });
}

void FrmRostavel::Form_Activate() {
  Event("Form_Activate", [this] { SetNavigation(); });
}

void FrmRostavel::Form_Unload() {
  Event("Form_Unload", [this] { unloaded_ = true; });
}

void FrmRostavel::cmdNext_Click() {
  Event("cmdNext_Click", [this] {
    if (bytStep == 3) return;
    ++bytStep;
    SetNavigation();
  });
}

void FrmRostavel::cmdPrevious_Click() {
  Event("cmdPrevious_Click", [this] {
    if (bytStep == 0) return;
    --bytStep;
    SetNavigation();
  });
}

void FrmRostavel::cmdClose_Click() {
  Event("cmdClose_Click", [this] {
    window_.Hide();
    ui::MsgBox("Rostavel has been aborted !", ui::kStyleExclamation, " Veltrano - Warning");
    window_.Unload();
  });
}

void FrmRostavel::cmdBrowseForFolder_Click() {
  Event("cmdBrowseForFolder_Click", [this] {
    strPicturesFolder =
        BrowseForFolder(window_.Handle(), "Search for iFix application pictures folder...");
    lblPicturesFolder.Caption = strPicturesFolder;
    cmdNext.Enabled = !lblPicturesFolder.Caption.empty();
  });
}

void FrmRostavel::chkDictionary_Click() {
  Event("chkDictionary_Click", [this] { EnableNextForFiles(); });
}

void FrmRostavel::chkConfiguration_Click() {
  Event("chkConfiguration_Click", [this] { EnableNextForFiles(); });
}

void FrmRostavel::chkVbaModule_Click() {
  Event("chkVbaModule_Click", [this] { EnableNextForFiles(); });
}

// The alarms dictionary box does not count: it rides along with the others.
bool FrmRostavel::AnyFileChecked() const {
  return chkDictionary.Value != 0 || chkConfiguration.Value != 0 || chkVbaModule.Value != 0;
}

void FrmRostavel::EnableNextForFiles() { cmdNext.Enabled = AnyFileChecked(); }

void FrmRostavel::SetFocus(const CommandButton& button) {
  if (!button.Enabled) throw std::invalid_argument("Invalid procedure call or argument");
  window_.SetFocus(button.Name);
}

void FrmRostavel::SetNavigation() {
  Event("SetNavigation", [this] {
    if (bytStep >= kPages) return;
    for (std::size_t page = 0; page < kPages; ++page) picContainer[page].Visible = page == bytStep;
    cmdClose.Enabled = true;
    cmdPrevious.Enabled = bytStep != 0;
    cmdConfirm.Enabled = bytStep == 3;
    switch (bytStep) {
      case 0:
        cmdNext.Enabled = true;
        SetFocus(cmdNext);
        break;
      case 1:
      case 2:
        cmdNext.Enabled = bytStep == 1 ? !lblPicturesFolder.Caption.empty() : AnyFileChecked();
        SetFocus(cmdNext.Enabled ? cmdNext : cmdPrevious);
        break;
      default:
        cmdNext.Enabled = false;
        SetFocus(cmdConfirm);
        break;
    }
  });
}

}  // namespace vt::wizard
