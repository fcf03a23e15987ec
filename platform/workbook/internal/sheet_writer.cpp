#include "platform/workbook/internal/sheet_writer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <map>
#include <set>

#include "platform/workbook/internal/records.h"
#include "platform/workbook/internal/utf.h"

namespace vt::workbook::detail {

namespace {

constexpr std::size_t kRowsPerBlock = 32;
constexpr std::size_t kRowRecord = 20;
constexpr std::size_t kMaxBlocks = kMaxRows / kRowsPerBlock;
constexpr std::size_t kLabelHeader = 9;  // row, column, XF, character count, flags

// Records that belong to the formula before them.
bool IsFormulaPart(std::uint16_t type) {
  return type == rt::kString || type == rt::kShrFmla || type == rt::kArray || type == rt::kTable ||
         type == rt::kContinue;
}

std::size_t FindIndex(const Bytes& stream, std::size_t begin, std::size_t end) {
  RecordReader in(stream, begin);
  Record r;
  int depth = 0;
  while (in.Position() < end && in.Next(r)) {
    if (r.type == rt::kBof) ++depth;
    if (r.type == rt::kEof) --depth;
    if (depth == 1 && r.type == rt::kIndex && r.size >= 16) return r.offset;
  }
  return SIZE_MAX;
}

// Moves the positions an INDEX record keeps by `delta` bytes.
Bytes MovedIndex(const Bytes& stream, std::size_t at, std::ptrdiff_t delta) {
  const std::size_t size = Get16(stream.data() + at + 2);
  Bytes index(stream.begin() + static_cast<std::ptrdiff_t>(at),
              stream.begin() + static_cast<std::ptrdiff_t>(at + 4 + size));
  std::uint8_t* d = index.data() + 4;
  auto move = [&](std::uint8_t* p) {
    Put32(p, static_cast<std::uint32_t>(static_cast<std::ptrdiff_t>(Get32(p)) + delta));
  };
  if (size >= 16 && Get32(d + 12) != 0) move(d + 12);
  for (std::size_t k = 16; k + 4 <= size; k += 4) move(d + k);
  return index;
}

SheetLayout Moved(const SheetLayout& layout, std::ptrdiff_t delta) {
  auto move = [delta](std::size_t& at) {
    if (at != SheetLayout::kNone)
      at = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(at) + delta);
  };
  SheetLayout out = layout;
  move(out.index_at);
  move(out.dimensions_at);
  move(out.table_end);
  for (Block& b : out.blocks) {
    move(b.begin);
    move(b.dbcell);
    move(b.end);
  }
  return out;
}

// A cell record: a span of the original stream, or a record made here (in
// the writer's arena). Kept small: a sheet may hold half a million.
struct Item {
  std::uint16_t first = 0, last = 0;
  std::uint32_t offset = 0, size = 0;
  bool own = false;
};

struct RowBuild {
  bool has_row = false;
  bool touched = false;
  std::size_t row_offset = 0;
  std::vector<Item> items;
};

enum class Slot { kPlain, kIndex, kDimensions, kTable };

struct Other {
  Slot slot;
  std::size_t offset, end;
};

Bytes CellRecord(std::uint16_t type, std::size_t row, std::size_t col, std::uint16_t xf,
                 const std::uint8_t* tail, std::size_t tail_size) {
  Bytes out;
  out.reserve(10 + tail_size);
  Append16(out, type);
  Append16(out, static_cast<std::uint32_t>(6 + tail_size));
  Append16(out, static_cast<std::uint32_t>(row));
  Append16(out, static_cast<std::uint32_t>(col));
  Append16(out, xf);
  AppendBytes(out, tail, tail_size);
  return out;
}

// The text's UTF-16 units, into a buffer the caller keeps from cell to cell,
// and whether a LABEL record holds them.
bool LabelUnits(std::string_view text, std::u16string& units) {
  if (!Utf8ToUtf16(text, units)) return false;
  return kLabelHeader + units.size() * (BeyondLatin1(units) ? 2 : 1) <= kMaxRecordData;
}

// A LABEL record: the text in the cell itself, so that a new text leaves the
// shared string table (and everything after it in the file) where it was.
void AppendLabelRecord(Bytes& out, std::size_t row, std::size_t col, std::uint16_t xf,
                       const std::u16string& units) {
  const bool high = BeyondLatin1(units);
  Append16(out, rt::kLabel);
  Append16(out, static_cast<std::uint32_t>(kLabelHeader + units.size() * (high ? 2 : 1)));
  Append16(out, static_cast<std::uint32_t>(row));
  Append16(out, static_cast<std::uint32_t>(col));
  Append16(out, xf);
  Append16(out, static_cast<std::uint32_t>(units.size()));
  out.push_back(CharsFlag(high));
  AppendChars(out, units, high);
}

// A NUMBER record's value from the text an edit left in the cell, which the
// General format made (so the digits read back as they were written).
std::array<std::uint8_t, 8> NumberData(std::string_view text) {
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  std::array<std::uint8_t, 8> data;
  Put32(data.data(), static_cast<std::uint32_t>(bits));
  Put32(data.data() + 4, static_cast<std::uint32_t>(bits >> 32));
  return data;
}

struct Extent {
  bool any = false;
  std::size_t first_row = SIZE_MAX, end_row = 0, first_col = SIZE_MAX, end_col = 0;
};

// The used range of the sheet as it is now.
Extent ExtentOf(const SheetData& sheet) {
  Extent e;
  for (std::size_t c = 0; c < sheet.columns.size(); ++c) {
    const auto& kinds = sheet.columns[c].kind;
    std::size_t first = 0;
    while (first < kinds.size() && kinds[first] == CellKind::kEmpty) ++first;
    if (first == kinds.size()) continue;
    std::size_t last = kinds.size() - 1;
    while (kinds[last] == CellKind::kEmpty) --last;
    e.any = true;
    e.first_row = std::min(e.first_row, first);
    e.end_row = std::max(e.end_row, last + 1);
    e.first_col = std::min(e.first_col, c);
    e.end_col = c + 1;
  }
  return e;
}

class EditedSheetWriter {
 public:
  EditedSheetWriter(const BookData& book, const SheetData& sheet, const NewStrings& new_strings,
                    StreamPlan& plan)
      : book_(book),
        added_(book.boundsheets[sheet.boundsheet].added),
        template_(added_ ? NewWorksheetRecords() : Bytes{}),
        stream_(added_ ? template_ : book.stream),
        sheet_(sheet),
        layout_(sheet.layout),
        begin_(added_ ? 0 : book.boundsheets[sheet.boundsheet].begin),
        end_(added_ ? template_.size() : book.boundsheets[sheet.boundsheet].end),
        new_strings_(new_strings),
        plan_(plan) {}

  SheetEmit Write() {
    ChooseMode();
    Collect(partial_ ? region_begin_ : begin_);
    ApplyEdits();
    out_.begin = plan_.Size();
    if (partial_) {
      EmitPartial();
    } else {
      EmitFull();
    }
    out_.end = plan_.Size();
    out_.sst_refs = static_cast<std::uint32_t>(
        std::max<std::int64_t>(0, std::int64_t{sheet_.sst_refs} - refs_removed_ + refs_added_));
    return std::move(out_);
  }

 private:
  // The rows met from base_ on, made as they are met: a save that appends a
  // few rows pays for them, not for every row the format allows.
  RowBuild& RowOf(std::size_t row) {
    if (row < base_) {
      rows_.insert(rows_.begin(), base_ - row, RowBuild{});
      base_ = row;
    }
    if (row - base_ >= rows_.size()) rows_.resize(row - base_ + 1);
    return rows_[row - base_];
  }

  const std::uint8_t* Data(const Item& item) const {
    return (item.own ? arena_.data() : stream_.data()) + item.offset;
  }
  void Own(Item& item, const Bytes& record) {
    item.own = true;
    item.offset = static_cast<std::uint32_t>(arena_.size());
    item.size = static_cast<std::uint32_t>(record.size());
    arena_.insert(arena_.end(), record.begin(), record.end());
  }

  // Records [from, to) of the sheet as read, or of those a new sheet begins with.
  void CopyRecords(std::size_t from, std::size_t to) {
    if (added_) {
      plan_.Add(stream_.data() + from, to - from);
    } else {
      plan_.Copy(from, to - from);
    }
  }

  // Rewriting from a block on needs a sound table whose INDEX (if any) has
  // room for the blocks the edits add; otherwise the whole sheet is written.
  void ChooseMode() {
    // Edits come in runs within a block: one set insert a run.
    std::size_t last = SIZE_MAX;
    for (std::uint32_t key : sheet_.edited) {
      const std::size_t block = KeyRow(key) / kRowsPerBlock;
      if (block != last) touched_.insert(block);
      last = block;
    }
    const SheetLayout& l = layout_;
    if (!l.blocked || touched_.empty()) return;
    copy_blocks_ = true;
    const std::size_t table_begin = l.blocks.front().begin;
    if ((l.index_at != SheetLayout::kNone && l.index_at > table_begin) ||
        (l.dimensions_at != SheetLayout::kNone && l.dimensions_at > table_begin) ||
        (l.index_at != SheetLayout::kNone && l.dimensions_at != SheetLayout::kNone &&
         l.index_at > l.dimensions_at)) {
      return;
    }
    const std::size_t first = *touched_.begin();
    base_ = first * kRowsPerBlock;  // rows before the first edited block are copied as they are
    keep_ = 0;
    while (keep_ < l.blocks.size() && l.blocks[keep_].number < first) ++keep_;
    std::set<std::size_t> numbers(touched_);
    for (std::size_t i = keep_; i < l.blocks.size(); ++i) numbers.insert(l.blocks[i].number);
    if (l.index_at != SheetLayout::kNone && keep_ + numbers.size() > l.blocks.size() + l.spares) {
      return;  // INDEX would grow
    }
    partial_ = true;
    region_begin_ = keep_ < l.blocks.size() ? l.blocks[keep_].begin : l.blocks.back().end;
  }

  bool Skipped(std::size_t row) const {
    return copy_blocks_ && touched_.count(row / kRowsPerBlock) == 0;
  }

  // Where Collect stands in the cell table.
  struct CollectState {
    bool in_formula = false;  // after a FORMULA, whose STRING and others go with it
    bool skipping = false;    // the last cell's block is copied as it is
    std::size_t last_row = SIZE_MAX;
  };

  // The sheet's records from `from` on: those of the cell table into rows,
  // the others kept in their order around the table's place.
  void Collect(std::size_t from) {
    RecordReader in(stream_, from);
    Record r;
    int depth = from == begin_ ? 0 : 1;
    bool table_placed = partial_;
    if (partial_) others_.push_back({Slot::kTable, 0, 0});
    CollectState state;
    while (in.Position() < end_ && in.Next(r)) {
      if (r.type == rt::kBof) ++depth;
      bool top = depth == 1;
      if (r.type == rt::kEof) --depth;
      if (!top) {
        others_.push_back({Slot::kPlain, r.offset, r.End()});
        state.in_formula = false;
        continue;
      }
      if (state.in_formula && IsFormulaPart(r.type)) {
        if (!state.skipping && state.last_row != SIZE_MAX) {
          Item& formula = RowOf(state.last_row).items.back();
          formula.size = static_cast<std::uint32_t>(r.End() - formula.offset);
        }
        continue;
      }
      state.in_formula = false;
      bool table = IsCellRecord(r.type) || r.type == rt::kRow || r.type == rt::kDbCell;
      // Past table_end, what a partial rewrite copies is no part of the table.
      if (partial_ && r.offset >= layout_.table_end) table = false;
      if (table && !table_placed) {
        others_.push_back({Slot::kTable, 0, 0});
        table_placed = true;
      }
      if (table) {
        CollectTableRecord(r, state);
      } else {
        CollectOther(r);
      }
    }
    if (!table_placed) PlaceEmptyTable();
  }

  void CollectOther(const Record& r) {
    if (r.type == rt::kIndex) {
      had_index_ = true;
      others_.push_back({Slot::kIndex, r.offset, r.End()});
    } else if (r.type == rt::kDimensions) {
      others_.push_back({Slot::kDimensions, r.offset, r.End()});
    } else {
      others_.push_back({Slot::kPlain, r.offset, r.End()});
    }
  }

  // ROW and the cells; DBCELL is rebuilt with the blocks.
  void CollectTableRecord(const Record& r, CollectState& state) {
    if (r.type == rt::kRow && r.size == 16) {
      std::size_t row = Get16(r.data);
      if (Skipped(row)) return;
      RowBuild& rb = RowOf(row);
      rb.has_row = true;
      rb.row_offset = r.offset;
    } else if (IsCellRecord(r.type) && r.size >= 4) {
      std::size_t row = Get16(r.data);
      state.skipping = Skipped(row);
      state.in_formula = r.type == rt::kFormula;
      if (state.skipping) return;
      if (r.type == rt::kLabelSst) ++refs_removed_;
      Item item;
      item.first = Get16(r.data + 2);
      item.last = item.first;
      if ((r.type == rt::kMulRk || r.type == rt::kMulBlank) && r.size >= 6) {
        item.last = Get16(r.data + r.size - 2);
      }
      item.offset = static_cast<std::uint32_t>(r.offset);
      item.size = 4u + r.size;
      RowOf(row).items.push_back(item);
      state.last_row = row;
    }
  }

  // A sheet without cells: the table goes after DIMENSIONS, or before the window.
  void PlaceEmptyTable() {
    auto at = std::find_if(others_.begin(), others_.end(),
                           [](const Other& o) { return o.slot == Slot::kDimensions; });
    if (at != others_.end()) {
      ++at;
    } else {
      at = std::find_if(others_.begin(), others_.end(), [this](const Other& o) {
        return o.slot == Slot::kPlain && Get16(stream_.data() + o.offset) == rt::kWindow2;
      });
      if (at == others_.end()) at = others_.end() - 1;
    }
    others_.insert(at, {Slot::kTable, 0, 0});
  }

  // Splits MULRK / MULBLANK into single cells so that one of them can change.
  void Explode(std::vector<Item>& items, std::size_t at) {
    const Item multi = items[at];
    const std::uint8_t* d = Data(multi) + 4;
    const std::uint16_t type = Get16(Data(multi));
    std::size_t row = Get16(d);
    std::vector<Item> singles;
    for (std::size_t col = multi.first; col <= multi.last; ++col) {
      std::size_t k = col - multi.first;
      Item item;
      item.first = item.last = static_cast<std::uint16_t>(col);
      if (type == rt::kMulRk) {
        Own(item, CellRecord(rt::kRk, row, col, Get16(d + 4 + 6 * k), d + 6 + 6 * k, 4));
      } else {
        Own(item, CellRecord(rt::kBlank, row, col, Get16(d + 4 + 2 * k), nullptr, 0));
      }
      d = Data(multi) + 4;  // the arena may have moved
      singles.push_back(std::move(item));
    }
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(at));
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(at),
                 std::make_move_iterator(singles.begin()), std::make_move_iterator(singles.end()));
  }

  void ApplyEdits() {
    std::vector<std::uint32_t> keys = sheet_.edited;
    if (!std::is_sorted(keys.begin(), keys.end())) std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    for (std::size_t k = 0; k < keys.size(); ++k) {
      const std::uint32_t key = keys[k];
      std::size_t row = KeyRow(key), col = KeyColumn(key);
      RowBuild& rb = RowOf(row);
      rb.touched = true;
      if (k == 0 || KeyRow(keys[k - 1]) != row) {
        // Room for the row's edits at once: a new row gets all its cells here.
        std::size_t edits = 1;
        while (k + edits < keys.size() && KeyRow(keys[k + edits]) == row) ++edits;
        rb.items.reserve(rb.items.size() + edits);
      }
      std::uint16_t xf = book_.default_xf;
      bool had = false;
      for (std::size_t i = 0; i < rb.items.size();) {
        Item& item = rb.items[i];
        if (col < item.first || col > item.last) {
          ++i;
          continue;
        }
        if (item.first != item.last) {
          Explode(rb.items, i);
          continue;
        }
        xf = Get16(Data(item) + 8);
        had = true;
        rb.items.erase(rb.items.begin() + static_cast<std::ptrdiff_t>(i));
      }
      CellKind kind = CellKind::kEmpty;
      std::string_view text;
      if (col < sheet_.columns.size() && row < sheet_.columns[col].kind.size()) {
        kind = sheet_.columns[col].kind[row];
        text = sheet_.columns[col].text[row];
      }
      Item item;
      item.first = item.last = static_cast<std::uint16_t>(col);
      if (kind == CellKind::kText) {
        if (LabelUnits(text, units_)) {
          item.own = true;
          item.offset = static_cast<std::uint32_t>(arena_.size());
          AppendLabelRecord(arena_, row, col, xf, units_);
          item.size = static_cast<std::uint32_t>(arena_.size() - item.offset);
        } else {
          std::uint8_t index[4];
          Put32(index, new_strings_.at(text));
          Own(item, CellRecord(rt::kLabelSst, row, col, xf, index, 4));
        }
      } else if (kind == CellKind::kNumber) {
        Own(item, CellRecord(rt::kNumber, row, col, xf, NumberData(text).data(), 8));
      } else if (kind == CellKind::kBlank || (kind == CellKind::kEmpty && had)) {
        Own(item, CellRecord(rt::kBlank, row, col, xf, nullptr, 0));
      } else {
        continue;
      }
      auto at = std::find_if(rb.items.begin(), rb.items.end(),
                             [col](const Item& i) { return i.first > col; });
      rb.items.insert(at, std::move(item));
    }
  }

  void EmitRow(std::size_t row, const RowBuild& rb) {
    std::uint8_t out[kRowRecord];  // one a row: not worth an allocation
    if (rb.has_row) {
      std::memcpy(out, stream_.data() + rb.row_offset, kRowRecord);
    } else {
      Put16(out, rt::kRow);
      Put16(out + 2, 16);
      Put16(out + 4, static_cast<std::uint32_t>(row));
      Put32(out + 6, 0);
      Put16(out + 10, sheet_.default_row_height);
      Put32(out + 12, 0);
      Put16(out + 16, kRowAlwaysSet);
      Put16(out + 18, book_.default_xf);
    }
    if ((rb.touched || !rb.has_row) && !rb.items.empty()) {
      Put16(out + 6, rb.items.front().first);
      Put16(out + 8, static_cast<std::uint32_t>(rb.items.back().last) + 1);
    }
    plan_.Add(out, kRowRecord);
  }

  // One block of rows, its cells and its DBCELL; returns the DBCELL's position.
  std::size_t EmitBlock(const std::vector<std::size_t>& rows) {
    const std::size_t first_row_at = plan_.Size();
    for (std::size_t row : rows) EmitRow(row, rows_[row - base_]);
    std::vector<std::size_t> cell_at;
    for (std::size_t row : rows) {
      cell_at.push_back(plan_.Size());
      for (const Item& item : rows_[row - base_].items) {
        const std::uint8_t* data = Data(item);
        if (Get16(data) == rt::kLabelSst) ++refs_added_;
        if (item.own) {
          plan_.Add(data, item.size);
        } else {
          plan_.Copy(item.offset, item.size);
        }
      }
    }
    const std::size_t at = plan_.Size();
    Bytes db;
    Append16(db, rt::kDbCell);
    Append16(db, static_cast<std::uint32_t>(4 + 2 * rows.size()));
    Append32(db, static_cast<std::uint32_t>(at - first_row_at));
    std::size_t previous = first_row_at + kRowRecord;
    for (std::size_t pos : cell_at) {
      Append16(db, static_cast<std::uint32_t>(pos - previous));
      previous = pos;
    }
    plan_.Add(db);
    return at;
  }

  // The cell table from the block `first_kept_block` of the old layout on:
  // untouched blocks copied,
  // the others built from their rows.
  void EmitTable(std::size_t first_kept_block) {
    std::map<std::size_t, const Block*> old_blocks;
    if (copy_blocks_) {
      for (std::size_t i = first_kept_block; i < layout_.blocks.size(); ++i) {
        old_blocks[layout_.blocks[i].number] = &layout_.blocks[i];
      }
    }
    std::map<std::size_t, std::vector<std::size_t>> built;  // block -> rows
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      const RowBuild& rb = rows_[i];
      if (rb.has_row || !rb.items.empty()) built[(base_ + i) / kRowsPerBlock].push_back(base_ + i);
    }
    std::set<std::size_t> numbers;
    for (const auto& [n, block] : old_blocks) numbers.insert(n);
    for (const auto& [n, rows] : built) numbers.insert(n);
    for (std::size_t n : numbers) {
      auto old = old_blocks.find(n);
      Block b;
      b.number = n;
      b.begin = plan_.Size();
      if (old != old_blocks.end() && touched_.count(n) == 0) {
        plan_.Copy(old->second->begin, old->second->end - old->second->begin);
        b.dbcell = b.begin + (old->second->dbcell - old->second->begin);
      } else {
        b.dbcell = EmitBlock(built[n]);
      }
      b.end = plan_.Size();
      out_.layout.blocks.push_back(b);
    }
  }

  void EmitSpares(std::size_t count) {
    Bytes spare;
    Append16(spare, rt::kDbCell);
    Append16(spare, 4);
    Append32(spare, 0);
    for (std::size_t k = 0; k < count; ++k) plan_.Add(spare);
    out_.layout.spares = count;
  }

  Bytes Dimensions(std::size_t at, const Extent& e) const {
    Bytes d(stream_.begin() + static_cast<std::ptrdiff_t>(at),
            stream_.begin() + static_cast<std::ptrdiff_t>(at + 18));
    Put32(d.data() + 4, e.any ? static_cast<std::uint32_t>(e.first_row) : 0);
    Put32(d.data() + 8, e.any ? static_cast<std::uint32_t>(e.end_row) : 0);
    Put16(d.data() + 12, e.any ? static_cast<std::uint32_t>(e.first_col) : 0);
    Put16(d.data() + 14, e.any ? static_cast<std::uint32_t>(e.end_col) : 0);
    return d;
  }

  void FillIndex(std::size_t at, const Extent& e, std::size_t defcol) {
    std::uint8_t* d = plan_.At(at) + 4;
    Put32(d, 0);
    Put32(d + 4, e.any ? static_cast<std::uint32_t>(e.first_row) : 0);
    Put32(d + 8, e.any ? static_cast<std::uint32_t>(e.end_row) : 0);
    Put32(d + 12, static_cast<std::uint32_t>(defcol));
    std::size_t k = 16;
    for (const Block& b : out_.layout.blocks) {
      Put32(plan_.At(at + 4 + k), static_cast<std::uint32_t>(b.dbcell));
      k += 4;
    }
    const std::size_t spares_at = out_.layout.blocks.empty() ? 0 : out_.layout.blocks.back().end;
    for (std::size_t s = 0; s < out_.layout.spares; ++s) {
      Put32(plan_.At(at + 4 + k), static_cast<std::uint32_t>(spares_at + 8 * s));
      k += 4;
    }
  }

  std::size_t AddIndexPlaceholder(std::size_t entries) {
    Bytes index;
    Append16(index, rt::kIndex);
    Append16(index, static_cast<std::uint32_t>(16 + 4 * entries));
    index.resize(4 + 16 + 4 * entries, 0);
    return plan_.Add(index);
  }

  void EmitPartial() {
    const std::ptrdiff_t delta =
        static_cast<std::ptrdiff_t>(out_.begin) - static_cast<std::ptrdiff_t>(begin_);
    const Extent extent = ExtentOf(sheet_);
    std::size_t pos = begin_;
    std::size_t index_at = SIZE_MAX, entries = 0, defcol = 0;
    if (layout_.index_at != SheetLayout::kNone) {
      plan_.Copy(pos, layout_.index_at - pos);
      const std::uint8_t* old = stream_.data() + layout_.index_at;
      entries = (Get16(old + 2) - 16u) / 4u;
      defcol = Get32(old + 4 + 12);
      if (defcol != 0)
        defcol = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(defcol) + delta);
      index_at = AddIndexPlaceholder(entries);
      out_.layout.index_at = index_at;
      pos = layout_.index_at + 4 + Get16(old + 2);
    }
    if (layout_.dimensions_at != SheetLayout::kNone) {
      plan_.Copy(pos, layout_.dimensions_at - pos);
      out_.layout.dimensions_at = plan_.Add(Dimensions(layout_.dimensions_at, extent));
      pos = layout_.dimensions_at + 18;
    }
    plan_.Copy(pos, region_begin_ - pos);
    for (std::size_t i = 0; i < keep_; ++i) {
      const Block& b = layout_.blocks[i];
      out_.layout.blocks.push_back(
          {b.number, static_cast<std::size_t>(static_cast<std::ptrdiff_t>(b.begin) + delta),
           static_cast<std::size_t>(static_cast<std::ptrdiff_t>(b.dbcell) + delta),
           static_cast<std::size_t>(static_cast<std::ptrdiff_t>(b.end) + delta)});
    }
    EmitTable(keep_);
    if (index_at != SIZE_MAX) EmitSpares(entries - out_.layout.blocks.size());
    out_.layout.table_end = plan_.Size();
    for (const Other& o : others_) {
      if (o.slot == Slot::kPlain) CopyRecords(o.offset, o.end);
    }
    if (index_at != SIZE_MAX) FillIndex(index_at, extent, defcol);
    out_.layout.blocked = !out_.layout.blocks.empty();
  }

  void EmitFull() {
    const Extent extent = ExtentOf(sheet_);
    std::size_t index_at = SIZE_MAX, defcol = 0;
    for (const Other& o : others_) {
      switch (o.slot) {
        case Slot::kPlain:
          if (Get16(stream_.data() + o.offset) == rt::kDefColWidth) defcol = plan_.Size();
          CopyRecords(o.offset, o.end);
          break;
        case Slot::kIndex:
          index_at = AddIndexPlaceholder(IndexEntries());  // filled once the blocks are placed
          out_.layout.index_at = index_at;
          break;
        case Slot::kDimensions:
          if (o.end - o.offset >= 18) {
            out_.layout.dimensions_at = plan_.Add(Dimensions(o.offset, extent));
          } else {
            CopyRecords(o.offset, o.end);
          }
          break;
        case Slot::kTable:
          EmitTable(0);
          if (had_index_) {
            EmitSpares(IndexEntries() - out_.layout.blocks.size());
          }
          out_.layout.table_end = plan_.Size();
          break;
      }
    }
    if (index_at != SIZE_MAX) FillIndex(index_at, extent, defcol);
    out_.layout.blocked = !out_.layout.blocks.empty();
  }

  // Entries of the INDEX a whole sheet gets: its blocks and room for more.
  std::size_t IndexEntries() {
    if (index_entries_ != SIZE_MAX) return index_entries_;
    std::set<std::size_t> numbers;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
      if (rows_[i].has_row || !rows_[i].items.empty()) numbers.insert((base_ + i) / kRowsPerBlock);
    }
    if (copy_blocks_) {
      for (const Block& b : layout_.blocks) numbers.insert(b.number);
    }
    const std::size_t blocks = numbers.size();
    const std::size_t spares =
        std::min(kMaxBlocks - std::min(kMaxBlocks, blocks), std::max<std::size_t>(128, blocks / 4));
    index_entries_ = blocks + spares;
    return index_entries_;
  }

  const BookData& book_;
  const bool added_;      // a new sheet: its records come from template_
  const Bytes template_;  // declared before stream_, which may refer to it
  const Bytes& stream_;
  const SheetData& sheet_;
  const SheetLayout& layout_;
  const std::size_t begin_, end_;  // the substream in stream_
  const NewStrings& new_strings_;
  StreamPlan& plan_;
  std::size_t base_ = 0;  // the row rows_ begins with
  std::vector<RowBuild> rows_;
  Bytes arena_;           // records made here
  std::u16string units_;  // a LABEL's text, kept to spare an allocation a cell
  std::vector<Other> others_;
  std::set<std::size_t> touched_;  // blocks holding an edit
  bool had_index_ = false;
  bool copy_blocks_ = false;  // untouched blocks go over as they are
  bool partial_ = false;
  std::size_t keep_ = 0;          // blocks before the rewritten part
  std::size_t region_begin_ = 0;  // where the rewritten part begins
  std::size_t index_entries_ = SIZE_MAX;
  std::int64_t refs_removed_ = 0, refs_added_ = 0;
  SheetEmit out_;
};

}  // namespace

bool FitsLabel(std::string_view text) {
  // Asked of every edited text: counted, not converted.
  const std::optional<Utf16Count> count = CountUtf16(text);
  return count && kLabelHeader + count->units * (count->beyond_latin1 ? 2 : 1) <= kMaxRecordData;
}

SheetEmit CopySheet(const BookData& book, const BoundSheet& sheet, const SheetLayout* layout,
                    StreamPlan& plan) {
  SheetEmit out;
  out.begin = plan.Size();
  const std::ptrdiff_t delta =
      static_cast<std::ptrdiff_t>(out.begin) - static_cast<std::ptrdiff_t>(sheet.begin);
  const std::size_t index =
      layout ? layout->index_at : FindIndex(book.stream, sheet.begin, sheet.end);
  if (index == SheetLayout::kNone || delta == 0) {
    plan.Copy(sheet.begin, sheet.end - sheet.begin);
  } else {
    plan.Copy(sheet.begin, index - sheet.begin);
    const Bytes moved = MovedIndex(book.stream, index, delta);
    plan.Add(moved);
    plan.Copy(index + moved.size(), sheet.end - index - moved.size());
  }
  out.end = plan.Size();
  if (layout) out.layout = Moved(*layout, delta);
  return out;
}

SheetEmit WriteEditedSheet(const BookData& book, const SheetData& sheet,
                           const NewStrings& new_strings, StreamPlan& plan) {
  return EditedSheetWriter(book, sheet, new_strings, plan).Write();
}

}  // namespace vt::workbook::detail
