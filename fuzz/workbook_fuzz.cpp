// libFuzzer target for the workbook reader: any bytes either read as a
// workbook or fail with FormatError; what reads is edited, written and must
// read back.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/workbook/internal/book.h"

using vt::workbook::CellKind;
using namespace vt::workbook::detail;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::unique_ptr<BookData> book;
  try {
    book = ParseBook(Bytes(data, data + size));
  } catch (const FormatError&) {
    return 0;
  }
  std::size_t sum = 0;
  for (const auto& sheet : book->sheets) {
    for (const auto& column : sheet->columns) {
      for (std::string_view text : column.text) sum += text.size();
    }
  }
  if (!book->sheets.empty()) {
    SheetData& sheet = *book->sheets.front();
    std::size_t row = sheet.rows < 65536 ? sheet.rows : 65535;
    sheet.Put(row, 0, book->pool.Add("fuzz é 😀"), CellKind::kText);
    sheet.edited.push_back(CellKey(row, 0));
    if (row > 0) {
      sheet.Put(0, 1, {}, CellKind::kBlank);
      sheet.edited.push_back(CellKey(0, 1));
    }
  }
  try {
    Bytes out = SerializeBook(*book);
    auto again = ParseBook(out);
    if (!book->sheets.empty() && again->sheets.empty()) std::abort();
  } catch (const FormatError&) {
    std::abort();  // we wrote something we cannot read
  }
  return sum == 0xFFFFFFFF ? 1 : 0;
}
