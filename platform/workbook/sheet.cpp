#include "platform/workbook/internal/book_state.h"

namespace vt::workbook {

std::string_view Sheet::Name() const { return data_->name; }

std::size_t Sheet::RowCount() const { return data_->rows; }

std::size_t Sheet::ColumnCount() const {
  std::size_t n = data_->columns.size();
  while (n > 0) {
    const auto& kinds = data_->columns[n - 1].kind;
    bool used = false;
    for (CellKind k : kinds) used |= k != CellKind::kEmpty;
    if (used) break;
    --n;
  }
  return n;
}

std::optional<std::size_t> Sheet::FindColumn(std::string_view name) const {
  for (std::size_t c = 0; c < data_->columns.size(); ++c) {
    const auto& column = data_->columns[c];
    if (!column.text.empty() && column.kind[0] != CellKind::kEmpty &&
        detail::SameNameIgnoringCase(column.text[0], name)) {
      return c;
    }
  }
  return std::nullopt;
}

std::string_view Sheet::CellText(std::size_t row, std::size_t col) const {
  if (col >= data_->columns.size() || row >= data_->columns[col].text.size()) return {};
  return data_->columns[col].text[row];
}

CellKind Sheet::Kind(std::size_t row, std::size_t col) const {
  if (col >= data_->columns.size() || row >= data_->columns[col].kind.size()) {
    return CellKind::kEmpty;
  }
  return data_->columns[col].kind[row];
}

bool Sheet::IsTextCell(std::size_t row, std::size_t col) const {
  return Kind(row, col) == CellKind::kText;
}

std::span<const std::string_view> Sheet::ColumnTexts(std::size_t col) const {
  if (col >= data_->columns.size()) return {};
  return data_->columns[col].text;
}

void Sheet::SetCellText(std::size_t row, std::size_t col, std::string_view text) {
  book_->SetText(*data_, row, col, text);
}

void Sheet::SetCellNumber(std::size_t row, std::size_t col, double value) {
  book_->SetNumber(*data_, row, col, value);
}

std::size_t Sheet::AppendRow(std::size_t col, std::string_view text) {
  return book_->Append(*data_, col, text, false);
}

std::size_t Sheet::AppendUniqueRow(std::size_t col, std::string_view text) {
  return book_->Append(*data_, col, text, true);
}

}  // namespace vt::workbook
