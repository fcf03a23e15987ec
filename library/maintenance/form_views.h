#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL != VELTRANO_LEVEL_MAINTENANCE && VELTRANO_LEVEL != VELTRANO_LEVEL_OUTSIDE
#error "library/maintenance/form_views.h is private to its component"
#endif

namespace vt::maintenance {

class PictureSelectionForm;
class SplashForm;

// Opens the window modally and returns once it has closed: the Qt view when
// the process's message boxes are Qt windows, else the batch view, which
// presses the buttons a person would. The transcript records the window.
void ShowModal(PictureSelectionForm& form);
void ShowModal(SplashForm& form);

}  // namespace vt::maintenance
