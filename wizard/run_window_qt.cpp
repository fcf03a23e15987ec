#include <QApplication>

#include "platform/ui/application_qt.h"
#include "wizard/frm_rostavel_qt.h"
#include "wizard/run_window.h"

namespace vt::wizard {

bool CanShowWindow() { return ui::WindowsCanBeShown(); }

int RunWindow(const std::optional<std::string>& folder, const FileChoice& files,
              const std::function<void()>& configure) {
  const auto application = ui::MakeApplication("Rostavel", 1, "use --batch --folder DIR");
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
