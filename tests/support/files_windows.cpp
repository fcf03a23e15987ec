// The Windows side of the library's files. The Win32 private-profile
// functions read Unicode text from UTF-16 files with a byte-order mark (a file
// without one is in the ANSI code page). There is no Python: workbook cells
// are read back with our own engine, in the shape xlrd gives them (the Linux
// build checks the engine against xlrd itself).

#include <stdexcept>
#include <string>

#include "platform/system/text_windows.h"
#include "platform/system/utf8_path.h"
#include "platform/workbook/workbook.h"
#include "tests/support/library_files.h"

namespace vt::testing {

namespace fs = std::filesystem;

std::vector<std::vector<XlrdCell>> ReadWithXlrd(const fs::path& file,
                                                const std::string& sheet_name) {
  workbook::Workbook book = workbook::Workbook::Open(file);
  const workbook::Sheet* sheet = book.FindSheet(sheet_name);
  if (sheet == nullptr)
    throw std::runtime_error("no sheet " + sheet_name + " in " + system::Utf8FromPath(file));
  std::vector<std::vector<XlrdCell>> rows;
  for (std::size_t r = 0; r < sheet->RowCount(); ++r) {
    std::vector<XlrdCell>& cells = rows.emplace_back();
    for (std::size_t c = 0; c < sheet->ColumnCount(); ++c) {
      switch (sheet->Kind(r, c)) {
        case workbook::CellKind::kEmpty:
        case workbook::CellKind::kBlank:
          cells.push_back({"empty", "", 0});
          break;
        case workbook::CellKind::kText:
          cells.push_back({"text", std::string(sheet->CellText(r, c)), 0});
          break;
        case workbook::CellKind::kNumber:
          cells.push_back({"number", "", std::stod(std::string(sheet->CellText(r, c)))});
          break;
        default:
          cells.push_back({"other", "", 0});
          break;
      }
    }
  }
  return rows;
}

std::string IniFileBytes(const std::string& utf8) {
  const std::wstring wide = system::windows::Widen(utf8);
  std::string bytes = "\xFF\xFE";
  for (const wchar_t unit : wide) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
  }
  return bytes;
}

}  // namespace vt::testing
