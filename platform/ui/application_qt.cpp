#include "platform/ui/application_qt.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace vt::ui {
namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// What the message handler needs while the application object is made.
struct Start {
  std::string program;
  std::string hint;
  int exit_status = 1;
  std::string warnings;
};
Start start;

void StartMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) {
    start.warnings += (start.warnings.empty() ? "" : "; ") + message.toStdString();
    return;
  }
  const std::string why = start.warnings.empty() ? message.toStdString() : start.warnings;
  const std::string line =
      start.program + ": cannot show windows: " + why + " (" + start.hint + ")\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stdout);
  std::_Exit(start.exit_status);
}

}  // namespace

bool DisplayNamed() { return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY"); }

bool WindowsCanBeShown() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform == nullptr || *platform == '\0') return DisplayNamed();
  const std::string name = std::string(platform).substr(0, std::string(platform).find(':'));
  if (name == "xcb") return IsSet("DISPLAY");
  if (name == "wayland") return IsSet("WAYLAND_DISPLAY");
  return true;
}

std::shared_ptr<QApplication> MakeApplication(const std::string& program, int exit_status,
                                              const std::string& hint) {
  // QApplication keeps argc and argv for its lifetime.
  static std::string name;
  static int argc = 1;
  static char* argv[] = {nullptr, nullptr};
  name = program;
  argv[0] = name.data();
  start = Start{program, hint, exit_status, {}};
  const QtMessageHandler previous = qInstallMessageHandler(StartMessage);
  auto application = std::make_shared<QApplication>(argc, argv);
  qInstallMessageHandler(previous);
  if (!start.warnings.empty()) {
    std::fprintf(stderr, "%s: Qt: %s\n", program.c_str(), start.warnings.c_str());
  }
  return application;
}

}  // namespace vt::ui
