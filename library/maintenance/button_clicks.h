#pragma once

#include "library/maintenance/picture_selection_form.h"
#include "library/maintenance/splash_form.h"

// The event procedure that a click on each command button raises, the same
// for every view of the window.
namespace vt::maintenance {

template <typename Form>
struct ButtonClick {
  const char* button;
  void (Form::*procedure)();
};

inline constexpr ButtonClick<PictureSelectionForm> kPictureSelectionClicks[] = {
    {"cmdCheckAll", &PictureSelectionForm::cmdCheckAll_Click},
    {"cmdUncheckAll", &PictureSelectionForm::cmdUncheckAll_Click},
    {"cmdCancel", &PictureSelectionForm::cmdCancel_Click},
    {"cmdUpdateDictionary", &PictureSelectionForm::cmdUpdateDictionary_Click},
};

inline constexpr ButtonClick<SplashForm> kSplashClicks[] = {
    {"cmdOk", &SplashForm::cmdOk_Click},
    {"cmdOpenUserGuide_IT", &SplashForm::cmdOpenUserGuide_IT_Click},
    {"cmdOpenUserGuide_EN", &SplashForm::cmdOpenUserGuide_EN_Click},
    {"cmdOpenIniFile", &SplashForm::cmdOpenIniFile_Click},
    {"cmdOpenEula", &SplashForm::cmdOpenEula_Click},
};

}  // namespace vt::maintenance
