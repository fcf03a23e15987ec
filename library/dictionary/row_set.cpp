#include "library/dictionary/row_set.h"

#include "platform/data/fold.h"

namespace vt::dictionary {

RowSet::RowSet(std::shared_ptr<Connection> connection)
    : connection_(std::move(connection)), generation_(connection_->Generation()) {}

void RowSet::DropStaleIndexes() {
  if (generation_ == connection_->Generation()) return;
  exact_.clear();
  folded_.clear();
  generation_ = connection_->Generation();
}

std::optional<std::size_t> RowSet::FindExact(std::string_view column_name, std::string_view text) {
  return FindExactIn(connection_->Column(column_name), text);
}

std::optional<std::size_t> RowSet::FindExact(std::int16_t language, std::string_view text) {
  return FindExactIn(connection_->Column(language), text);
}

std::optional<std::size_t> RowSet::FindExactIn(std::size_t column, std::string_view text) {
  DropStaleIndexes();
  const workbook::Sheet& sheet = connection_->Sheet();
  ColumnIndex& index = exact_[column];
  const std::size_t rows = sheet.RowCount();
  if (index.rows_indexed < rows) index.first_row.Reserve(rows - 1);
  for (; index.rows_indexed < rows; ++index.rows_indexed) {
    index.first_row.Add(sheet.CellText(index.rows_indexed, column), index.rows_indexed);
  }
  return index.first_row.Find(text);
}

std::optional<std::size_t> RowSet::FindContaining(std::string_view column_name,
                                                  std::string_view text) {
  DropStaleIndexes();
  const std::size_t column = connection_->Column(column_name);
  const workbook::Sheet& sheet = connection_->Sheet();
  FoldedColumn& folded = folded_[column];
  for (std::size_t row = folded.texts.size() + 1; row < sheet.RowCount(); ++row) {
    folded.texts.push_back(data::FoldCase(sheet.CellText(row, column)));
  }
  const std::string needle = data::FoldCase(text);
  for (std::size_t i = 0; i < folded.texts.size(); ++i) {
    // An empty cell holds no value: like the filter, it contains nothing,
    // not even the empty text.
    if (folded.texts[i].empty()) continue;
    if (folded.texts[i].find(needle) != std::string::npos) return i + 1;
  }
  return std::nullopt;
}

std::string_view RowSet::Value(std::size_t row, std::string_view column_name) {
  return connection_->Sheet().CellText(row, connection_->Column(column_name));
}

std::string_view RowSet::Value(std::size_t row, std::int16_t language) {
  return connection_->Sheet().CellText(row, connection_->Column(language));
}

void RowSet::Requery() { DropStaleIndexes(); }

}  // namespace vt::dictionary
