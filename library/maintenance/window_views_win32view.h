#pragma once

// The Win32 views, for the Windows build (see window_views.h). Each opens its
// window modally over the thread's active window and returns once it closed.
namespace vt::maintenance {

class PictureSelectionForm;
class SplashForm;

void RunWin32View(PictureSelectionForm& form);
void RunWin32View(SplashForm& form);

}  // namespace vt::maintenance
