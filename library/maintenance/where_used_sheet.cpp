// The "Where used" rows in and out of their worksheet.
#include <string>

#include "library/maintenance/where_used.h"
#include "platform/workbook/error.h"
#include "platform/workbook/workbook.h"

namespace vt::maintenance {
namespace {

template <typename Row>
auto* Field(Row& row, std::size_t column) {
  decltype(&row.text)
      const fields[] = {&row.text, &row.language, &row.places, &row.pictures, &row.was, &row.seen};
  return fields[column];
}

}  // namespace

std::vector<WhereUsedRow> ReadWhereUsed(const workbook::Sheet& sheet) {
  for (std::size_t column = 0; column < kWhereUsedColumns.size(); ++column) {
    if (sheet.CellText(0, column) != kWhereUsedColumns[column]) {
      throw workbook::Error("the sheet \"" + std::string(kWhereUsedSheet) +
                            "\" was not written by Veltrano (column " + std::to_string(column + 1) +
                            " is not \"" + std::string(kWhereUsedColumns[column]) +
                            "\"): it is left as it is");
    }
  }
  std::vector<WhereUsedRow> rows;
  for (std::size_t row = 1; row < sheet.RowCount(); ++row) {
    WhereUsedRow read;
    for (std::size_t column = 0; column < kWhereUsedColumns.size(); ++column) {
      Field(read, column)->assign(sheet.CellText(row, column));
    }
    if (!read.text.empty()) rows.push_back(std::move(read));
  }
  return rows;
}

void WriteWhereUsed(workbook::Sheet& sheet, const std::vector<WhereUsedRow>& rows) {
  auto set = [&](std::size_t row, std::size_t column, std::string_view text) {
    if (sheet.CellText(row, column) != text) sheet.SetCellText(row, column, text);
  };
  for (std::size_t column = 0; column < kWhereUsedColumns.size(); ++column) {
    set(0, column, kWhereUsedColumns[column]);
  }
  for (std::size_t row = 0; row < rows.size(); ++row) {
    for (std::size_t column = 0; column < kWhereUsedColumns.size(); ++column) {
      set(row + 1, column, *Field(rows[row], column));
    }
  }
  for (std::size_t row = rows.size() + 1; row < sheet.RowCount(); ++row) {
    for (std::size_t column = 0; column < kWhereUsedColumns.size(); ++column) set(row, column, "");
  }
}

}  // namespace vt::maintenance
