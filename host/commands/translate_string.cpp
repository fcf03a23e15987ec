#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

#include "host/commands/commands.h"
#include "host/commands/host_objects.h"
#include "host/commands/language_check.h"
#include "host/server_objects.h"
#include "platform/automation/runtime.h"

namespace vt::host::commands {

Command TranslateString() {
  return {"translate-string", "translate one text from the development language",
          [](CLI::App& sub) -> CommandRun {
            struct Args {
              std::string text;
              std::int16_t lang = 0;
              bool warn = false;
              MarkerObjectArgs marker;
            };
            auto args = std::make_shared<Args>();
            sub.add_option("TEXT", args->text, "the text, outer blanks included")->required();
            sub.add_option("--lang", args->lang, "the language number to translate into");
            sub.add_flag("--warn", args->warn, "warn when the translation is missing");
            AddMarkerObjectOptions(sub, args->marker);
            return [args](CommandContext& context) {
              CheckLanguageColumn(context.options.pictures, kDictionaryFile, "--lang", args->lang);
              const automation::ObjectRef marker = OpenMarkerObject(context, args->marker);
              automation::ObjectRef interpreter = CreateServerObject(kInterpreterProgId);
              std::vector<automation::Variant> call{
                  automation::Variant(args->text),
                  marker ? automation::Variant(marker) : automation::Variant(),
                  automation::Variant(args->lang), automation::Variant(args->warn)};
              const automation::Variant result =
                  automation::Call(interpreter, "TranslateString", call);
              context.out << result.ToString() << '\n';
              CloseOpenPictures(context, false);
              return 0;
            };
          }};
}

}  // namespace vt::host::commands
