#include "wizard/preset.h"

namespace vt::wizard {

void PresetForm(FrmRostavel& form, const std::optional<std::string>& folder,
                const FileChoice& files) {
  if (folder) {
    form.strPicturesFolder = *folder;
    form.lblPicturesFolder.Caption = *folder;
  }
  form.chkDictionary.Value = files.dictionary ? 1 : 0;
  form.chkAlarmsDictionary.Value = files.alarms ? 1 : 0;
  form.chkConfiguration.Value = files.configuration ? 1 : 0;
  form.chkVbaModule.Value = files.module ? 1 : 0;
}

}  // namespace vt::wizard
