#include "library/maintenance/window_views_win32view.h"

#include "library/maintenance/window_views.h"
#include "platform/ui/backend.h"

namespace vt::maintenance {
namespace {

// Windows are shown where message boxes are: the Win32 back end, not batch.
bool ShowsWindows() { return ui::CurrentBackend().Name() == "windows"; }

}  // namespace

bool ShowWindowView(PictureSelectionForm& form) {
  if (!ShowsWindows()) return false;
  RunWin32View(form);
  return true;
}

bool ShowWindowView(SplashForm& form) {
  if (!ShowsWindows()) return false;
  RunWin32View(form);
  return true;
}

}  // namespace vt::maintenance
