#pragma once

// The Qt views, for builds with Qt (see form_views.cpp). The process must
// have a QApplication. No Qt type appears here, so that the chooser compiles
// without Qt too.
namespace vt::maintenance {

class PictureSelectionForm;
class SplashForm;

void RunQtView(PictureSelectionForm& form);
void RunQtView(SplashForm& form);

}  // namespace vt::maintenance
