#include "platform/ui/transcript.h"

#include <nlohmann/json.hpp>

namespace vt::ui {
namespace {

std::string Quoted(std::string_view s) {
  // dump() of a bare string gives the JSON literal; the replace handler keeps
  // a damaged text visible instead of throwing.
  return nlohmann::json(std::string(s))
      .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

std::string TranscriptLine(std::string_view title, int style, std::string_view text,
                           Answer answer) {
  std::string line = "{\"title\": ";
  line += Quoted(title);
  line += ", \"style\": ";
  line += std::to_string(style);
  line += ", \"text\": ";
  line += Quoted(text);
  line += ", \"answer\": ";
  line += Quoted(AnswerWord(answer));
  line += "}\n";
  return line;
}

std::string WindowTranscriptLine(std::string_view form, std::string_view caption) {
  return "{\"form\": " + Quoted(form) + ", \"caption\": " + Quoted(caption) + "}\n";
}

std::string LaunchTranscriptLine(std::string_view kind, std::string_view path, int show) {
  return "{\"launch\": " + Quoted(kind) + ", \"path\": " + Quoted(path) +
         ", \"show\": " + std::to_string(show) + "}\n";
}

}  // namespace vt::ui
