#include "platform/workbook/internal/sheet_name.h"

#include <algorithm>

#include "platform/workbook/internal/utf.h"

namespace vt::workbook::detail {

namespace {

// Upper case of the letters of the scripts dictionaries are written in
// (Latin, Greek, Cyrillic): the spreadsheet refuses "Übersicht" beside
// "übersicht" as it refuses "Sheet" beside "SHEET".
char16_t Upper(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) ||
      (c >= 0x430 && c <= 0x44F)) {
    return static_cast<char16_t>(c - 0x20);
  }
  if (c == 0xFF) return 0x178;
  if (c == 0x3C2) return 0x3A3;  // final sigma
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  // Latin Extended-A and the Cyrillic supplement pair upper and lower case.
  const bool odd_lower = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177) ||
                         (c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) ||
                         (c >= 0x4D0 && c <= 0x52F);
  const bool even_lower =
      (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E) || (c >= 0x4C1 && c <= 0x4CE);
  if ((odd_lower && c % 2 == 1) || (even_lower && c % 2 == 0)) return static_cast<char16_t>(c - 1);
  return c;
}

bool SameIgnoringCase(const std::u16string& a, const std::u16string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char16_t x, char16_t y) { return Upper(x) == Upper(y); });
}

}  // namespace

std::string SheetNameProblem(std::string_view name, const BookData& book) {
  std::u16string units;
  if (!Utf8ToUtf16(name, units)) return "the name is not UTF-8 text";
  if (units.empty()) return "a sheet name cannot be empty";
  if (units.size() > 31) {
    return "a sheet name holds at most 31 characters, this one " + std::to_string(units.size());
  }
  if (const auto bad = units.find_first_of(u":\\/?*[]"); bad != std::u16string::npos) {
    return std::string("a sheet name cannot hold the character ") + static_cast<char>(units[bad]) +
           " (none of : \\ / ? * [ ])";
  }
  if (units.front() == u'\'' || units.back() == u'\'') {
    return "a sheet name cannot begin or end with an apostrophe";
  }
  if (SameIgnoringCase(units, u"History")) {
    return "the spreadsheet program keeps that name for itself";
  }
  for (const BoundSheet& bs : book.boundsheets) {
    std::u16string other;
    if (Utf8ToUtf16(bs.name, other) && SameIgnoringCase(units, other)) {
      return "the workbook has a sheet \"" + bs.name + "\" already (letter case does not count)";
    }
  }
  return {};
}

}  // namespace vt::workbook::detail
