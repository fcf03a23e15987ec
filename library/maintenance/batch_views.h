#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL != VELTRANO_LEVEL_MAINTENANCE && VELTRANO_LEVEL != VELTRANO_LEVEL_OUTSIDE
#error "library/maintenance/batch_views.h is private to its component"
#endif

namespace vt::ui {
struct BatchInputs;
}

namespace vt::maintenance {

class PictureSelectionForm;
class SplashForm;

// Form_Load; the entries `inputs` names (or all) checked; the number typed
// into txtLangNum character by character through txtLangNum_KeyPress; Ok,
// then Cancel when Ok left the dialog open. Nothing named, nothing checked.
void RunBatchView(PictureSelectionForm& form, const ui::BatchInputs& inputs);
// Form_Load, then Ok.
void RunBatchView(SplashForm& form);

}  // namespace vt::maintenance
