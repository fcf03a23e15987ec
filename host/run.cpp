#include "host/run.h"

#include <CLI/CLI.hpp>
#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "host/command.h"
#include "host/failure_notes.h"
#include "host/options.h"
#include "host/workspace.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "platform/ui/backend.h"
#include "platform/ui/configure.h"
#include "platform/ui/transcript.h"

namespace vt::host {
namespace {

constexpr int kRan = 0;
constexpr int kHostFailure = 1;
constexpr int kWrongCommandLine = 2;

constexpr const char* kExitStatuses =
    "Exit status:\n"
    "  0  the command ran, whatever Veltrano reported in its message boxes (in batch\n"
    "     mode each failure it reported is also told on stderr)\n"
    "  2  a wrong command line: an unknown command or option, a bad value, a file or\n"
    "     picture that does not exist, a picture name with a folder in it, a language\n"
    "     number the dictionary has no column for, a transcript that cannot be written,\n"
    "     windows asked for without a display\n"
    "  1  the host itself failed: a form, picture, alarm list or script that it reads\n"
    "     is unreadable or malformed, a file that it writes cannot be written, a script\n"
    "     stopped on an error, the server could not be created";

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

void MakeApplication(std::unique_ptr<QApplication>& application, bool forced) {
  static int argc = 1;
  static char name[] = "FIX.exe";
  static char* argv[] = {name, nullptr};
  fatal_exit_status = forced ? 2 : 1;
  qt_warnings.clear();
  const QtMessageHandler previous = qInstallMessageHandler(QtStartMessage);
  application = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(previous);
  if (!qt_warnings.empty()) std::fprintf(stderr, "FIX.exe: Qt: %s\n", qt_warnings.c_str());
}

// Message boxes and dialogs follow the options: --batch, --answers,
// --transcript, --gui / --no-gui. Windows need a QApplication, made only when
// they can be shown (or are asked for), so that a batch run needs no display.
void ConfigureMessageBoxes(const Options& options, std::unique_ptr<QApplication>& application) {
  // Both are checked before anything runs, so that no box is lost.
  if (options.transcript) {
    const std::string problem = ui::AppendTranscriptLine(options.transcript->string(), "");
    if (!problem.empty()) throw ui::ConfigError("--transcript: " + problem);
  }
  const bool forced = options.gui == GuiMode::Gui;
  if (forced && !WindowsCanBeShown()) {
    throw ui::ConfigError(
        "--gui: windows cannot be shown: there is no display (DISPLAY and WAYLAND_DISPLAY are "
        "not set)");
  }
  const bool want_windows =
      forced || (options.gui == GuiMode::Auto && !options.batch && HasDisplay());
  if (want_windows && QApplication::instance() == nullptr) MakeApplication(application, forced);

  ui::Options ui_options;
  ui_options.mode = options.gui == GuiMode::Gui     ? ui::Mode::Gui
                    : options.gui == GuiMode::NoGui ? ui::Mode::NoGui
                                                    : ui::Mode::Auto;
  ui_options.batch = options.batch;
  std::string answers;
  for (const std::string& answer : options.answers) {
    answers += (answers.empty() ? "" : ",") + answer;
  }
  ui_options.answers = ui::ParseAnswers(answers);
  if (options.transcript) ui_options.transcript_path = options.transcript->string();
  ui_options.program_name = "FIX.exe";
  ui_options.batch_inputs.select_all = options.select_all;
  ui_options.batch_inputs.select = options.select;
  ui_options.batch_inputs.lang_number = options.lang_number;
  ui::Configure(std::move(ui_options));
}

}  // namespace

int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  Options options;
  CLI::App app{"FIX.exe: the workspace that hosts Veltrano", "FIX.exe"};
  app.require_subcommand(1);
  app.footer(kExitStatuses);
  AddOptions(app, options);

  CommandRun chosen;
  for (auto& command : AllCommands()) {
    CLI::App* sub = app.add_subcommand(command.name, command.description);
    CommandRun run = command.setup(*sub);
    sub->callback([&chosen, run] { chosen = run; });
  }

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    out << app.help();
    return kRan;
  } catch (const CLI::ParseError& e) {
    // A word where the command belongs is named, not met with "a subcommand
    // is required".
    const std::vector<std::string> left =
        app.get_subcommands().empty() ? app.remaining() : std::vector<std::string>{};
    const auto word = std::find_if(left.begin(), left.end(), [](const std::string& w) {
      return !w.empty() && w.front() != '-';
    });
    if (word != left.end()) {
      err << "FIX.exe: \"" << *word << "\" is not a command\n\n" << app.help();
    } else {
      err << "FIX.exe: " << e.what() << "\n\n" << app.help();
    }
    return kWrongCommandLine;
  }

  try {
    FinishOptions(options);
    std::unique_ptr<QApplication> application;
    ConfigureMessageBoxes(options, application);
    auto workspace = std::make_shared<Workspace>(options.pictures);
    int status = kRan;
    {
      std::optional<FailureNotes> notes;
      if (ui::CurrentBackend().Name() == "batch") notes.emplace(err);
      WorkspaceRegistration registration(workspace);
      CommandContext context{options, out, err, *workspace};
      status = chosen(context);
    }
    automation::FreeUnusedLibraries();
    return status;
  } catch (const ui::ConfigError& e) {
    err << "FIX.exe: " << e.what() << '\n';
    return kWrongCommandLine;
  } catch (const CommandLineError& e) {
    err << "FIX.exe: " << e.what() << '\n';
    return kWrongCommandLine;
  } catch (const std::exception& e) {
    err << "FIX.exe: " << e.what() << '\n';
    return kHostFailure;
  }
}

}  // namespace vt::host
