#include "library/maintenance/window_views_qt.h"

#include "library/maintenance/window_views.h"
#include "platform/ui/backend.h"

namespace vt::maintenance {

bool ShowWindowView(PictureSelectionForm& form) {
  if (!ui::CurrentBackend().ShowsQtWindows()) return false;
  RunQtView(form);
  return true;
}

bool ShowWindowView(SplashForm& form) {
  if (!ui::CurrentBackend().ShowsQtWindows()) return false;
  RunQtView(form);
  return true;
}

}  // namespace vt::maintenance
