#include <unistd.h>

#include <QApplication>
#include <QGuiApplication>
#include <memory>
#include <utility>

#include "platform/ui/backend_qt.h"
#include "platform/ui/batch_backend.h"
#include "platform/ui/configure.h"
#include "platform/ui/process_state.h"
#include "platform/ui/terminal_backend_posix.h"

namespace vt::ui {

Surroundings CurrentSurroundings() {
  Surroundings s;
  QCoreApplication* app = QCoreApplication::instance();
  s.has_widget_application = qobject_cast<QApplication*>(app) != nullptr;
  if (qobject_cast<QGuiApplication*>(app) != nullptr) {
    s.platform_name = QGuiApplication::platformName().toStdString();
  }
  s.has_terminal = ::isatty(STDIN_FILENO) == 1;
  return s;
}

void Configure(Options options) {
  std::shared_ptr<Backend> backend;
  switch (ChooseBackend(options, CurrentSurroundings())) {
    case BackendKind::Qt:
      backend = std::make_shared<QtBackend>();
      break;
    case BackendKind::Terminal:
      backend = TerminalBackend::OpenControllingTerminal();
      break;
    case BackendKind::Batch:
      break;
  }
  if (!backend) {
    // Also when stdin is a TTY but /dev/tty cannot be opened (no controlling terminal).
    backend = detail::MakeBatchBackend(options);
  }
  detail::InstallConfigured(std::move(backend), std::move(options));
}

}  // namespace vt::ui
