#pragma once

#include "platform/ui/dialog_layout.h"

namespace vt::wizard {

// frmRostavel's layout, for its Qt and Win32 views alike. The page controls
// (shpTitle, imgTitleIcon, lblTitle, fraStep, lblStepDescription) are one set
// per page, at the same place on every page; the window's own controls lie
// outside the pages.
const ui::layout::Window& FrmRostavelLayout();

}  // namespace vt::wizard
