#include "host/run.h"

#include <CLI/CLI.hpp>
#include <QApplication>
#include <cstdlib>
#include <exception>
#include <memory>
#include <ostream>

#include "host/command.h"
#include "host/options.h"
#include "host/workspace.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "platform/ui/configure.h"

namespace vt::host {
namespace {

constexpr int kRan = 0;
constexpr int kHostFailure = 1;
constexpr int kWrongCommandLine = 2;

bool HasDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

// Message boxes and dialogs follow the options: --batch, --answers,
// --transcript, --gui / --no-gui. Windows need a QApplication, made only when
// they can be shown (or are asked for), so that a batch run needs no display.
void ConfigureMessageBoxes(const Options& options, std::unique_ptr<QApplication>& application) {
  const bool want_windows = options.gui == GuiMode::Gui ||
                            (options.gui == GuiMode::Auto && !options.batch && HasDisplay());
  if (want_windows && QApplication::instance() == nullptr) {
    static int argc = 1;
    static char name[] = "FIX.exe";
    static char* argv[] = {name, nullptr};
    application = std::make_unique<QApplication>(argc, argv);
  }

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
    err << "FIX.exe: " << e.what() << "\n\n" << app.help();
    return kWrongCommandLine;
  }

  try {
    FinishOptions(options);
    std::unique_ptr<QApplication> application;
    ConfigureMessageBoxes(options, application);
    auto workspace = std::make_shared<Workspace>(options.pictures);
    int status = kRan;
    {
      WorkspaceRegistration registration(workspace);
      CommandContext context{options, out, err, *workspace};
      status = chosen(context);
    }
    automation::FreeUnusedLibraries();
    return status;
  } catch (const ui::ConfigError& e) {
    err << "FIX.exe: " << e.what() << '\n';
    return kWrongCommandLine;
  } catch (const std::exception& e) {
    err << "FIX.exe: " << e.what() << '\n';
    return kHostFailure;
  }
}

}  // namespace vt::host
