#include "platform/workbook/internal/sheet_name.h"

#include "platform/unicode/case_map.h"
#include "platform/workbook/internal/utf.h"

namespace vt::workbook::detail {

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
  // Letter case beyond ASCII counts as well: "Übersicht" and "ÜBERSICHT" clash.
  const std::string upper = unicode::SimpleUpper(name);
  if (upper == "HISTORY") return "the spreadsheet program keeps that name for itself";
  for (const BoundSheet& bs : book.boundsheets) {
    if (unicode::SimpleUpper(bs.name) == upper) {
      return "the workbook has a sheet \"" + bs.name + "\" already (letter case does not count)";
    }
  }
  return {};
}

}  // namespace vt::workbook::detail
