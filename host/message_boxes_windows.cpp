#include <memory>
#include <utility>

#include "host/message_boxes.h"

namespace vt::host {

// Win32 message boxes need nothing made first; --gui where they cannot be
// shown is refused here. The library loaded into FIX.exe carries its own copy
// of the message-box code: the settings reach it through the process's
// environment, as they reach it from any host, and both copies configure
// themselves from there, answers taken from the one shared list.
std::shared_ptr<void> ConfigureMessageBoxes(const Options& options) {
  ui::Options ui_options = MessageBoxOptions(options);
  if (ui::ChooseBackend(ui_options, ui::CurrentSurroundings()) == ui::BackendKind::Batch) {
    ui_options.batch = true;
  }
  ui::ExportToEnvironment(ui_options);
  ui::Configure(ui::OptionsFromEnvironment());
  return nullptr;
}

}  // namespace vt::host
