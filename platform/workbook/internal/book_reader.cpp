#include <algorithm>
#include <cstring>

#include "platform/workbook/internal/book.h"
#include "platform/workbook/internal/continued.h"
#include "platform/workbook/internal/number_text.h"
#include "platform/workbook/internal/records.h"
#include "platform/workbook/internal/utf.h"

namespace vt::workbook::detail {

void SheetData::Put(std::size_t row, std::size_t col, std::string_view text, CellKind kind) {
  if (col >= columns.size()) columns.resize(col + 1);
  Column& c = columns[col];
  if (row >= c.text.size()) {
    c.text.resize(row + 1);
    c.kind.resize(row + 1, CellKind::kEmpty);
  }
  c.text[row] = text;
  c.kind[row] = kind;
  if (kind != CellKind::kEmpty && row >= rows) rows = row + 1;
}

namespace {

// A formula's cached value that is not a number: its last two bytes say
// so, its first what it is.
constexpr std::uint16_t kFormulaNotNumber = 0xFFFF;
constexpr std::uint8_t kFormulaText = 0;
constexpr std::uint8_t kFormulaBoolean = 1;
constexpr std::uint8_t kFormulaError = 2;

// Bytes a text file holds: printable ASCII, tabs, line ends, form feeds, and
// anything of 0x80 and above (UTF-8, or a legacy code page).
bool LooksLikeText(std::span<const std::uint8_t> head) {
  return std::all_of(head.begin(), head.end(), [](std::uint8_t b) {
    return (b >= 0x20 && b != 0x7F) || b == '\t' || b == '\n' || b == '\r' || b == '\f';
  });
}

void CheckNotOtherFormat(std::span<const std::uint8_t> file) {
  static constexpr std::uint8_t kCompoundFile[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
  if (file.size() >= 8 && std::memcmp(file.data(), kCompoundFile, 8) == 0) return;
  if (file.empty()) throw FormatError("not an Excel 97-2003 workbook: the file is empty");
  static constexpr std::uint8_t kZip[4] = {'P', 'K', 3, 4};
  if (file.size() >= 4 && std::memcmp(file.data(), kZip, 4) == 0) {
    throw FormatError(
        "not an Excel 97-2003 workbook: it is a zip-based file (.xlsx or .ods) saved under an "
        ".xls name");
  }
  std::size_t i = 0;
  if (file.size() >= 3 && file[0] == 0xEF && file[1] == 0xBB && file[2] == 0xBF) i = 3;
  while (i < file.size() && i < 512 &&
         (file[i] == ' ' || file[i] == '\t' || file[i] == '\r' || file[i] == '\n')) {
    ++i;
  }
  if (i < file.size() && file[i] == '<') {
    throw FormatError(
        "not an Excel 97-2003 workbook: it is an XML or HTML file saved under an .xls name");
  }
  if (LooksLikeText(file.first(std::min<std::size_t>(file.size(), 4096)))) {
    throw FormatError(
        "not an Excel 97-2003 workbook: it is a text file (CSV, for one) saved under an .xls "
        "name; open it in a spreadsheet program and save it as Excel 97-2003");
  }
  throw FormatError(
      "not an Excel 97-2003 workbook: not a compound file (the format's signature is missing)");
}

// Records whose data has one size only (0: any size).
std::size_t FixedSize(std::uint16_t type) {
  switch (type) {
    case rt::kLabelSst:
    case rt::kRk:
      return 10;
    case rt::kNumber:
    case rt::kDimensions:
      return 14;
    case rt::kBlank:
      return 6;
    case rt::kBoolErr:
      return 8;
    case rt::kRow:
      return 16;
    default:
      return 0;
  }
}

class BookReader {
 public:
  explicit BookReader(BookData& book) : book_(book), stream_(book.stream) {}

  void ReadGlobals() {
    RecordReader in(stream_, 0);
    Record r;
    if (!in.Next(r) || r.type != rt::kBof || r.size < 4) {
      throw FormatError("the Workbook stream does not begin with a BOF record");
    }
    if (Get16(r.data) != kBiff8 || Get16(r.data + 2) != kGlobalsBof) {
      throw NotAWorkbook("not an Excel 97-2003 (BIFF8) workbook: BOF version " +
                         Hex(Get16(r.data)));
    }
    std::size_t xf_count = 0;
    for (;;) {
      if (!in.Next(r)) throw FormatError("the workbook globals end without an EOF record");
      switch (r.type) {
        case rt::kFilePass:
          throw NotAWorkbook("the workbook is password-protected");
        case rt::kBoundSheet:
          ReadBoundSheet(r);
          break;
        case rt::kXf:
          ++xf_count;
          break;
        case rt::kSst:
          ReadSst(in, r);
          break;
        case rt::kEof:
          book_.globals_eof = r.offset;
          book_.globals_end = r.End();
          book_.default_xf = static_cast<std::uint16_t>(xf_count > 15 ? 15 : 0);
          CheckRecordSizes(in, "the workbook globals");
          return;
        default:
          break;
      }
    }
  }

  void ReadSheets() {
    std::vector<std::pair<std::size_t, std::string>> starts;
    for (const BoundSheet& bs : book_.boundsheets) starts.emplace_back(bs.begin, bs.name);
    std::sort(starts.begin(), starts.end());
    for (std::size_t i = 1; i < starts.size(); ++i) {
      if (starts[i].first == starts[i - 1].first) {
        Damage("sheets \"" + starts[i - 1].second + "\" and \"" + starts[i].second +
               "\" begin at the same stream offset " + Hex(starts[i].first));
      }
    }
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (std::size_t i = 0; i < book_.boundsheets.size(); ++i) {
      BoundSheet& bs = book_.boundsheets[i];
      std::unique_ptr<SheetData> sheet;
      if (bs.type == kWorksheetType) {
        sheet = std::make_unique<SheetData>();
        sheet->name = bs.name;
        sheet->boundsheet = i;
      }
      ReadSubstream(bs, sheet.get());
      spans.emplace_back(bs.begin, bs.end);
      if (sheet) book_.sheets.push_back(std::move(sheet));
    }
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 1; i < spans.size(); ++i) {
      if (spans[i].first < spans[i - 1].second && spans[i].first != spans[i - 1].first) {
        Damage("the sheet at stream offset " + Hex(spans[i].first) +
               " begins inside the one at stream offset " + Hex(spans[i - 1].first));
      }
    }
    if (!spans.empty() && spans.front().first < book_.globals_end) {
      Damage("a sheet begins inside the workbook globals, at stream offset " +
             Hex(spans.front().first));
    }
  }

 private:
  void ReadBoundSheet(const Record& r) {
    if (r.size < 8) Short(r, "the workbook globals");
    BoundSheet bs;
    bs.record_offset = r.offset;
    bs.begin = Get32(r.data);
    bs.type = r.data[5];
    std::size_t cch = r.data[6];
    bool high = HighByte(r.data[7]);
    if (r.size < 8 + cch * (high ? 2 : 1)) Short(r, "the workbook globals");
    std::string name(MaxUtf8Bytes(cch), '\0');
    name.resize(high ? Utf16LeToUtf8(r.data + 8, cch, name.data())
                     : Latin1ToUtf8(r.data + 8, cch, name.data()));
    bs.name = std::move(name);
    book_.boundsheets.push_back(std::move(bs));
  }

  void ReadSst(RecordReader& in, const Record& r) {
    std::vector<Segment> segments{{r.data, r.size}};
    book_.sst_begin = r.offset;
    book_.sst_end = r.End();
    std::uint16_t next;
    Record c;
    while (in.PeekType(next) && next == rt::kContinue) {
      in.Next(c);
      segments.push_back({c.data, c.size});
      book_.sst_end = c.End();
    }
    std::size_t left = 0;
    book_.sst = detail::ReadSst(segments, book_.pool, &left);
    book_.has_sst = true;
    book_.sst_unique_at = r.offset + 8;
    if (left != 0) {
      Damage("the shared string table at stream offset " + Hex(r.offset) + " holds " +
             std::to_string(left) + " bytes more than its " +
             std::to_string(book_.sst.texts.size()) + " strings");
    }
  }

  void Damage(const std::string& what) {
    if (book_.damage.empty()) book_.damage = what;
  }

  // A record longer than the format allows cannot be written back as it is.
  void CheckRecordSizes(const RecordReader& in, const std::string& where) {
    const Record& r = in.Oversized();
    if (r.offset == SIZE_MAX) return;
    Damage("record " + RecordName(r.type) + " at stream offset " + Hex(r.offset) + " of " + where +
           " holds " + std::to_string(r.size) + " bytes, more than the " +
           std::to_string(kMaxRecordData) + " a record can hold");
  }

  void WrongSize(const Record& r, const std::string& where, std::size_t size) {
    Damage("record " + RecordName(r.type) + " at stream offset " + Hex(r.offset) + " of " + where +
           " holds " + std::to_string(r.size) + " bytes instead of " + std::to_string(size));
  }

  [[noreturn]] static void Short(const Record& r, const std::string& where) {
    throw FormatError("record " + RecordName(r.type) + " at stream offset " + Hex(r.offset) +
                      " of " + where + " is too short");
  }

  std::string Where(const SheetData* sheet) const {
    return sheet ? "sheet \"" + sheet->name + "\"" : std::string("a sheet");
  }

  void ReadSubstream(BoundSheet& bs, SheetData* sheet) {
    if (bs.begin >= stream_.size()) {
      throw FormatError("sheet \"" + bs.name + "\" begins past the end of the Workbook stream");
    }
    RecordReader in(stream_, bs.begin);
    Record r;
    if (!in.Next(r) || r.type != rt::kBof || r.size < 4) {
      throw FormatError("sheet \"" + bs.name + "\" does not begin with a BOF record");
    }
    if (sheet && Get16(r.data + 2) != kWorksheetBof) {
      // A BOUNDSHEET that calls it a worksheet while the BOF says otherwise:
      // kept as a sheet without cells, and the book never saved (its cells
      // would be written over).
      Damage("sheet \"" + bs.name + "\" is a worksheet by its BOUNDSHEET record, but its BOF " +
             "record at stream offset " + Hex(bs.begin) + " says otherwise");
      sheet = nullptr;
    }
    std::string where = "sheet \"" + bs.name + "\"";
    int depth = 1;
    std::size_t formula_row = SIZE_MAX, formula_col = 0;
    std::uint16_t previous = rt::kBof;
    TableScan table;
    order_row_ = SIZE_MAX;
    order_col_ = 0;
    dims_ = {};
    while (depth > 0) {
      if (!in.Next(r)) throw FormatError(where + " ends without an EOF record");
      if (r.type == rt::kBof) {
        ++depth;
      } else if (r.type == rt::kEof) {
        --depth;
      } else if (depth == 1 && sheet) {
        table.See(r, previous);
        Cell(in, r, *sheet, where, formula_row, formula_col, previous);
      }
      previous = r.type;
    }
    bs.end = in.Position();
    CheckRecordSizes(in, where);
    if (sheet) {
      table.Finish(stream_, sheet->layout);
      CheckDimensions(*sheet, where);
    }
  }

  // Follows the cell table's records to find its blocks (see SheetLayout).
  struct TableScan {
    SheetLayout layout;
    bool open = false, broken = false, after_table = false, spare_seen = false;
    Block current;
    std::size_t index_entries = 0;

    static bool IsTable(std::uint16_t type, std::uint16_t previous) {
      switch (type) {
        case rt::kRow:
        case rt::kDbCell:
        case rt::kString:
        case rt::kShrFmla:
        case rt::kArray:
        case rt::kTable:
          return true;
        case rt::kContinue:
          return IsTable(previous, 0);
        default:
          return IsCellRecord(type);
      }
    }

    void See(const Record& r, std::uint16_t previous) {
      if (r.type == rt::kIndex) {
        layout.index_at = r.offset;
        if (r.size < 16 || (r.size - 16) % 4 != 0) broken = true;
        index_entries = r.size >= 16 ? (r.size - 16u) / 4u : 0;
        return;
      }
      if (r.type == rt::kDimensions) {
        if (r.size == 14) layout.dimensions_at = r.offset;
        return;
      }
      if (!IsTable(r.type, previous)) {
        if (layout.table_end != SheetLayout::kNone) after_table = true;
        return;
      }
      if (after_table) broken = true;  // the table is interrupted
      layout.table_end = r.End();
      if (r.type == rt::kDbCell) {
        if (open) {
          current.dbcell = r.offset;
          current.end = r.End();
          if (spare_seen ||
              (!layout.blocks.empty() && layout.blocks.back().number >= current.number)) {
            broken = true;
          }
          layout.blocks.push_back(current);
          open = false;
        } else if (r.size == 4 && Get32(r.data) == 0 && !layout.blocks.empty()) {
          ++layout.spares;
          spare_seen = true;
        } else {
          broken = true;
        }
        return;
      }
      std::size_t number = SIZE_MAX;
      if ((r.type == rt::kRow || IsCellRecord(r.type)) && r.size >= 2) number = Get16(r.data) / 32;
      if (!open) {
        open = true;
        current = Block{};
        current.begin = r.offset;
        current.number = number;
      } else if (number != SIZE_MAX && current.number == SIZE_MAX) {
        current.number = number;
      } else if (number != SIZE_MAX && number != current.number) {
        broken = true;
      }
      if (spare_seen) broken = true;
    }

    void Finish(const Bytes& stream, SheetLayout& out) {
      if (open || layout.blocks.empty()) broken = true;
      // A block is copied whole into a save only when its DBCELL leads back
      // to its first ROW, as the save's check demands.
      for (const Block& b : layout.blocks) {
        broken |= b.number == SIZE_MAX || Get16(stream.data() + b.begin) != rt::kRow ||
                  b.dbcell + 8 > stream.size() ||
                  Get32(stream.data() + b.dbcell + 4) != b.dbcell - b.begin;
      }
      if (!broken && layout.index_at != SheetLayout::kNone) {
        std::size_t listed = layout.blocks.size() + layout.spares;
        if (index_entries != listed) {
          broken = true;
        } else {
          const std::uint8_t* entries = stream.data() + layout.index_at + 4 + 16;
          for (std::size_t i = 0; i < layout.blocks.size() && !broken; ++i) {
            broken = Get32(entries + 4 * i) != layout.blocks[i].dbcell;
          }
          const std::size_t first_spare = layout.blocks.back().end;
          for (std::size_t k = 0; k < layout.spares && !broken; ++k) {
            broken = Get32(entries + 4 * (layout.blocks.size() + k)) != first_spare + 8 * k;
          }
        }
      }
      layout.blocked = !broken;
      out = std::move(layout);
    }
  };

  // The used range that DIMENSIONS declares must hold every cell: a cell
  // outside it (or one out of row order) is what a flipped bit makes.
  void CheckDimensions(const SheetData& sheet, const std::string& where) {
    // Some writers leave DIMENSIONS out: nothing to hold the cells against.
    if (!dims_.seen || sheet.rows == 0) return;
    std::size_t first_row = SIZE_MAX, col_min = SIZE_MAX, col_max = 0;
    for (std::size_t c = 0; c < sheet.columns.size(); ++c) {
      const auto& kinds = sheet.columns[c].kind;
      for (std::size_t row = 0; row < kinds.size(); ++row) {
        if (kinds[row] == CellKind::kEmpty) continue;
        first_row = std::min(first_row, row);
        col_min = std::min(col_min, c);
        col_max = c;
        break;
      }
    }
    if (first_row < dims_.first_row || sheet.rows > dims_.end_row || col_min < dims_.first_col ||
        col_max >= dims_.end_col) {
      Damage(where + " holds cells in rows " + std::to_string(first_row + 1) + " to " +
             std::to_string(sheet.rows) + ", columns " + std::to_string(col_min + 1) + " to " +
             std::to_string(col_max + 1) + ", but its DIMENSIONS record at stream offset " +
             Hex(dims_.offset) + " declares rows " + std::to_string(dims_.first_row + 1) + " to " +
             std::to_string(dims_.end_row) + ", columns " + std::to_string(dims_.first_col + 1) +
             " to " + std::to_string(dims_.end_col));
    }
  }

  // Cells come in row order, and in column order within a row.
  void CheckOrder(const Record& r, const std::string& where, std::size_t row, std::size_t first,
                  std::size_t last) {
    if (order_row_ != SIZE_MAX &&
        (row < order_row_ || (row == order_row_ && first <= order_col_))) {
      Damage("record " + RecordName(r.type) + " at stream offset " + Hex(r.offset) + " of " +
             where + " puts a cell at row " + std::to_string(row + 1) + ", column " +
             std::to_string(first + 1) + ", out of the order of the cells before it");
    }
    order_row_ = row;
    order_col_ = last;
  }

  std::size_t CheckColumn(const Record& r, const std::string& where, std::size_t col) {
    if (col >= kMaxColumns) {
      throw FormatError("record " + RecordName(r.type) + " at stream offset " + Hex(r.offset) +
                        " of " + where + " names column " + std::to_string(col + 1) +
                        ", beyond the 256 columns of the format");
    }
    return col;
  }

  // MULRK and MULBLANK: row, first column, `cell_size` bytes a cell, then the
  // last column, which must agree with the number of cells.
  std::size_t MultipleCellCount(const Record& r, const std::string& where, std::size_t cell_size) {
    if (r.size < 6 + cell_size || (r.size - 6) % cell_size != 0) Short(r, where);
    const std::size_t first = Get16(r.data + 2);
    const std::size_t count = (r.size - 6u) / cell_size;
    if (Get16(r.data + r.size - 2) + 1u != first + count) {
      throw FormatError("record " + RecordName(r.type) + " at stream offset " + Hex(r.offset) +
                        " of " + where + " holds a wrong number of cells");
    }
    CheckColumn(r, where, first + count - 1);
    return count;
  }

  std::string_view Number(double value) { return book_.pool.Add(GeneralText(value)); }

  std::string_view ContinuedText(RecordReader& in, const Record& r, std::size_t skip,
                                 const std::string& where) {
    std::uint16_t next;
    const bool continued = in.PeekType(next) && next == rt::kContinue;
    // A text whole in its record, as nearly every one is: no reader, and no
    // name for an error that cannot happen (one cell of the sheet each).
    if (!continued && r.size >= skip + 3) {
      const std::uint8_t* d = r.data + skip;
      const std::size_t cch = Get16(d);
      const bool high_byte = HighByte(d[2]);
      const std::size_t bytes = cch * (high_byte ? 2 : 1);
      const std::size_t room = r.size - skip - 3;
      if (bytes <= room) {
        if (bytes != room && r.type == rt::kLabel) TrailingBytes(r, where, room - bytes);
        return PoolChars(d + 3, cch, high_byte, book_.pool);
      }
    }
    std::vector<Segment> segments{{r.data + skip, r.size - skip}};
    Record c;
    while (in.PeekType(next) && next == rt::kContinue) {
      in.Next(c);
      segments.push_back({c.data, c.size});
    }
    ContinuedReader text(
        segments.data(), segments.size(),
        "record " + RecordName(r.type) + " at stream offset " + Hex(r.offset) + " of " + where);
    std::uint16_t cch = text.U16();
    std::uint8_t flags = text.U8();
    std::string_view chars = text.Chars(cch, HighByte(flags), book_.pool);
    if (text.Remaining() != 0 && r.type == rt::kLabel) TrailingBytes(r, where, text.Remaining());
    return chars;
  }

  void TrailingBytes(const Record& r, const std::string& where, std::size_t bytes) {
    Damage("record LABEL at stream offset " + Hex(r.offset) + " of " + where + " holds " +
           std::to_string(bytes) + " bytes after its text");
  }

  // A record of the cell table: each kind of cell read into `sheet`.
  void Cell(RecordReader& in, const Record& r, SheetData& sheet, const std::string& where,
            std::size_t& formula_row, std::size_t& formula_col, std::uint16_t previous) {
    CheckCellRecord(r, where);
    switch (r.type) {
      case rt::kDimensions:
        ReadDimensions(r, sheet, where);
        break;
      case rt::kDefaultRowHeight:
        if (r.size >= 4) sheet.default_row_height = Get16(r.data + 2);
        break;
      case rt::kLabelSst:
        ReadLabelSst(r, sheet, where);
        break;
      case rt::kLabel:
      case rt::kRString:
        ReadLabel(in, r, sheet, where);
        break;
      case rt::kRk:
        ReadRk(r, sheet, where);
        break;
      case rt::kMulRk:
        ReadMulRk(r, sheet, where);
        break;
      case rt::kNumber:
        ReadNumber(r, sheet, where);
        break;
      case rt::kBlank:
        ReadBlank(r, sheet, where);
        break;
      case rt::kMulBlank:
        ReadMulBlank(r, sheet, where);
        break;
      case rt::kBoolErr:
        ReadBoolErr(r, sheet, where);
        break;
      case rt::kFormula:
        ReadFormula(r, sheet, where, formula_row, formula_col);
        break;
      case rt::kShrFmla:
      case rt::kArray:
      case rt::kTable:
        // Hangs on the formula read last; other cells share it.
        if (previous == rt::kFormula || previous == rt::kString) {
          sheet.formula_anchors.push_back(CellKey(last_formula_row_, last_formula_col_));
        }
        break;
      case rt::kString:
        if (formula_row != SIZE_MAX) {
          sheet.Put(formula_row, formula_col, ContinuedText(in, r, 0, where), CellKind::kFormula);
          formula_row = SIZE_MAX;
        }
        break;
      default:
        break;
    }
  }

  // The size a record of its type must have, and the order of the cells.
  void CheckCellRecord(const Record& r, const std::string& where) {
    const std::uint8_t* d = r.data;
    if (const std::size_t size = FixedSize(r.type);
        size != 0 && (r.size > size || (r.type == rt::kRow && r.size != size))) {
      WrongSize(r, where, size);
    }
    if (IsCellRecord(r.type) && r.size >= 4) {
      std::size_t last = Get16(d + 2);
      if ((r.type == rt::kMulRk || r.type == rt::kMulBlank) && r.size >= 6) {
        last = Get16(d + r.size - 2);
      }
      CheckOrder(r, where, Get16(d), Get16(d + 2), last);
    }
  }

  void ReadDimensions(const Record& r, SheetData& sheet, const std::string& where) {
    const std::uint8_t* d = r.data;
    if (r.size < 14) Short(r, where);
    dims_ = {true, r.offset, Get32(d), Get32(d + 4), Get16(d + 8), Get16(d + 10)};
    const std::size_t rows = std::min<std::size_t>(Get32(d + 4), kMaxRows);
    const std::size_t cols = std::min<std::size_t>(Get16(d + 10), kMaxColumns);
    // Only as much room as the stream could fill: DIMENSIONS may lie.
    if (rows * cols * 6 > stream_.size()) return;
    if (sheet.columns.size() < cols) sheet.columns.resize(cols);
    for (auto& c : sheet.columns) {
      c.text.reserve(rows);
      c.kind.reserve(rows);
    }
  }

  void ReadLabelSst(const Record& r, SheetData& sheet, const std::string& where) {
    const std::uint8_t* d = r.data;
    if (r.size < 10) Short(r, where);
    const std::uint32_t index = Get32(d + 6);
    if (index >= book_.sst.texts.size()) {
      throw FormatError("record LABELSST at stream offset " + Hex(r.offset) + " of " + where +
                        " points past the shared string table");
    }
    sheet.Put(Get16(d), CheckColumn(r, where, Get16(d + 2)), book_.sst.texts[index],
              CellKind::kText);
    ++sheet.sst_refs;
  }

  // LABEL and RSTRING: the text in the record (and its CONTINUEs).
  void ReadLabel(RecordReader& in, const Record& r, SheetData& sheet, const std::string& where) {
    if (r.size < 9) Short(r, where);
    const std::size_t col = CheckColumn(r, where, Get16(r.data + 2));
    sheet.Put(Get16(r.data), col, ContinuedText(in, r, 6, where), CellKind::kText);
  }

  void ReadRk(const Record& r, SheetData& sheet, const std::string& where) {
    const std::uint8_t* d = r.data;
    if (r.size < 10) Short(r, where);
    sheet.Put(Get16(d), CheckColumn(r, where, Get16(d + 2)), Number(RkValue(Get32(d + 6))),
              CellKind::kNumber);
  }

  void ReadMulRk(const Record& r, SheetData& sheet, const std::string& where) {
    const std::uint8_t* d = r.data;
    const std::size_t first = Get16(d + 2);
    const std::size_t count = MultipleCellCount(r, where, 6);
    for (std::size_t k = 0; k < count; ++k) {
      sheet.Put(Get16(d), first + k, Number(RkValue(Get32(d + 4 + 6 * k + 2))), CellKind::kNumber);
    }
  }

  void ReadNumber(const Record& r, SheetData& sheet, const std::string& where) {
    const std::uint8_t* d = r.data;
    if (r.size < 14) Short(r, where);
    sheet.Put(Get16(d), CheckColumn(r, where, Get16(d + 2)), Number(GetDouble(d + 6)),
              CellKind::kNumber);
  }

  void ReadBlank(const Record& r, SheetData& sheet, const std::string& where) {
    if (r.size < 6) Short(r, where);
    sheet.Put(Get16(r.data), CheckColumn(r, where, Get16(r.data + 2)), {}, CellKind::kBlank);
  }

  void ReadMulBlank(const Record& r, SheetData& sheet, const std::string& where) {
    const std::size_t first = Get16(r.data + 2);
    const std::size_t count = MultipleCellCount(r, where, 2);
    for (std::size_t k = 0; k < count; ++k) {
      sheet.Put(Get16(r.data), first + k, {}, CellKind::kBlank);
    }
  }

  void ReadBoolErr(const Record& r, SheetData& sheet, const std::string& where) {
    const std::uint8_t* d = r.data;
    if (r.size < 8) Short(r, where);
    const bool error = d[7] != 0;
    std::string_view text = error ? CellErrorText(d[6]) : (d[6] ? "TRUE" : "FALSE");
    sheet.Put(Get16(d), CheckColumn(r, where, Get16(d + 2)), text,
              error ? CellKind::kError : CellKind::kBoolean);
  }

  // A formula's cached value: a number, or a marker for a text (in the
  // STRING record that follows), a boolean or an error.
  void ReadFormula(const Record& r, SheetData& sheet, const std::string& where,
                   std::size_t& formula_row, std::size_t& formula_col) {
    const std::uint8_t* d = r.data;
    if (r.size < 20) Short(r, where);
    const std::size_t row = Get16(d);
    const std::size_t col = CheckColumn(r, where, Get16(d + 2));
    const std::uint8_t* v = d + 6;
    std::string_view text;
    formula_row = SIZE_MAX;
    if (Get16(v + 6) != kFormulaNotNumber) {
      text = Number(GetDouble(v));
    } else if (v[0] == kFormulaText) {
      formula_row = row;  // the text follows in a STRING record
      formula_col = col;
    } else if (v[0] == kFormulaBoolean) {
      text = v[2] ? "TRUE" : "FALSE";
    } else if (v[0] == kFormulaError) {
      text = CellErrorText(v[2]);
    }
    sheet.Put(row, col, text, CellKind::kFormula);
    last_formula_row_ = row;
    last_formula_col_ = Get16(d + 2);
  }

  struct Dimensions {
    bool seen = false;
    std::size_t offset = 0;
    std::size_t first_row = 0, end_row = 0, first_col = 0, end_col = 0;
  };

  BookData& book_;
  const Bytes& stream_;
  Dimensions dims_;
  std::size_t order_row_ = SIZE_MAX, order_col_ = 0;
  std::size_t last_formula_row_ = 0;
  std::size_t last_formula_col_ = 0;
};

}  // namespace

namespace {

std::unique_ptr<BookData> ReadContainer(std::span<const std::uint8_t> file) {
  CheckNotOtherFormat(file);
  auto book = std::make_unique<BookData>();
  book->container = ReadCompoundFile(file.data(), file.size());
  CompoundFile& cf = book->container;
  book->workbook_entry = cf.FindRootStream(u"Workbook");
  if (book->workbook_entry == cf.entries.size()) {
    if (cf.FindRootStream(u"EncryptedPackage") < cf.entries.size()) {
      throw NotAWorkbook("the workbook is password-protected");
    }
    if (cf.FindRootStream(u"Book") < cf.entries.size()) {
      throw FormatError("not an Excel 97-2003 workbook: it is an older (Excel 5.0/95) workbook");
    }
    throw FormatError("not an Excel 97-2003 workbook: the compound file has no Workbook stream");
  }
  book->stream = std::move(cf.entries[book->workbook_entry].data);
  cf.entries[book->workbook_entry].data.clear();
  return book;
}

void ReadCells(BookData& book) {
  BookReader reader(book);
  try {
    reader.ReadGlobals();
    reader.ReadSheets();
  } catch (const NotAWorkbook&) {
    throw;
  } catch (const FormatError& e) {
    throw FormatError(std::string("damaged workbook: ") + e.what());
  }
  for (auto& sheet : book.sheets) {
    std::sort(sheet->formula_anchors.begin(), sheet->formula_anchors.end());
  }
}

}  // namespace

std::unique_ptr<BookData> ParseBook(std::span<const std::uint8_t> file) {
  std::unique_ptr<BookData> book = ReadContainer(file);
  ReadCells(*book);
  return book;
}

std::unique_ptr<BookData> ParseBook(std::string file) {
  std::unique_ptr<BookData> book =
      ReadContainer({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()});
  // The file's bytes go before the cells take their room (an assignment of
  // an empty string would keep the buffer).
  std::string().swap(file);
  ReadCells(*book);
  return book;
}

}  // namespace vt::workbook::detail
