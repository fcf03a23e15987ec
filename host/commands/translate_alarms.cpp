#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <utility>

#include "host/commands/commands.h"
#include "host/commands/host_objects.h"
#include "host/commands/language_check.h"
#include "host/server_objects.h"
#include "platform/automation/runtime.h"
#include "platform/data/csv.h"
#include "platform/data/recordset_of.h"
#include "platform/ui/existing_path.h"

namespace vt::host::commands {

Command TranslateAlarms() {
  return {"translate-alarms", "translate the text column of an alarm list (CSV)",
          [](CLI::App& sub) -> CommandRun {
            struct Args {
              std::string csv;
              std::int16_t field = 0;
              std::int16_t lang = 0;
              std::int16_t from = 0;
              bool restore = false;
              std::string output;
              MarkerObjectArgs marker;
            };
            auto args = std::make_shared<Args>();
            sub.add_option("CSV", args->csv, "the alarm list, with a header row")
                ->required()
                ->check(ui::ExistingFile());
            sub.add_option("--field", args->field, "the text column, counted from 0")
                ->required()
                ->check(CLI::NonNegativeNumber);
            sub.add_option("--lang", args->lang, "the language to show");
            sub.add_option("--from", args->from, "the language the texts are in now");
            sub.add_flag("--restore", args->restore, "look texts up even in the same language");
            sub.add_option("-o", args->output, "write the result here instead of printing it");
            AddMarkerObjectOptions(sub, args->marker);
            return [args](CommandContext& context) {
              for (const auto& [option, language] :
                   {std::pair{"--lang", args->lang}, {"--from", args->from}}) {
                CheckLanguageColumn(context.options.pictures, kAlarmDictionaryFile, option,
                                    language);
              }
              std::shared_ptr<data::Recordset> alarms = data::LoadCsv(args->csv);
              const automation::ObjectRef marker = OpenMarkerObject(context, args->marker);
              automation::ObjectRef interpreter = CreateServerObject(kInterpreterProgId);
              std::vector<automation::Variant> call{
                  automation::Variant(automation::ObjectRef(alarms)),
                  automation::Variant(args->field),
                  marker ? automation::Variant(marker) : automation::Variant(),
                  automation::Variant(args->lang),
                  automation::Variant(args->from),
                  automation::Variant(args->restore)};
              const automation::ObjectRef result =
                  automation::Call(interpreter, "TranslateAlarmsRecordset", call).ToObject();
              // A clone of the host's own; a recordset of any other kind would
              // be read by name.
              std::shared_ptr<data::Recordset> translated;
              if (result && automation::TypeNameOf(result) == "Recordset") {
                translated = data::RecordsetOf(result);
              }
              if (!translated) {
                context.err << "FIX.exe: TranslateAlarmsRecordset returned no recordset\n";
                return 0;
              }
              if (args->output.empty()) {
                context.out << data::FormatCsv(*translated);
              } else {
                data::SaveCsv(*translated, args->output);
              }
              CloseOpenPictures(context, false);
              return 0;
            };
          }};
}

}  // namespace vt::host::commands
