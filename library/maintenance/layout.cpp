#include "library/maintenance/layout.h"

namespace vt::maintenance::layout {
namespace {

constexpr Font kWindowFont{"MS Sans Serif", 8, false};

constexpr Control kPictureSelection[] = {
    {"frmFrame", Kind::Frame, "", "", 120, 0, 6495, 5535},
    {"lblString(0)", Kind::Label, "", "", 240, 360, 6135, 375, "frmFrame"},
    {"lstPicList",
     Kind::CheckList,
     "",
     "",
     240,
     720,
     6015,
     3300,
     "frmFrame",
     {"Microsoft Sans Serif", 9.75, true}},
    {"cmdCheckAll",
     Kind::Button,
     "Check all",
     " Check all the listed pictures ",
     240,
     4200,
     1575,
     495,
     "frmFrame",
     {},
     true},
    {"cmdUncheckAll",
     Kind::Button,
     "Uncheck all",
     " Uncheck all the listed pictures ",
     2040,
     4200,
     1575,
     495,
     "frmFrame",
     {},
     true},
    {"txtLangNum",
     Kind::NumberBox,
     "",
     "",
     240,
     4920,
     1575,
     375,
     "frmFrame",
     {"MS Sans Serif", 9.75, true}},
    {"lblString(1)", Kind::Label, "", "", 2040, 5010, 4455, 255, "frmFrame"},
    {"cmdUpdateDictionary",
     Kind::Button,
     "Ok",
     " Start checked pictures analysis ",
     1688,
     5760,
     1575,
     495,
     nullptr,
     {},
     true},
    {"cmdCancel", Kind::Button, "Cancel", " Cancel the updating procedure ", 3488, 5760, 1575, 495},
};
constexpr const char* kPictureSelectionTabs[] = {
    "cmdUncheckAll", "cmdCheckAll", "lstPicList", "cmdCancel", "txtLangNum", "cmdUpdateDictionary",
};

constexpr Control kSplash[] = {
    {"shpFrame", Kind::Rectangle, "", "", 120, 120, 4815, 5175},
    {"imgLogo", Kind::Picture, "", "", 360, 840, 4365, 1215},
    {"shpReleaseFrame", Kind::RoundedRectangle, "", "", 1508, 2160, 2055, 495},
    {"lblRelease", Kind::Label, "", "", 1808, 2280, 1455, 270, nullptr, {"Arial", 12, true}},
    {"cmdOpenUserGuide_IT",
     Kind::Button,
     "User guide - IT",
     " Open the italian user guide ",
     360,
     3960,
     2055,
     495,
     nullptr,
     {},
     true},
    {"cmdOpenUserGuide_EN",
     Kind::Button,
     "User guide - EN",
     " Open the english user guide ",
     2640,
     3960,
     2055,
     495,
     nullptr,
     {},
     true},
    {"cmdOpenIniFile",
     Kind::Button,
     "Startup configuration",
     " Open the configuration file ",
     360,
     4560,
     2055,
     495,
     nullptr,
     {},
     true},
    {"cmdOpenEula",
     Kind::Button,
     "License agreement",
     " Open the EULA file ",
     2640,
     4560,
     2055,
     495,
     nullptr,
     {},
     true},
    {"cmdOk", Kind::Button, "Ok", "", 1800, 5520, 1575, 495, nullptr, {}, true},
};
constexpr const char* kSplashTabs[] = {
    "cmdOk", "cmdOpenUserGuide_IT", "cmdOpenUserGuide_EN", "cmdOpenIniFile", "cmdOpenEula",
};

}  // namespace

const Window& PictureSelection() {
  static constexpr Window kWindow{6750, 6495, kWindowFont, kPictureSelection,
                                  kPictureSelectionTabs};
  return kWindow;
}

const Window& Splash() {
  static constexpr Window kWindow{5070, 6225, kWindowFont, kSplash, kSplashTabs};
  return kWindow;
}

}  // namespace vt::maintenance::layout
