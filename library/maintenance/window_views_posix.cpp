#include "library/maintenance/window_views.h"

namespace vt::maintenance {

// A build without Qt or Win32 windows shows none: the batch views run.
bool ShowWindowView(PictureSelectionForm&) { return false; }
bool ShowWindowView(SplashForm&) { return false; }

}  // namespace vt::maintenance
