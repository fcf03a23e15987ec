#include "host/run.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "host/command.h"
#include "host/message_boxes.h"
#include "host/options.h"
#include "host/server_objects.h"
#include "host/workspace.h"
#include "platform/automation/error.h"
#include "platform/ui/backend.h"
#include "platform/ui/configure.h"

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
    const std::shared_ptr<void> object_runtime = JoinObjectRuntime();
    const std::shared_ptr<void> windows = ConfigureMessageBoxes(options);
    auto workspace = std::make_shared<Workspace>(options.pictures);
    int status = kRan;
    {
      WorkspaceRegistration registration(workspace);
      CommandContext context{options, out, err, *workspace};
      status = chosen(context);
    }
    FreeUnusedServers();
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
