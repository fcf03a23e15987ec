// The check of a save before it replaces anything: what the plan writes is
// read back record by record, without a second copy of the book.
#include <algorithm>
#include <cstring>

#include "platform/workbook/internal/book_writer.h"
#include "platform/workbook/internal/number_text.h"
#include "platform/workbook/internal/records.h"
#include "platform/workbook/internal/sst.h"

namespace vt::workbook::detail {

namespace {

[[noreturn]] void Wrong(const std::string& what) {
  throw FormatError("the workbook to be written does not read back: " + what);
}

class PlanChecker {
 public:
  PlanChecker(const BookData& book, const BookPlan& plan)
      : book_(book), plan_(plan), stream_(plan.stream) {}

  void Check(std::size_t from) {
    for (std::size_t at : plan_.boundsheet_at) {
      if (Type(Get32(Header(at, 8).data() + 4)) != rt::kBof) Wrong("a BOUNDSHEET misses its sheet");
    }
    if (from < plan_.globals_end) Walk(0, plan_.globals_end, 0, nullptr);
    if (!plan_.sst_added.empty()) CheckStrings();
    for (const auto& sheet : book_.sheets) {
      const SheetEmit& emit = plan_.substreams[sheet->boundsheet];
      if (emit.end <= from && sheet->edited.empty()) continue;
      // From the last block that begins before both the rewritten bytes
      // and the first edited row: what precedes it was read at load.
      std::size_t limit = from;
      if (!sheet->edited.empty()) {
        std::size_t first_row = SIZE_MAX;
        for (std::uint32_t key : sheet->edited) first_row = std::min(first_row, KeyRow(key));
        for (const Block& b : emit.layout.blocks) {
          if (b.number >= first_row / 32) {
            limit = std::min(limit, b.begin);
            break;
          }
        }
      }
      // Blocks are record boundaries to start from only in a table laid out
      // in blocks; any other table is walked whole.
      std::size_t start = emit.begin;
      for (const Block& b : emit.layout.blocks) {
        if (emit.layout.blocked && b.begin <= limit) start = std::max(start, b.begin);
      }
      CheckSheet(*sheet, emit, start);
    }
  }

 private:
  std::uint16_t Type(std::size_t at) const {
    if (at + 4 > stream_.Size()) Wrong("a position points past the end of the stream");
    std::uint8_t h[2];
    stream_.Read(at, 2, h);
    return Get16(h);
  }
  Bytes Header(std::size_t at, std::size_t n) const {
    if (at + n > stream_.Size()) Wrong("a record runs past the end of the stream");
    return stream_.Read(at, n);
  }

  // Records from `begin` (depth `depth` there) to `end`, which must close
  // the substream; each cell of an edited row goes to Cell().
  void Walk(std::size_t begin, std::size_t end, int depth, const SheetData* sheet) {
    std::size_t at = begin;
    std::size_t hint = SIZE_MAX;
    std::uint8_t h[4];
    while (at < end) {
      if (at + 4 > end) Wrong("a record header is cut short");
      // A whole sheet is walked when the sheets before it moved: its headers
      // are read where they lie.
      if (const std::uint8_t* direct = stream_.Direct(at, 4, hint)) {
        std::memcpy(h, direct, 4);
      } else {
        hint = stream_.Read(at, 4, h, hint);
      }
      const std::uint16_t type = Get16(h);
      const std::size_t size = Get16(h + 2);
      if (size > kMaxRecordData || at + 4 + size > end) Wrong("a record runs past its substream");
      if (type == rt::kBof) ++depth;
      if (type == rt::kEof) --depth;
      if (sheet && depth == 1 && IsCellRecord(type) && size >= 6) {
        std::uint8_t row_bytes[2];
        if (const std::uint8_t* direct = stream_.Direct(at + 4, 2, hint)) {
          std::memcpy(row_bytes, direct, 2);
        } else {
          stream_.Read(at + 4, 2, row_bytes, hint);
        }
        if (edited_rows_[Get16(row_bytes)]) {
          data_.resize(size);
          hint = stream_.Read(at + 4, size, data_.data(), hint);
          Cell(*sheet, type, data_, at);
        }
      }
      at += 4 + size;
      if (depth == 0 && at != end) Wrong("a substream ends before its last record");
    }
    if (depth != 0) Wrong("a substream does not end with its EOF");
  }

  // A cell met: what the book holds there when the save changed it, else
  // that the book holds a cell there at all.
  void Expect(const SheetData& sheet, std::size_t row, std::size_t col, CellKind kind,
              std::string_view text, bool check_text) {
    Expect(sheet, row, col, kind, text, check_text, Edited(row, col));
  }
  void Expect(const SheetData& sheet, std::size_t row, std::size_t col, CellKind kind,
              std::string_view text, bool check_text, bool edited) {
    const bool have = col < sheet.columns.size() && row < sheet.columns[col].kind.size();
    const CellKind want = have ? sheet.columns[col].kind[row] : CellKind::kEmpty;
    const std::uint32_t key = CellKey(row, col);
    if (want == CellKind::kEmpty ||
        (edited && (want != kind || (check_text && sheet.columns[col].text[row] != text)))) {
      Wrong("the cell at row " + std::to_string(row + 1) + ", column " + std::to_string(col + 1) +
            " of sheet \"" + sheet.name + "\" would not hold what it should");
    }
    seen_.push_back(key);
  }

  bool Edited(std::size_t row, std::size_t col) const {
    return std::binary_search(edited_.begin(), edited_.end(), CellKey(row, col));
  }

  std::string_view Text(const Bytes& data, std::size_t skip) {
    Segment segment{data.data() + skip, data.size() - skip};
    ContinuedReader in(&segment, 1, "a new cell");
    const std::uint16_t count = in.U16();
    const std::uint8_t flags = in.U8();
    return in.Chars(count, HighByte(flags), pool_);
  }

  void Cell(const SheetData& sheet, std::uint16_t type, const Bytes& d, std::size_t at) {
    const std::size_t row = Get16(d.data()), col = Get16(d.data() + 2);
    const bool multiple = type == rt::kMulRk || type == rt::kMulBlank;
    const bool edited = !multiple && Edited(row, col);
    if (!multiple && !edited) {
      // Copied as it was read: its value is the book's already.
      CellKind kind = CellKind::kText;
      if (type == rt::kBlank) kind = CellKind::kBlank;
      if (type == rt::kRk || type == rt::kNumber) kind = CellKind::kNumber;
      if (type == rt::kFormula) kind = CellKind::kFormula;
      if (type == rt::kBoolErr)
        kind = d.size() >= 8 && d[7] ? CellKind::kError : CellKind::kBoolean;
      Expect(sheet, row, col, kind, {}, false, false);
      return;
    }
    switch (type) {
      case rt::kLabelSst: {
        const std::size_t index = Get32(d.data() + 6);
        const std::size_t old = book_.sst.texts.size();
        if (index >= old + plan_.sst_added.size()) Wrong("a LABELSST points past the table");
        Expect(sheet, row, col, CellKind::kText,
               index < old ? book_.sst.texts[index] : plan_.sst_added[index - old], true, edited);
        break;
      }
      case rt::kLabel:
      case rt::kRString:
        Expect(sheet, row, col, CellKind::kText, Text(d, 6), true, edited);
        break;
      case rt::kBlank:
        Expect(sheet, row, col, CellKind::kBlank, {}, true, edited);
        break;
      case rt::kMulBlank:
        for (std::size_t c = col; c <= Get16(d.data() + d.size() - 2); ++c) {
          Expect(sheet, row, c, CellKind::kBlank, {}, true);
        }
        break;
      case rt::kRk:
        Expect(sheet, row, col, CellKind::kNumber, GeneralText(RkValue(Get32(d.data() + 6))), true);
        break;
      case rt::kMulRk:
        for (std::size_t c = col, k = 0; c <= Get16(d.data() + d.size() - 2); ++c, ++k) {
          Expect(sheet, row, c, CellKind::kNumber,
                 GeneralText(RkValue(Get32(d.data() + 4 + 6 * k + 2))), true);
        }
        break;
      case rt::kNumber:
        Expect(sheet, row, col, CellKind::kNumber, GeneralText(GetDouble(d.data() + 6)), true);
        break;
      case rt::kBoolErr:
        Expect(sheet, row, col, d[7] ? CellKind::kError : CellKind::kBoolean,
               d[7] ? CellErrorText(d[6]) : (d[6] ? "TRUE" : "FALSE"), true);
        break;
      case rt::kFormula:
        Expect(sheet, row, col, CellKind::kFormula, {}, false);
        break;
      default:
        Wrong("an unknown cell record at stream offset " + Hex(at));
    }
  }

  void CheckSheet(const SheetData& sheet, const SheetEmit& emit, std::size_t start) {
    // Both lists mostly come in order already (cells set row by row, records
    // met in row order): a pass to see it spares the sort.
    edited_ = sheet.edited;
    if (!std::is_sorted(edited_.begin(), edited_.end())) std::sort(edited_.begin(), edited_.end());
    edited_.erase(std::unique(edited_.begin(), edited_.end()), edited_.end());
    edited_rows_.assign(kMaxRows, false);
    for (std::uint32_t key : edited_) edited_rows_[KeyRow(key)] = true;
    seen_.clear();
    Walk(start, emit.end, start == emit.begin ? 0 : 1, &sheet);
    // Every cell of the edited rows was met, once.
    if (!std::is_sorted(seen_.begin(), seen_.end())) std::sort(seen_.begin(), seen_.end());
    if (std::adjacent_find(seen_.begin(), seen_.end()) != seen_.end()) {
      Wrong("two records for one cell of sheet \"" + sheet.name + "\"");
    }
    std::size_t expected = 0;
    std::vector<std::size_t> rows;
    for (std::uint32_t key : edited_) {
      if (rows.empty() || rows.back() != KeyRow(key)) rows.push_back(KeyRow(key));
    }
    for (std::size_t row : rows) {
      for (std::size_t c = 0; c < sheet.columns.size(); ++c) {
        expected +=
            row < sheet.columns[c].kind.size() && sheet.columns[c].kind[row] != CellKind::kEmpty;
      }
    }
    if (expected != seen_.size()) {
      Wrong("a cell of an edited row of sheet \"" + sheet.name + "\" would be lost");
    }
    const SheetLayout& l = emit.layout;
    // A table that was not laid out in blocks when read is copied as it
    // was, its DBCELLs and INDEX with it: they promise nothing to check.
    if (!l.blocked) {
      CheckDimensions(sheet, l);
      return;
    }
    for (const Block& b : l.blocks) {
      if (b.begin < start) continue;
      const Bytes db = Header(b.dbcell, 8);
      if (Get16(db.data()) != rt::kDbCell || b.dbcell - Get32(db.data() + 4) != b.begin ||
          Type(b.begin) != rt::kRow) {
        Wrong("a DBCELL of sheet \"" + sheet.name + "\" does not lead to its rows");
      }
    }
    if (l.index_at != SheetLayout::kNone) {
      const Bytes h = Header(l.index_at, 4);
      const std::size_t size = Get16(h.data() + 2);
      const Bytes index = Header(l.index_at + 4, size);
      const std::size_t entries = (size - 16) / 4;
      if (Get16(h.data()) != rt::kIndex || entries != l.blocks.size() + l.spares) {
        Wrong("the INDEX of sheet \"" + sheet.name + "\" does not list its blocks");
      }
      for (std::size_t i = 0; i < entries; ++i) {
        const std::size_t want = i < l.blocks.size()
                                     ? l.blocks[i].dbcell
                                     : l.blocks.back().end + 8 * (i - l.blocks.size());
        // A block before `start` lies in bytes that stay as they were read.
        const bool kept = i < l.blocks.size() && l.blocks[i].begin < start;
        if (Get32(index.data() + 16 + 4 * i) != want || (!kept && Type(want) != rt::kDbCell)) {
          Wrong("the INDEX of sheet \"" + sheet.name + "\" points beside a DBCELL");
        }
      }
      if (Get32(index.data() + 8) < sheet.rows)
        Wrong("the INDEX of sheet \"" + sheet.name + "\" is short");
    }
    CheckDimensions(sheet, l);
  }

  void CheckDimensions(const SheetData& sheet, const SheetLayout& l) {
    if (l.dimensions_at == SheetLayout::kNone) return;
    const Bytes d = Header(l.dimensions_at + 4, 14);
    // What the reader asks: room for every row (a sheet copied as it was
    // may declare more, as some writers do).
    if (Get32(d.data() + 4) < sheet.rows) {
      Wrong("the DIMENSIONS of sheet \"" + sheet.name + "\" would not hold its rows");
    }
  }

  void CheckStrings() {
    const std::size_t old = book_.sst.texts.size();
    const bool extension =
        plan_.sst_added_at != SIZE_MAX && plan_.sst_added_at != plan_.sst_unique_at + 4;
    std::vector<Bytes> records;
    std::vector<Segment> segments;
    std::size_t at = extension ? plan_.sst_added_at : plan_.sst_begin;
    while (at < plan_.sst_end) {
      const Bytes h = Header(at, 4);
      const std::size_t size = Get16(h.data() + 2);
      records.push_back(stream_.Read(at + 4, size));
      at += 4 + size;
    }
    for (const Bytes& r : records) segments.push_back({r.data(), r.size()});
    if (!extension) {
      const SharedStrings all = ReadSst(segments, pool_);
      const std::size_t skip = all.texts.size() - plan_.sst_added.size();
      if (all.texts.size() < plan_.sst_added.size() ||
          !std::equal(plan_.sst_added.begin(), plan_.sst_added.end(),
                      all.texts.begin() + static_cast<std::ptrdiff_t>(skip))) {
        Wrong("the shared string table does not hold the new texts");
      }
      return;
    }
    const Bytes counts = Header(plan_.sst_unique_at, 4);
    if (Get32(counts.data()) != old + plan_.sst_added.size()) Wrong("the table's count is wrong");
    ContinuedReader in(segments.data(), segments.size(), "the new strings");
    for (std::string_view want : plan_.sst_added) {
      const std::uint16_t count = in.U16();
      const std::uint8_t flags = in.U8();
      if (in.Chars(count, HighByte(flags), pool_) != want) Wrong("a new string reads otherwise");
    }
    if (in.Remaining() != 0) Wrong("the new strings leave bytes over");
  }

  const BookData& book_;
  const BookPlan& plan_;
  const StreamPlan& stream_;
  std::vector<std::uint32_t> edited_;  // sorted
  std::vector<bool> edited_rows_;
  std::vector<std::uint32_t> seen_;
  Bytes data_;
  StringPool pool_;
};

}  // namespace

void CheckPlan(const BookData& book, const BookPlan& plan, std::size_t from) {
  PlanChecker(book, plan).Check(from);
}

}  // namespace vt::workbook::detail
