#include "dict/where_used.h"

#include <optional>

#include "dict/dictionary_sheet.h"
#include "platform/base/trim.h"

namespace vt::dict {
namespace {

bool IsLanguage(std::string_view cell, std::int16_t language) {
  cell = base::Trim(cell);
  if (cell == std::to_string(language)) return true;
  const auto named = LanguageOfHeader(cell);
  return named && *named == language;
}

}  // namespace

std::unordered_map<std::string_view, Usage> ReadWhereUsed(workbook::Workbook& book,
                                                          std::int16_t language) {
  std::unordered_map<std::string_view, Usage> usage;
  const workbook::Sheet* sheet = book.FindSheet("Where used");
  if (sheet == nullptr) return usage;
  const auto text = sheet->FindColumn("Text");
  const auto lang = sheet->FindColumn("Language");
  const auto places = sheet->FindColumn("Places");
  if (!text || !lang || !places) return usage;
  const auto pictures = sheet->FindColumn("Pictures");
  const auto was = sheet->FindColumn("Was");
  for (std::size_t row = 1; row < sheet->RowCount(); ++row) {
    const std::string_view key = base::Trim(sheet->CellText(row, *text));
    if (key.empty() || !IsLanguage(sheet->CellText(row, *lang), language)) continue;
    Usage entry{base::Trim(sheet->CellText(row, *places)),
                pictures ? base::Trim(sheet->CellText(row, *pictures)) : std::string_view{},
                was ? base::Trim(sheet->CellText(row, *was)) : std::string_view{}};
    usage.emplace(key, entry);  // the first row of a text wins
  }
  return usage;
}

}  // namespace vt::dict
