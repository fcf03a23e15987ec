#pragma once

#include <string_view>

#include "wizard/mod_common_dialog_api.h"

namespace vt::wizard {

// What the form model asks of the window that shows it: the Qt view, or the
// unattended run's stand-in that shows nothing.
class FormWindow {
 public:
  virtual ~FormWindow() = default;

  // Leaves the title bar without a way to close the window.
  virtual void RemoveCloseFromTitleBar() = 0;
  virtual void Hide() = 0;
  // Runs Form_Unload and closes the window for good; the program ends.
  virtual void Unload() = 0;
  // Gives the keyboard focus to the control of that name.
  virtual void SetFocus(std::string_view control) = 0;
  // The owner of the dialogs the form opens.
  virtual WindowHandle Handle() = 0;
};

}  // namespace vt::wizard
