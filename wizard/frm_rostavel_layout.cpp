#include "wizard/frm_rostavel_layout.h"

namespace vt::wizard {
namespace {

using ui::layout::Control;
using ui::layout::Font;
using ui::layout::Kind;
using ui::layout::Window;

constexpr Font kTitleFont{"MS Sans Serif", 12, true};

// In twips, 15 a pixel at 96 dots an inch.
constexpr Control kControls[] = {
    {"cmdPrevious", Kind::Button, "", "", 2640, 4800, 1200, 390},
    {"cmdNext", Kind::Button, "", "", 3900, 4800, 1200, 390},
    {"cmdConfirm", Kind::Button, "", "", 5340, 4800, 1110, 390},
    {"cmdClose", Kind::Button, "", "", 6540, 4800, 1110, 390},
    {"cmdBrowseForFolder", Kind::Button, "", "", 7020, 1920, 480, 360},
    {"chkDictionary", Kind::Button, "", "", 300, 1920, 4500, 330},
    {"chkAlarmsDictionary", Kind::Button, "", "", 300, 2310, 4500, 330},
    {"chkConfiguration", Kind::Button, "", "", 300, 2700, 4500, 330},
    {"chkVbaModule", Kind::Button, "", "", 300, 3090, 4500, 330},
    {"lblPicturesFolder", Kind::Label, "", "", 300, 1920, 6600, 720},
    {"imgStart", Kind::Picture, "", "", 3180, 1920, 1440, 1440},
    {"imgFinish", Kind::Picture, "", "", 3180, 1920, 1440, 1440},
    {"shpTitle", Kind::Rectangle, "", "", 0, 0, 7800, 780},
    {"imgTitleIcon", Kind::Picture, "", "", 180, 150, 480, 480},
    {"lblTitle", Kind::Label, "", "", 780, 210, 6840, 390, nullptr, kTitleFont},
    {"fraStep", Kind::Frame, "", "", 120, 900, 7560, 3660},
    {"lblStepDescription", Kind::Label, "", "", 300, 1140, 7200, 600},
};
constexpr const char* kTabs[] = {"cmdBrowseForFolder",
                                 "chkDictionary",
                                 "chkAlarmsDictionary",
                                 "chkConfiguration",
                                 "chkVbaModule",
                                 "cmdPrevious",
                                 "cmdNext",
                                 "cmdConfirm",
                                 "cmdClose"};

}  // namespace

const Window& FrmRostavelLayout() {
  static constexpr Window kWindow{7800, 5400, {"MS Sans Serif", 8, false}, kControls, kTabs};
  return kWindow;
}

}  // namespace vt::wizard
