#include "dict/cell_text.h"

#include <cstdio>

#include "platform/base/utf8.h"
#include "platform/workbook/workbook.h"

namespace vt::dict {

std::string CodePointName(char32_t c) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
  return name;
}

std::optional<std::string> CellRefusal(std::string_view text) {
  std::size_t units = 0;
  for (std::size_t i = 0; i < text.size();) {
    const base::Utf8Step step = base::Utf8Next(text, i);
    if (!step.ok) return std::string("holds a byte that is not UTF-8");
    if (!IsXmlChar(step.value)) return "holds " + CodePointName(step.value);
    units += step.value >= 0x10000 ? 2 : 1;
    i = step.next;
  }
  if (units > workbook::kMaxTextUnits) {
    return std::string("is longer than a cell holds (32,767 characters)");
  }
  return std::nullopt;
}

}  // namespace vt::dict
