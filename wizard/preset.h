#pragma once

#include <optional>
#include <string>

#include "wizard/frm_rostavel.h"

namespace vt::wizard {

// The check boxes of page 2.
struct FileChoice {
  bool dictionary = true;
  bool alarms = true;
  bool configuration = true;
  bool module = true;
};

// What the command line presets in the window before it shows: the folder as
// if chosen in the dialog, and the boxes.
void PresetForm(FrmRostavel& form, const std::optional<std::string>& folder,
                const FileChoice& files);

}  // namespace vt::wizard
