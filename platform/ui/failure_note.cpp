#include "platform/ui/failure_note.h"

namespace vt::ui {
namespace {

// What follows `label` on its line of the report, or nothing.
std::string_view Field(std::string_view text, std::string_view label) {
  const std::string head = "\r\n" + std::string(label);
  const std::size_t at = text.find(head);
  if (at == std::string_view::npos) return {};
  std::string_view rest = text.substr(at + head.size());
  return rest.substr(0, rest.find("\r\n"));
}

std::string OneLine(std::string_view text) {
  std::string line;
  for (char c : text) {
    if (c == '\r') continue;
    line += c == '\n' ? ' ' : c;
  }
  return line;
}

}  // namespace

std::string FailureNote(std::string_view text) {
  const std::string_view description_label = "Error description: ";
  const std::size_t description = text.find("\r\n" + std::string(description_label));
  if (text.find("\r\nA critical error has occurred !\r\n") == std::string_view::npos ||
      description == std::string_view::npos) {
    return OneLine(text);
  }
  // The description runs to the debug reference, or to the end.
  std::string_view rest = text.substr(description + 2 + description_label.size());
  rest = rest.substr(0, rest.find("\r\nDebug reference: "));
  return "error in " + std::string(Field(text, "Module: ")) + "." +
         std::string(Field(text, "Procedure: ")) + ": " + OneLine(rest);
}

}  // namespace vt::ui
