#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "host/commands/commands.h"
#include "host/commands/host_objects.h"
#include "host/commands/language_check.h"
#include "host/pictures/picture_tree.h"
#include "host/server_objects.h"
#include "host/workspace.h"
#include "platform/automation/runtime.h"

namespace vt::host::commands {

Command TranslatePicture() {
  return {
      "translate-picture", "translate a picture of the pictures folder and print its texts",
      [](CLI::App& sub) -> CommandRun {
        struct Args {
          std::string name;
          std::int16_t lang = 0;
          std::string user;
          bool save = false;
        };
        auto args = std::make_shared<Args>();
        sub.add_option("NAME", args->name, "the picture's name, with or without .grf")->required();
        sub.add_option("--lang", args->lang, "the language number to show");
        sub.add_option("--user", args->user, "a user whose language is to be shown");
        sub.add_flag("--save", args->save, "save the translated picture to its file");
        return [args](CommandContext& context) {
          CheckLanguageColumn(context.options.pictures, kDictionaryFile, "--lang", args->lang);
          // Open first, as the operator's workspace has it: a picture that
          // is not there is a wrong command line, one that does not read a
          // failure of the host. The library then finds it open.
          const std::shared_ptr<pictures::Document> document = OpenPicture(context, args->name);
          automation::ObjectRef interpreter = CreateServerObject(kInterpreterProgId);
          std::vector<automation::Variant> call{automation::Variant(args->name),
                                                automation::Variant(args->lang),
                                                automation::Variant(args->user)};
          automation::Call(interpreter, "TranslatePicture", call);
          pictures::PrintPictureTree(document->page(), context.out);
          CloseOpenPictures(context, args->save);
          return 0;
        };
      }};
}

}  // namespace vt::host::commands
