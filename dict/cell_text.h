#pragma once

// What a dictionary cell may hold so that every command can carry it: text
// that XML 1.0 can write (export), within what a cell holds. Import and fill
// refuse what export would leave out, so that whatever they write exports
// again.

#include <optional>
#include <string>
#include <string_view>

namespace vt::dict {

// A character of XML 1.0 (its production Char).
constexpr bool IsXmlChar(char32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// "U+0007".
std::string CodePointName(char32_t c);

// Why `text` cannot stand in a cell that export writes, as "holds U+0007" or
// "is longer than a cell holds (32,767 characters)"; nothing when it can.
std::optional<std::string> CellRefusal(std::string_view text);

}  // namespace vt::dict
