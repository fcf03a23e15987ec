#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "host/commands/commands.h"
#include "host/scripting/lua_state.h"

namespace vt::host::commands {

Command RunScript() {
  return {"run", "run a host script (Lua) with its arguments", [](CLI::App& sub) -> CommandRun {
            auto script = std::make_shared<std::string>();
            sub.add_option("SCRIPT", *script, "the script file (.lua)")
                ->required()
                ->check(CLI::ExistingFile);
            // Everything after the script is the script's, options included.
            sub.prefix_command();
            sub.footer("Arguments after SCRIPT reach the script as arg[1], arg[2], ...");
            CLI::App* app = &sub;
            return [script, app](CommandContext& context) {
              const std::vector<std::string> args = app->remaining();
              std::optional<std::string> error;
              {
                scripting::LuaState lua(context.out);
                error = lua.RunFile(*script, args);
              }  // the script's objects are released before the command ends
              context.out.flush();
              if (!error) return 0;
              context.err << "FIX.exe: " << *error << '\n';
              return 1;
            };
          }};
}

}  // namespace vt::host::commands
