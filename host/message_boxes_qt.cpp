#include <QApplication>
#include <memory>
#include <utility>

#include "host/message_boxes.h"
#include "platform/ui/application_qt.h"

namespace vt::host {

// Windows need a QApplication, made only when they can be shown (or are asked
// for), so that a batch run needs no display.
std::shared_ptr<void> ConfigureMessageBoxes(const Options& options) {
  ui::Options ui_options = MessageBoxOptions(options);
  const bool forced = options.gui == GuiMode::Gui;
  if (forced && !ui::WindowsCanBeShown()) {
    throw ui::ConfigError(
        "--gui: windows cannot be shown: there is no display (DISPLAY and WAYLAND_DISPLAY are "
        "not set)");
  }
  const bool want_windows =
      forced || (options.gui == GuiMode::Auto && !options.batch && ui::DisplayNamed());
  std::shared_ptr<QApplication> application;
  if (want_windows && QApplication::instance() == nullptr) {
    application = ui::MakeApplication("FIX.exe", forced ? 2 : 1, "run with --no-gui or --batch");
  }
  ui::Configure(std::move(ui_options));
  return application;
}

}  // namespace vt::host
