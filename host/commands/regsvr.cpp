#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "host/commands/commands.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"

namespace vt::host::commands {

Command Regsvr() {
  return {"regsvr", "register / unregister a server library", [](CLI::App& sub) -> CommandRun {
            struct Args {
              bool unregister = false;
              std::string library;
            };
            auto args = std::make_shared<Args>();
            sub.add_flag("-u", args->unregister, "unregister");
            sub.add_option("LIBRARY", args->library, "the server library")
                ->required()
                ->check(CLI::ExistingFile);
            return [args](CommandContext& context) {
              const char* entry = args->unregister ? "DllUnregisterServer" : "DllRegisterServer";
              try {
                if (args->unregister) {
                  automation::UnregisterServerLibrary(args->library);
                } else {
                  automation::RegisterServerLibrary(args->library);
                }
              } catch (const automation::Error& e) {
                context.err << "FIX.exe: " << e.description() << '\n';
                return 1;
              }
              context.out << entry << " in \"" << std::filesystem::absolute(args->library).string()
                          << "\" succeeded.\n";
              return 0;
            };
          }};
}

}  // namespace vt::host::commands
