#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "wizard/frm_rostavel_view.h"
#include "wizard/run_window.h"

namespace vt::wizard {
namespace {

// A display that is named but cannot be reached makes Qt abort the process
// while it makes the application object: its fatal message becomes ours.
std::string qt_warnings;

void QtStartMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) {
    qt_warnings += (qt_warnings.empty() ? "" : "; ") + message.toStdString();
    return;
  }
  const std::string line = "Rostavel: cannot show the window: " +
                           (qt_warnings.empty() ? message.toStdString() : qt_warnings) +
                           " (run with --batch --folder DIR)\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::_Exit(1);
}

}  // namespace

bool CanShowWindow() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

int RunWindow(const std::optional<std::string>& folder, const FileChoice& files,
              const std::function<void()>& configure) {
  static int argc = 1;
  static char name[] = "Rostavel";
  static char* argv[] = {name, nullptr};
  const QtMessageHandler previous = qInstallMessageHandler(QtStartMessage);
  QApplication application(argc, argv);
  qInstallMessageHandler(previous);
  // The wizard ends when its form unloads, not when a message box closes
  // after the window was hidden.
  QApplication::setQuitOnLastWindowClosed(false);
  configure();

  FrmRostavelView view([] { QCoreApplication::quit(); });
  view.Open([&](FrmRostavel& form) { PresetForm(form, folder, files); });
  if (!view.form().Unloaded()) QApplication::exec();
  const FrmRostavel& form = view.form();
  return form.Completed() && form.FailuresReported() == 0 ? 0 : 1;
}

}  // namespace vt::wizard
