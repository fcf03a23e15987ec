#include "library/maintenance/form_views.h"

#include "library/maintenance/batch_views.h"
#include "library/maintenance/maintenance.h"
#include "library/maintenance/picture_selection_form.h"
#include "library/maintenance/splash_form.h"
#include "library/maintenance/window_views.h"
#include "platform/ui/configure.h"
#include "platform/ui/msgbox.h"

namespace vt::maintenance {

void ShowModal(PictureSelectionForm& form) {
  ui::RecordWindowShown(form.Name(), form.Caption());
  if (!ShowWindowView(form)) RunBatchView(form, ui::CurrentBatchInputs());
}

void ShowModal(SplashForm& form) {
  // The panel has no title bar, hence no caption.
  ui::RecordWindowShown(SplashForm::kName, "");
  if (!ShowWindowView(form)) RunBatchView(form);
}

void ShowStartupPanel(const interpreter::Configuration& configuration,
                      interpreter::Messages& messages, const interpreter::ErrorReporter& errors) {
  SplashForm form(LibrarySplashSettings(configuration.strFixPath), messages, errors);
  ShowModal(form);
}

}  // namespace vt::maintenance
