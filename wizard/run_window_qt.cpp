#include <QApplication>
#include <cstdlib>

#include "wizard/frm_rostavel_view.h"
#include "wizard/run_window.h"

namespace vt::wizard {

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
  QApplication application(argc, argv);
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
