#include "dict/reused.h"

#include <algorithm>
#include <string>

#include "dict/failure.h"
#include "dict/language_number.h"
#include "platform/base/trim.h"
#include "platform/system/utf8_path.h"

namespace vt::dict {
namespace {

constexpr std::string_view kSheet = "Reused";

// The column Language holds Language_n, or n as a person may type it.
std::optional<std::int16_t> LanguageOfCell(std::string_view cell) {
  cell = base::Trim(cell);
  if (const auto named = LanguageOfHeader(cell)) return named;
  return ParseLanguageNumber(cell);
}

}  // namespace

ReusedCells::ReusedCells(workbook::Workbook& book, const DictionarySheet& dictionary)
    : book_(book), dictionary_(dictionary), sheet_(book.FindSheet(kSheet)) {
  if (sheet_ == nullptr) return;
  const auto text = sheet_->FindColumn("Text");
  const auto language = sheet_->FindColumn("Language");
  if (!text || !language) {
    usable_ = false;
    return;
  }
  text_column_ = *text;
  language_column_ = *language;
  for (std::size_t column = 0; column < sheet_->ColumnCount(); ++column) {
    if (const auto target = LanguageOfHeader(base::Trim(sheet_->CellText(0, column)))) {
      columns_.emplace(*target, column);  // the first of a name wins, as in Dictionary
    }
  }
  for (std::size_t row = 1; row < sheet_->RowCount(); ++row) {
    const std::string_view key = base::Trim(sheet_->CellText(row, text_column_));
    const auto source = LanguageOfCell(sheet_->CellText(row, language_column_));
    if (!key.empty() && source) rows_[*source].emplace(key, row);
  }
}

bool ReusedCells::Holds(std::size_t row, std::int16_t language, std::string_view text) const {
  const auto column = columns_.find(language);
  if (column == columns_.end()) return false;
  for (const auto& [source, index] : rows_) {
    const auto source_column = dictionary_.FindLanguage(source);
    if (!source_column) continue;
    const auto found = index.find(dictionary_.Text(row, *source_column));
    if (found != index.end() &&
        base::Trim(sheet_->CellText(found->second, column->second)) == text) {
      return true;
    }
  }
  return false;
}

void ReusedCells::Record(std::int16_t source_language, std::string_view source,
                         std::int16_t language, std::string_view translation) {
  if (!usable_) {
    throw Failure(system::Utf8FromPath(book_.Path()) +
                  ": the sheet Reused has no column Text or Language; rename or remove it");
  }
  if (sheet_ == nullptr) {
    sheet_ = book_.AddSheet(kSheet);
    sheet_->SetCellText(0, text_column_, "Text");
    sheet_->SetCellText(0, language_column_, "Language");
  }
  auto column = columns_.find(language);
  if (column == columns_.end()) {
    const std::size_t added = std::max(sheet_->ColumnCount(), language_column_ + 1);
    sheet_->SetCellText(0, added, ColumnName(language));
    column = columns_.emplace(language, added).first;
  }
  auto& index = rows_[source_language];
  auto row = index.find(source);
  if (row == index.end()) {
    const std::size_t added = sheet_->AppendRow(text_column_, source);
    sheet_->SetCellText(added, language_column_, ColumnName(source_language));
    row = index.emplace(sheet_->CellText(added, text_column_), added).first;
  }
  sheet_->SetCellText(row->second, column->second, translation);
}

}  // namespace vt::dict
