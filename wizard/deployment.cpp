// Confirm: the Veltrano folder and the template files copied into it.
#include <array>
#include <memory>
#include <stdexcept>

#include "platform/system/env.h"
#include "platform/system/paths.h"
#include "platform/ui/msgbox.h"
#include "wizard/app_path.h"
#include "wizard/frm_rostavel.h"

namespace vt::wizard {
namespace {

struct Deployment {
  CheckBox FrmRostavel::*box;
  const char* file;  // the same name in Kelmora and in Veltrano
};

constexpr std::array<Deployment, 4> kDeployments{{
    {&FrmRostavel::chkDictionary, "Veltrano.xls"},
    {&FrmRostavel::chkAlarmsDictionary, "Veltrano_Alm.xls"},
    {&FrmRostavel::chkConfiguration, "Veltrano.ini"},
    {&FrmRostavel::chkVbaModule, "modInterpreter.bas"},
}};

}  // namespace

void FrmRostavel::cmdConfirm_Click() {
  Event("cmdConfirm_Click", [this] {
    system::Env& env = system::CurrentEnv();
    const std::string veltrano = strPicturesFolder + system::SystemPath("\\Veltrano");
    if (!env.DirectoryExists(veltrano)) env.CreateDirectory(veltrano);

    const std::string templates = AppPath() + system::SystemPath("\\Kelmora\\");
    for (const Deployment& row : kDeployments) {
      if ((this->*row.box).Value != 1) continue;
      const std::string target = veltrano + system::SystemPath("\\") + row.file;
      if (env.FileExists(target) &&
          ui::MsgBox(std::string("Do you wish to overwrite the file \"") + row.file + "\" ?",
                     ui::kStyleQuestion, " Veltrano - Confirmation request") != ui::kYes) {
        continue;
      }
      // A host that is reading or saving the files holds the writers' lock; the
      // copy does not wait for it, as a file open in another program is not
      // replaced.
      const std::unique_ptr<system::FileLock> lock = env.TryLockForWriting(target);
      if (!lock) {
        throw std::runtime_error("Cannot replace the file '" + target +
                                 "': it is in use by another program");
      }
      // Written beside the target and renamed over it once complete, so a copy
      // that fails half way leaves the old file as it was.
      env.CopyFile(templates + row.file, target);
    }

    ui::MsgBox("Rostavel has completed !", ui::kStyleInformation, " Veltrano - Information");
    completed_ = true;
    window_.Unload();
  });
}

}  // namespace vt::wizard
