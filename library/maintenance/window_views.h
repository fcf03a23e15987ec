#pragma once

// The views that show a window to a person: Qt widgets on Linux, Win32
// windows on Windows, none in a build without either. The file is chosen by
// the build.
namespace vt::maintenance {

class PictureSelectionForm;
class SplashForm;

// Shows the window modally and returns true once it has closed; false, with
// nothing done, when this process shows no windows (batch), so that the batch
// view presses the buttons instead.
bool ShowWindowView(PictureSelectionForm& form);
bool ShowWindowView(SplashForm& form);

}  // namespace vt::maintenance
