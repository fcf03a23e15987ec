#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>

#include "host/commands/commands.h"
#include "host/scripting/script_engine.h"
#include "platform/ui/existing_path.h"

namespace vt::host::commands {

Command RunScript() {
  const scripting::ScriptLanguage language = scripting::HostScriptLanguage();
  return {
      "run", std::string("run a host script (") + language.name + ") with its arguments",
      [language](CLI::App& sub) -> CommandRun {
        auto script = std::make_shared<std::string>();
        sub.add_option("SCRIPT", *script,
                       std::string("the script file (") + language.extension + ")")
            ->required()
            ->check(ui::ExistingFile());
        // Everything after the script is the script's, options included.
        sub.prefix_command();
        sub.footer(std::string("Arguments after SCRIPT reach the script as ") + language.arguments);
        CLI::App* app = &sub;
        return [script, app](CommandContext& context) {
          const std::vector<std::string> args = app->remaining();
          const std::optional<std::string> error =
              scripting::RunScriptFile(*script, args, context.out);
          context.out.flush();
          if (!error) return 0;
          context.err << "FIX.exe: " << *error << '\n';
          return 1;
        };
      }};
}

}  // namespace vt::host::commands
