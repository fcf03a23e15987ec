#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "host/message_boxes.h"

namespace vt::host {
namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

bool HasDisplay() { return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY"); }

// Whether Qt's platform plugin can start: without a display, Qt aborts the
// process when the application object is made.
bool WindowsCanBeShown() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform == nullptr || *platform == '\0') return HasDisplay();
  const std::string name = std::string(platform).substr(0, std::string(platform).find(':'));
  if (name == "xcb") return IsSet("DISPLAY");
  if (name == "wayland") return IsSet("WAYLAND_DISPLAY");
  return true;  // offscreen, minimal, vnc, ...: no display needed
}

// A display that is named but cannot be reached still makes Qt abort: its
// fatal message is turned into ours, with the exit status the run calls for.
int fatal_exit_status = 1;
std::string qt_warnings;

void QtStartMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) {
    qt_warnings += (qt_warnings.empty() ? "" : "; ") + message.toStdString();
    return;
  }
  const std::string why = qt_warnings.empty() ? message.toStdString() : qt_warnings;
  const std::string line =
      "FIX.exe: cannot show windows: " + why + " (run with --no-gui or --batch)\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stdout);
  std::_Exit(fatal_exit_status);
}

std::shared_ptr<QApplication> MakeApplication(bool forced) {
  static int argc = 1;
  static char name[] = "FIX.exe";
  static char* argv[] = {name, nullptr};
  fatal_exit_status = forced ? 2 : 1;
  qt_warnings.clear();
  const QtMessageHandler previous = qInstallMessageHandler(QtStartMessage);
  auto application = std::make_shared<QApplication>(argc, argv);
  qInstallMessageHandler(previous);
  if (!qt_warnings.empty()) std::fprintf(stderr, "FIX.exe: Qt: %s\n", qt_warnings.c_str());
  return application;
}

}  // namespace

// Windows need a QApplication, made only when they can be shown (or are asked
// for), so that a batch run needs no display.
std::shared_ptr<void> ConfigureMessageBoxes(const Options& options) {
  ui::Options ui_options = MessageBoxOptions(options);
  const bool forced = options.gui == GuiMode::Gui;
  if (forced && !WindowsCanBeShown()) {
    throw ui::ConfigError(
        "--gui: windows cannot be shown: there is no display (DISPLAY and WAYLAND_DISPLAY are "
        "not set)");
  }
  const bool want_windows =
      forced || (options.gui == GuiMode::Auto && !options.batch && HasDisplay());
  std::shared_ptr<QApplication> application;
  if (want_windows && QApplication::instance() == nullptr) application = MakeApplication(forced);
  ui::Configure(std::move(ui_options));
  return application;
}

}  // namespace vt::host
