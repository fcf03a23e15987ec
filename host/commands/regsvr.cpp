#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "host/commands/commands.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "platform/system/utf8_path.h"
#include "platform/ui/existing_path.h"

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
                ->check(ui::ExistingFile());
            return [args](CommandContext& context) {
              const std::filesystem::path library = system::PathFromUtf8(args->library);
              const char* entry = args->unregister ? "DllUnregisterServer" : "DllRegisterServer";
              try {
                if (args->unregister) {
                  automation::UnregisterServerLibrary(library);
                } else {
                  automation::RegisterServerLibrary(library);
                }
              } catch (const automation::Error& e) {
                context.err << "FIX.exe: " << e.description() << '\n';
                return 1;
              }
              context.out << entry << " in \""
                          << system::Utf8FromPath(std::filesystem::absolute(library))
                          << "\" succeeded.\n";
              return 0;
            };
          }};
}

}  // namespace vt::host::commands
