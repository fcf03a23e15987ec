#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "host/commands/commands.h"
#include "host/commands/language_check.h"
#include "host/forms/form_tree.h"
#include "host/forms/user_form.h"
#include "host/server_objects.h"
#include "platform/automation/runtime.h"
#include "platform/ui/existing_path.h"

namespace vt::host::commands {

Command TranslateForm() {
  return {"translate-form", "translate a form file, print its texts and write it back",
          [](CLI::App& sub) -> CommandRun {
            struct Args {
              std::string file;
              std::int16_t lang = 0;
              std::string user;
            };
            auto args = std::make_shared<Args>();
            sub.add_option("FILE", args->file, "the form file (.frm.json)")
                ->required()
                ->check(ui::ExistingFile());
            sub.add_option("--lang", args->lang, "the language number to show");
            sub.add_option("--user", args->user, "a user whose language is to be shown");
            return [args](CommandContext& context) {
              CheckLanguageColumn(context.options.pictures, kDictionaryFile, "--lang", args->lang);
              std::shared_ptr<forms::UserForm> form = forms::UserForm::Load(args->file);
              automation::ObjectRef interpreter = CreateServerObject(kInterpreterProgId);
              std::vector<automation::Variant> call{automation::Variant(form),
                                                    automation::Variant(args->lang),
                                                    automation::Variant(args->user)};
              automation::Call(interpreter, "TranslateForm", call);
              forms::PrintFormTree(*form, context.out);
              form->Save();
              return 0;
            };
          }};
}

}  // namespace vt::host::commands
