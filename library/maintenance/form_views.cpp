#include "library/maintenance/form_views.h"

#include "library/maintenance/batch_views.h"
#include "library/maintenance/picture_selection_form.h"
#include "library/maintenance/splash_form.h"
#include "platform/ui/backend.h"
#include "platform/ui/configure.h"
#include "platform/ui/msgbox.h"

#if VELTRANO_QT_VIEWS
#include "library/maintenance/qt_views.h"
#endif

namespace vt::maintenance {

void ShowModal(PictureSelectionForm& form) {
  ui::RecordWindowShown(form.Name(), form.Caption());
#if VELTRANO_QT_VIEWS
  if (ui::CurrentBackend().ShowsQtWindows()) {
    RunQtView(form);
    return;
  }
#endif
  RunBatchView(form, ui::CurrentBatchInputs());
}

void ShowModal(SplashForm& form) {
  // The panel has no title bar, hence no caption.
  ui::RecordWindowShown(SplashForm::kName, "");
#if VELTRANO_QT_VIEWS
  if (ui::CurrentBackend().ShowsQtWindows()) {
    RunQtView(form);
    return;
  }
#endif
  RunBatchView(form);
}

void ShowStartupPanel() {
  SplashForm form(LibrarySplashSettings());
  ShowModal(form);
}

}  // namespace vt::maintenance
