#include "platform/report/error_report.h"

#include <exception>

#include "platform/base/utf8.h"
#include "platform/system/date_time.h"
#include "platform/system/env.h"
#include "platform/ui/msgbox.h"

namespace vt::report {
namespace {

// CR and LF become blanks, so that one report stays one line; bytes that are
// not UTF-8 become U+FFFD, as in the transcript, so that the log stays text.
void AppendField(std::string& line, std::string_view field) {
  for (std::size_t at = 0; at < field.size();) {
    const base::Utf8Step step = base::Utf8Next(field, at);
    if (!step.ok) {
      line += "\xEF\xBF\xBD";
    } else if (field[at] == '\r' || field[at] == '\n') {
      line += ' ';
    } else {
      line.append(field.substr(at, step.next - at));
    }
    at = step.next;
  }
}

std::string TimeStamp() {
  try {
    return system::FormatDateTime(system::CurrentEnv().Now());
  } catch (...) {
    return {};
  }
}

}  // namespace

std::string LogLine(const ReporterSettings& settings, std::string_view time_stamp,
                    std::string_view module, std::string_view procedure,
                    std::string_view description, std::string_view debug_reference) {
  std::string line;
  AppendField(line, time_stamp);
  for (std::string_view field : {module, procedure, description}) {
    line += ';';
    AppendField(line, field);
  }
  if (settings.with_debug_reference) {
    line += ';';
    AppendField(line, debug_reference);
  }
  return line;
}

void Log(const ReporterSettings& settings, std::string_view module, std::string_view procedure,
         std::string_view description, std::string_view debug_reference) noexcept {
  try {
    const std::string line =
        LogLine(settings, TimeStamp(), module, procedure, description, debug_reference);
    system::CurrentEnv().AppendToFile(settings.log_path, line + "\r\n");
  } catch (const std::exception& e) {
    // A log that cannot be written never stops the message box; the reason
    // is told where the program tells its notices.
    ui::Notice(e.what());
  } catch (...) {
    // As above, without a reason to tell.
  }
}

void Report(const ReporterSettings& settings, std::string_view module, std::string_view procedure,
            std::string_view description, std::string_view debug_reference) noexcept {
  Log(settings, module, procedure, description, debug_reference);

  std::string text;
  try {
    text = settings.message_prefix + TimeStamp() + "\r\nA critical error has occurred !\r\n\r\n";
    text.append("Module: ").append(module);
    text.append("\r\nProcedure: ").append(procedure);
    text.append("\r\nError description: ").append(description);
    if (settings.with_debug_reference && !debug_reference.empty()) {
      text.append("\r\nDebug reference: ").append(debug_reference);
    }
  } catch (...) {
    // Out of memory: show what could be built.
  }
  ui::MsgBox(text, ui::kStyleCritical, settings.title);
}

}  // namespace vt::report
