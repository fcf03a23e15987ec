#pragma once

namespace vt::maintenance {

class PictureSelectionForm;
class SplashForm;

// Opens the window modally and returns once it has closed: the Qt view when
// the process's message boxes are Qt windows, else the batch view, which
// presses the buttons a person would. The transcript records the window.
void ShowModal(PictureSelectionForm& form);
void ShowModal(SplashForm& form);

}  // namespace vt::maintenance
