#pragma once

// Whether a Qt window can be shown, and the application object that windows
// need, for every program that shows them (FIX.exe, Rostavel).

#include <memory>
#include <string>

class QApplication;

namespace vt::ui {

// A display is named: DISPLAY or WAYLAND_DISPLAY is set.
bool DisplayNamed();

// Whether Qt's platform plugin can start: the display QT_QPA_PLATFORM names
// (xcb, wayland) or, without it, any display; offscreen, minimal, vnc and
// the like need none. Without one, Qt would abort the process.
bool WindowsCanBeShown();

// Makes the process's QApplication, named `program`. A display that is
// named but cannot be reached makes Qt give up: instead of its abort, the
// process ends with "<program>: cannot show windows: <why> (<hint>)" on
// stderr and `exit_status`. Qt's other start-up warnings are printed once.
std::shared_ptr<QApplication> MakeApplication(const std::string& program, int exit_status,
                                              const std::string& hint);

}  // namespace vt::ui
