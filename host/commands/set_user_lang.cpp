#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "host/commands/commands.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"

namespace vt::host::commands {

Command SetUserLang() {
  return {"set-user-lang", "make a user's language the default one, then print GlobalLangNum",
          [](CLI::App& sub) -> CommandRun {
            auto user = std::make_shared<std::string>();
            sub.add_option("USER", *user, "the user name as listed in Veltrano.ini")->required();
            return [user](CommandContext& context) {
              automation::ObjectRef interpreter = automation::CreateObject(kInterpreterProgId);
              std::vector<automation::Variant> args{automation::Variant(*user)};
              automation::Call(interpreter, "SetUserGlobalLang", args);
              context.out << automation::Get(interpreter, "GlobalLangNum").ToLong() << '\n';
              return 0;
            };
          }};
}

}  // namespace vt::host::commands
