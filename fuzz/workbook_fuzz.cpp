// libFuzzer target for the workbook reader: any bytes either read as a
// workbook or fail with FormatError; what reads cleanly is edited, planned
// for a save (every other one with a sheet added), checked, written and must
// read back with the edits.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/workbook/internal/book.h"
#include "platform/workbook/internal/book_writer.h"

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
  // A damaged book is never saved.
  if (!book->damage.empty() || book->sheets.empty()) return sum == 0xFFFFFFFF ? 1 : 0;
  SheetData& sheet = *book->sheets.front();
  std::size_t row = sheet.rows < 65536 ? sheet.rows : 65535;
  sheet.Put(row, 0, book->pool.Add("fuzz é 😀"), CellKind::kText);
  sheet.edited.push_back(CellKey(row, 0));
  if (row > 0) {
    sheet.Put(0, 1, {}, CellKind::kBlank);
    sheet.edited.push_back(CellKey(0, 1));
  }
  // About every other input also gets a new worksheet, after the last sheet
  // (by the count of 512-byte sectors: workbooks are made of whole ones).
  const bool add = (size / 512) % 2 == 1;
  if (add) {
    BoundSheet bs;
    bs.name = "Fuzz added";
    bs.added = true;
    book->boundsheets.push_back(bs);
    auto added = std::make_unique<SheetData>();
    added->name = bs.name;
    added->boundsheet = book->boundsheets.size() - 1;
    added->Put(40, 2, book->pool.Add("added ü"), CellKind::kText);
    added->edited.push_back(CellKey(40, 2));
    book->sheets.push_back(std::move(added));
  }
  std::unique_ptr<BookPlan> plan;
  try {
    plan = PlanBook(*book);
    CheckPlan(*book, *plan, plan->stream.Compare().tail);
  } catch (const FormatError&) {
    std::abort();  // a sound book we cannot plan a save of
  }
  Bytes stream = plan->stream.Read(0, plan->stream.Size());
  // The book's own buffer made the new stream in place, as a save does
  // (when it can: else the save copies).
  const std::size_t tail = plan->stream.Compare().tail;
  book->stream.reserve(stream.size());
  if (plan->stream.AssembleInPlace(book->stream, tail) &&
      !std::equal(book->stream.begin() + static_cast<std::ptrdiff_t>(tail), book->stream.end(),
                  stream.begin() + static_cast<std::ptrdiff_t>(tail), stream.end())) {
    std::abort();
  }
  CompoundFile file;
  file.entries = book->container.entries;
  file.entries[book->workbook_entry].data = stream;
  try {
    auto again = ParseBook(WriteCompoundFile(file));
    if (again->sheets.empty() || !again->damage.empty()) std::abort();
    const SheetData& s = *again->sheets.front();
    if (s.columns.empty() || s.columns[0].text.size() <= row ||
        s.columns[0].text[row] != "fuzz é 😀") {
      std::abort();
    }
    const SheetData& last = *again->sheets.back();
    if (add && (last.name != "Fuzz added" || last.columns.size() != 3 ||
                last.columns[2].text.size() != 41 || last.columns[2].text[40] != "added ü")) {
      std::abort();
    }
  } catch (const FormatError&) {
    std::abort();  // we wrote something we cannot read
  }
  return 0;
}
