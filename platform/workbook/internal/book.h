#pragma once

#include "platform/workbook/internal/private.h"

// A workbook as read: the original Workbook stream (kept for lossless
// writing), the shared strings, and per worksheet the cell texts by column.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/workbook/internal/bytes.h"
#include "platform/workbook/internal/cfb.h"
#include "platform/workbook/internal/sst.h"
#include "platform/workbook/internal/string_pool.h"
#include "platform/workbook/workbook.h"

namespace vt::workbook::detail {

struct Column {
  std::vector<std::string_view> text;  // by row
  std::vector<CellKind> kind;          // same length as text
};

// A cell's row and column in one number that sorts in the table's order.
inline std::uint32_t CellKey(std::size_t row, std::size_t col) {
  return static_cast<std::uint32_t>(row << 8 | col);
}
inline std::size_t KeyRow(std::uint32_t key) { return key >> 8; }
inline std::size_t KeyColumn(std::uint32_t key) { return key & 0xFF; }

// A row block of the cell table: ROW records, their cells, then one DBCELL.
struct Block {
  std::size_t number = 0;  // row / 32
  std::size_t begin = 0;   // offset of its first record
  std::size_t dbcell = 0;  // offset of its DBCELL record
  std::size_t end = 0;     // past the DBCELL
};

// Where the cell table of a worksheet lies, so that a save can rewrite it from
// one block on and leave everything before untouched.
struct SheetLayout {
  static constexpr std::size_t kNone = SIZE_MAX;
  std::size_t index_at = kNone;       // INDEX record
  std::size_t dimensions_at = kNone;  // DIMENSIONS record (of 14 bytes)
  std::size_t table_end = kNone;      // past the last record of the cell table
  std::vector<Block> blocks;
  // Empty DBCELLs after the last block: room for new blocks that INDEX
  // already lists, so that it need not grow (and move the whole sheet).
  std::size_t spares = 0;
  // Every table record lies in a block, blocks in row order, and INDEX (when
  // there is one) lists each block's and spare's DBCELL: only then can part
  // of the table be rewritten.
  bool blocked = false;
};

struct SheetData {
  std::string name;
  std::size_t boundsheet = 0;  // index into BookData::boundsheets
  std::vector<Column> columns;
  std::size_t rows = 0;  // one past the last row holding a cell
  std::uint32_t sst_refs = 0;
  std::uint16_t default_row_height = 0x00FF;
  std::vector<std::uint32_t> edited;  // CellKey of every changed cell
  // Formulas that others share (SHRFMLA, ARRAY, TABLE hang on them).
  std::vector<std::uint32_t> formula_anchors;
  SheetLayout layout;

  void Put(std::size_t row, std::size_t col, std::string_view text, CellKind kind);
};

struct BoundSheet {
  std::size_t record_offset = 0;
  std::uint8_t type = 0;  // 0 worksheet, 1 macro sheet, 2 chart, 6 VB module
  std::string name;
  std::size_t begin = 0;  // BOF of the substream
  std::size_t end = 0;    // past its EOF
  bool added = false;     // a new worksheet, not in the stream yet
};

struct BookData {
  CompoundFile container;  // the Workbook stream's data moved out to `stream`
  std::size_t workbook_entry = 0;
  Bytes stream;
  StringPool pool;
  SharedStrings sst;
  bool has_sst = false;
  std::size_t sst_begin = 0, sst_end = 0;  // SST with its CONTINUEs
  std::size_t globals_eof = 0;             // offset of the globals' EOF record
  std::size_t globals_end = 0;
  std::vector<BoundSheet> boundsheets;
  std::vector<std::unique_ptr<SheetData>> sheets;  // worksheets, in sheet order
  std::uint16_t default_xf = 15;
  // Empty when every check passed; else what is wrong and where. A book read
  // with damage is never saved: its damage would become permanent.
  std::string damage;
  std::size_t sst_unique_at = 0;  // stream offset of the SST's count of strings
};

// Parses a whole .xls file. Throws FormatError saying what is wrong.
std::unique_ptr<BookData> ParseBook(std::span<const std::uint8_t> file);
// The same, letting go of the file's bytes as soon as the stream is out.
std::unique_ptr<BookData> ParseBook(std::string file);

// A new workbook with one sheet whose row 0 holds `headers`.
Bytes NewDictionaryFile(std::string_view sheet_name, const std::vector<std::string>& headers);

// The records of an empty worksheet that is not the selected one: BOF, INDEX,
// DIMENSIONS (both to be filled in), the sheet's defaults, WINDOW2 and EOF.
Bytes NewWorksheetRecords();
// The data of a BOUNDSHEET record for a visible worksheet, its position 0.
Bytes BoundSheetData(std::u16string_view name);

}  // namespace vt::workbook::detail
