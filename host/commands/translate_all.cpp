#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "host/collection.h"
#include "host/commands/commands.h"
#include "host/commands/host_objects.h"
#include "host/forms/form_tree.h"
#include "host/forms/user_form.h"
#include "host/server_objects.h"
#include "platform/automation/runtime.h"
#include "platform/ui/existing_path.h"

namespace vt::host::commands {

Command TranslateAll() {
  return {"translate-all", "translate every open picture and the given forms",
          [](CLI::App& sub) -> CommandRun {
            struct Args {
              std::vector<std::string> open;
              std::vector<std::string> forms;
              bool save = false;
            };
            auto args = std::make_shared<Args>();
            sub.add_option("--open", args->open, "open this picture first (repeatable)")
                ->allow_extra_args(false);
            sub.add_option("--form", args->forms, "hand this form file over (repeatable)")
                ->allow_extra_args(false)
                ->check(ui::ExistingFile());
            sub.add_flag("--save", args->save,
                         "save the pictures and write the forms back to their files");
            return [args](CommandContext& context) {
              for (const std::string& name : args->open) OpenPicture(context, name);
              std::vector<std::shared_ptr<forms::UserForm>> loaded;
              auto user_forms = std::make_shared<ObjectCollection>("UserForms", 0);
              for (const std::string& file : args->forms) {
                loaded.push_back(forms::UserForm::Load(file));
                user_forms->Add(loaded.back());
              }

              automation::ObjectRef interpreter = CreateServerObject(kInterpreterProgId);
              std::vector<automation::Variant> call{
                  loaded.empty() ? automation::Variant(automation::ObjectRef())
                                 : automation::Variant(user_forms)};
              automation::Call(interpreter, "TranslateAll", call);

              PrintOpenPictures(context);
              for (const auto& form : loaded) forms::PrintFormTree(*form, context.out);
              CloseOpenPictures(context, args->save);
              if (args->save) {
                for (const auto& form : loaded) form->Save();
              }
              return 0;
            };
          }};
}

}  // namespace vt::host::commands
