#pragma once

#include <string>
#include <string_view>

namespace vt::report {

// Where and how one program reports its unexpected failures. The library and
// the wizard share the reporter and differ only in these settings.
struct ReporterSettings {
  std::string log_path;        // appended to, one line per report
  std::string message_prefix;  // first line of the message, before the time stamp
  std::string title;           // the message box title
  bool with_debug_reference;   // a fifth log field and an optional message line
};

// Appends the log line, then shows the critical message box. A step that fails
// is skipped, so the box is always shown; nothing here ever throws.
void Report(const ReporterSettings& settings, std::string_view module, std::string_view procedure,
            std::string_view description, std::string_view debug_reference) noexcept;

// The log line alone, for a failure that must not add a box to what the user
// is told; a log that cannot be written is told as a notice. Never throws.
void Log(const ReporterSettings& settings, std::string_view module, std::string_view procedure,
         std::string_view description, std::string_view debug_reference) noexcept;

// One log line without its line end: the fields joined by ";", each CR or LF
// inside a field written as a blank so that one report stays one line, and
// each byte sequence that is not UTF-8 as U+FFFD.
std::string LogLine(const ReporterSettings& settings, std::string_view time_stamp,
                    std::string_view module, std::string_view procedure,
                    std::string_view description, std::string_view debug_reference);

}  // namespace vt::report
