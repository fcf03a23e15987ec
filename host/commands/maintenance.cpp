#include <CLI/CLI.hpp>
#include <vector>

#include "host/commands/commands.h"
#include "host/server_objects.h"
#include "platform/automation/runtime.h"

namespace vt::host::commands {
namespace {

// The maintenance commands call one member without arguments; what it has to
// say goes to its message boxes (and the transcript).
Command CallWithoutArguments(const char* name, const char* description, const char* member) {
  return {name, description, [member](CLI::App&) -> CommandRun {
            return [member](CommandContext&) {
              automation::ObjectRef interpreter = CreateServerObject(kInterpreterProgId);
              std::vector<automation::Variant> none;
              automation::Call(interpreter, member, none);
              return 0;
            };
          }};
}

}  // namespace

Command UpdateDictionary() {
  return CallWithoutArguments(
      "update-dictionary",
      "bring the dictionary up to date with chosen pictures and verify one language "
      "(dialog: --select, --lang-number)",
      "UpdateAndVerifyDictionary");
}

Command ChangeDevLang() {
  return CallWithoutArguments(
      "change-dev-lang",
      "make another language the development language of all the pictures (dialog: --select, "
      "--lang-number)",
      "ChangeDevLang");
}

Command ShowConfig() {
  return CallWithoutArguments("show-config", "open Veltrano.ini in the text editor",
                              "ShowStartupConfig");
}

}  // namespace vt::host::commands
