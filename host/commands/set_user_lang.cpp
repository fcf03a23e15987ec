#include <CLI/CLI.hpp>
#include <cstdint>
#include <limits>
#include <memory>
#include <ostream>

#include "host/commands/commands.h"
#include "host/server_objects.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"

namespace vt::host::commands {

Command SetUserLang() {
  return {"set-user-lang", "make a user's language the default one, then print GlobalLangNum",
          [](CLI::App& sub) -> CommandRun {
            auto user = std::make_shared<std::string>();
            sub.add_option("USER", *user, "the user name as listed in Veltrano.ini")->required();
            return [user](CommandContext& context) {
              automation::ObjectRef interpreter = CreateServerObject(kInterpreterProgId);
              // SetUserGlobalLang says nothing of a user it does not list: a
              // value no language has tells whether it set one.
              const automation::Variant before = automation::Get(interpreter, "GlobalLangNum");
              const automation::Variant unset(std::numeric_limits<std::int16_t>::min());
              automation::Put(interpreter, "GlobalLangNum", unset);
              std::vector<automation::Variant> args{automation::Variant(*user)};
              automation::Call(interpreter, "SetUserGlobalLang", args);
              if (automation::Get(interpreter, "GlobalLangNum") == unset) {
                automation::Put(interpreter, "GlobalLangNum", before);
                context.err << "FIX.exe: the user \"" << *user
                            << "\" is not listed in Veltrano.ini: GlobalLangNum keeps its value\n";
              }
              context.out << automation::Get(interpreter, "GlobalLangNum").ToLong() << '\n';
              return 0;
            };
          }};
}

}  // namespace vt::host::commands
