#include "library/dictionary/normalise.h"

#include "platform/automation/text.h"

namespace vt::dictionary {

bool NormaliseSheet(workbook::Sheet& sheet) {
  bool changed = false;
  const std::size_t rows = sheet.RowCount();
  const std::size_t columns = sheet.ColumnCount();
  for (std::size_t row = 1; row < rows; ++row) {
    for (std::size_t column = 0; column < columns; ++column) {
      // Most cells have nothing to trim: tell them by their ends alone.
      const std::string_view text = sheet.CellText(row, column);
      if (text.empty() || (text.front() != ' ' && text.back() != ' ')) continue;
      if (!sheet.IsTextCell(row, column)) continue;
      const std::string_view trimmed = automation::text::Trim(text);
      if (trimmed.size() == text.size()) continue;
      sheet.SetCellText(row, column, std::string(trimmed));
      changed = true;
    }
  }
  return changed;
}

}  // namespace vt::dictionary
