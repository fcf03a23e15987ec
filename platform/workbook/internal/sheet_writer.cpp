#include "platform/workbook/internal/sheet_writer.h"

#include <algorithm>

#include "platform/workbook/internal/records.h"

namespace vt::workbook::detail {

namespace {

constexpr std::uint16_t kWindow2 = 0x023E;
constexpr std::size_t kRowsPerBlock = 32;
constexpr std::size_t kRowRecord = 20;

bool IsCell(std::uint16_t type) {
  switch (type) {
    case rt::kLabelSst:
    case rt::kLabel:
    case rt::kRString:
    case rt::kRk:
    case rt::kMulRk:
    case rt::kNumber:
    case rt::kFormula:
    case rt::kBlank:
    case rt::kMulBlank:
    case rt::kBoolErr:
      return true;
    default:
      return false;
  }
}

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
    if (depth == 1 && r.type == rt::kIndex && r.size >= 16) return r.offset + 4;
  }
  return SIZE_MAX;
}

struct Item {
  std::uint16_t first = 0, last = 0;
  std::size_t offset = 0, size = 0;  // a span of the original stream, or
  Bytes own;                         // a record made here
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

class EditedSheetWriter {
 public:
  EditedSheetWriter(const BookData& book, const SheetData& sheet,
                    const std::unordered_map<std::string_view, std::uint32_t>& new_strings)
      : book_(book),
        stream_(book.stream),
        sheet_(sheet),
        bs_(book.boundsheets[sheet.boundsheet]),
        new_strings_(new_strings),
        rows_(kMaxRows) {}

  SheetOutput Write() {
    Collect();
    ApplyEdits();
    Emit();
    return std::move(out_);
  }

 private:
  const std::uint8_t* Data(const Item& item) const {
    return item.own.empty() ? stream_.data() + item.offset : item.own.data();
  }
  std::size_t Size(const Item& item) const {
    return item.own.empty() ? item.size : item.own.size();
  }

  void Collect() {
    RecordReader in(stream_, bs_.begin);
    Record r;
    int depth = 0;
    bool table_placed = false;
    bool in_formula = false;
    RowBuild* last_row = nullptr;
    while (in.Position() < bs_.end && in.Next(r)) {
      if (r.type == rt::kBof) ++depth;
      bool top = depth == 1;
      if (r.type == rt::kEof) --depth;
      if (!top) {
        others_.push_back({Slot::kPlain, r.offset, r.End()});
        in_formula = false;
        continue;
      }
      if (in_formula && IsFormulaPart(r.type) && last_row) {
        last_row->items.back().size = r.End() - last_row->items.back().offset;
        continue;
      }
      in_formula = false;
      bool table = IsCell(r.type) || r.type == rt::kRow || r.type == rt::kDbCell;
      if (table && !table_placed) {
        others_.push_back({Slot::kTable, 0, 0});
        table_placed = true;
      }
      if (r.type == rt::kIndex) {
        had_index_ = true;
        others_.push_back({Slot::kIndex, r.offset, r.End()});
      } else if (r.type == rt::kDimensions) {
        others_.push_back({Slot::kDimensions, r.offset, r.End()});
      } else if (r.type == rt::kRow && r.size == 16) {
        RowBuild& rb = rows_[Get16(r.data)];
        rb.has_row = true;
        rb.row_offset = r.offset;
      } else if (r.type == rt::kDbCell) {
        // Rebuilt with the blocks.
      } else if (IsCell(r.type)) {
        RowBuild& rb = rows_[Get16(r.data)];
        Item item;
        item.first = Get16(r.data + 2);
        item.last = item.first;
        if (r.type == rt::kMulRk || r.type == rt::kMulBlank) item.last = Get16(r.data + r.size - 2);
        item.offset = r.offset;
        item.size = 4u + r.size;
        rb.items.push_back(std::move(item));
        last_row = &rb;
        in_formula = r.type == rt::kFormula;
      } else {
        others_.push_back({Slot::kPlain, r.offset, r.End()});
      }
    }
    if (!table_placed) {
      // A sheet without cells: the table goes after DIMENSIONS, or before the window.
      auto at = std::find_if(others_.begin(), others_.end(),
                             [](const Other& o) { return o.slot == Slot::kDimensions; });
      if (at != others_.end()) {
        ++at;
      } else {
        at = std::find_if(others_.begin(), others_.end(), [this](const Other& o) {
          return o.slot == Slot::kPlain && Get16(stream_.data() + o.offset) == kWindow2;
        });
        if (at == others_.end()) at = others_.end() - 1;
      }
      others_.insert(at, {Slot::kTable, 0, 0});
    }
  }

  // Splits MULRK / MULBLANK into single cells so that one of them can change.
  void Explode(std::vector<Item>& items, std::size_t at) {
    Item multi = std::move(items[at]);
    const std::uint8_t* d = Data(multi) + 4;
    std::uint16_t type = Get16(Data(multi));
    std::size_t row = Get16(d);
    std::vector<Item> singles;
    for (std::size_t col = multi.first; col <= multi.last; ++col) {
      std::size_t k = col - multi.first;
      Item item;
      item.first = item.last = static_cast<std::uint16_t>(col);
      if (type == rt::kMulRk) {
        item.own = CellRecord(rt::kRk, row, col, Get16(d + 4 + 6 * k), d + 6 + 6 * k, 4);
      } else {
        item.own = CellRecord(rt::kBlank, row, col, Get16(d + 4 + 2 * k), nullptr, 0);
      }
      singles.push_back(std::move(item));
    }
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(at));
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(at),
                 std::make_move_iterator(singles.begin()), std::make_move_iterator(singles.end()));
  }

  void ApplyEdits() {
    std::vector<std::uint32_t> keys = sheet_.edited;
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    for (std::uint32_t key : keys) {
      std::size_t row = key >> 8, col = key & 0xFF;
      RowBuild& rb = rows_[row];
      rb.touched = true;
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
        std::uint8_t index[4];
        Put32(index, new_strings_.at(text));
        item.own = CellRecord(rt::kLabelSst, row, col, xf, index, 4);
      } else if (kind == CellKind::kBlank || (kind == CellKind::kEmpty && had)) {
        item.own = CellRecord(rt::kBlank, row, col, xf, nullptr, 0);
      } else {
        continue;
      }
      auto at = std::find_if(rb.items.begin(), rb.items.end(),
                             [col](const Item& i) { return i.first > col; });
      rb.items.insert(at, std::move(item));
    }
  }

  void EmitRow(std::size_t row, const RowBuild& rb) {
    Bytes& out = out_.bytes;
    std::size_t at = out.size();
    if (rb.has_row) {
      AppendBytes(out, stream_.data() + rb.row_offset, kRowRecord);
    } else {
      Append16(out, rt::kRow);
      Append16(out, 16);
      Append16(out, static_cast<std::uint32_t>(row));
      Append32(out, 0);
      Append16(out, sheet_.default_row_height);
      Append32(out, 0);
      Append16(out, 0x0100);  // a reserved bit that must be set
      Append16(out, book_.default_xf);
    }
    if ((rb.touched || !rb.has_row) && !rb.items.empty()) {
      Put16(out.data() + at + 6, rb.items.front().first);
      Put16(out.data() + at + 8, static_cast<std::uint32_t>(rb.items.back().last) + 1);
    }
  }

  void Emit() {
    std::vector<std::size_t> used;
    std::size_t first_cell_row = SIZE_MAX, last_cell_row = 0, col_min = 0xFFFF, col_max = 0;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
      const RowBuild& rb = rows_[row];
      if (!rb.has_row && rb.items.empty()) continue;
      used.push_back(row);
      if (rb.items.empty()) continue;
      first_cell_row = std::min(first_cell_row, row);
      last_cell_row = row;
      col_min = std::min<std::size_t>(col_min, rb.items.front().first);
      col_max = std::max<std::size_t>(col_max, rb.items.back().last);
    }
    std::size_t blocks = 0;
    for (std::size_t i = 0; i < used.size(); ++i) {
      if (i == 0 || used[i] / kRowsPerBlock != used[i - 1] / kRowsPerBlock) ++blocks;
    }
    bool any = first_cell_row != SIZE_MAX;
    Bytes& out = out_.bytes;
    out.reserve(bs_.end - bs_.begin + sheet_.edited.size() * 16);
    std::size_t index_data = SIZE_MAX, defcol = 0;
    std::vector<std::uint32_t> dbcells;
    for (const Other& o : others_) {
      switch (o.slot) {
        case Slot::kPlain:
          if (Get16(stream_.data() + o.offset) == rt::kDefColWidth) defcol = out.size();
          AppendBytes(out, stream_.data() + o.offset, o.end - o.offset);
          break;
        case Slot::kIndex:
          Append16(out, rt::kIndex);
          Append16(out, static_cast<std::uint32_t>(16 + 4 * blocks));
          index_data = out.size();
          out.resize(out.size() + 16 + 4 * blocks, 0);
          break;
        case Slot::kDimensions: {
          std::size_t at = out.size();
          AppendBytes(out, stream_.data() + o.offset, o.end - o.offset);
          if (o.end - o.offset >= 18) {
            Put32(out.data() + at + 4, any ? static_cast<std::uint32_t>(first_cell_row) : 0);
            Put32(out.data() + at + 8, any ? static_cast<std::uint32_t>(last_cell_row + 1) : 0);
            Put16(out.data() + at + 12, any ? static_cast<std::uint32_t>(col_min) : 0);
            Put16(out.data() + at + 14, any ? static_cast<std::uint32_t>(col_max + 1) : 0);
          }
          break;
        }
        case Slot::kTable:
          for (std::size_t i = 0; i < used.size();) {
            std::size_t j = i;
            while (j < used.size() && used[j] / kRowsPerBlock == used[i] / kRowsPerBlock) ++j;
            std::size_t first_row_at = out.size();
            for (std::size_t k = i; k < j; ++k) EmitRow(used[k], rows_[used[k]]);
            std::vector<std::size_t> cell_at;
            for (std::size_t k = i; k < j; ++k) {
              cell_at.push_back(out.size());
              for (const Item& item : rows_[used[k]].items) {
                const std::uint8_t* data = Data(item);
                if (Get16(data) == rt::kLabelSst) ++out_.sst_refs;
                AppendBytes(out, data, Size(item));
              }
            }
            if (had_index_) {
              std::size_t at = out.size();
              dbcells.push_back(static_cast<std::uint32_t>(at));
              Bytes db;
              Append32(db, static_cast<std::uint32_t>(at - first_row_at));
              std::size_t previous = first_row_at + kRowRecord;
              for (std::size_t pos : cell_at) {
                Append16(db, static_cast<std::uint32_t>(pos - previous));
                previous = pos;
              }
              AppendRecord(out, rt::kDbCell, db);
            }
            i = j;
          }
          break;
      }
    }
    if (index_data != SIZE_MAX) {
      out_.index_data = index_data;
      Put32(out.data() + index_data + 4, any ? static_cast<std::uint32_t>(first_cell_row) : 0);
      Put32(out.data() + index_data + 8, any ? static_cast<std::uint32_t>(last_cell_row + 1) : 0);
      Put32(out.data() + index_data + 12, static_cast<std::uint32_t>(defcol));
      for (std::size_t b = 0; b < dbcells.size(); ++b) {
        Put32(out.data() + index_data + 16 + 4 * b, dbcells[b]);
      }
    }
    out_.base = 0;
  }

  const BookData& book_;
  const Bytes& stream_;
  const SheetData& sheet_;
  const BoundSheet& bs_;
  const std::unordered_map<std::string_view, std::uint32_t>& new_strings_;
  std::vector<RowBuild> rows_;
  std::vector<Other> others_;
  bool had_index_ = false;
  SheetOutput out_;
};

}  // namespace

SheetOutput CopySheet(const Bytes& stream, const BoundSheet& sheet) {
  SheetOutput out;
  out.bytes.assign(stream.begin() + static_cast<std::ptrdiff_t>(sheet.begin),
                   stream.begin() + static_cast<std::ptrdiff_t>(sheet.end));
  out.base = sheet.begin;
  std::size_t index = FindIndex(stream, sheet.begin, sheet.end);
  if (index != SIZE_MAX) out.index_data = index - sheet.begin;
  return out;
}

SheetOutput WriteEditedSheet(
    const BookData& book, const SheetData& sheet,
    const std::unordered_map<std::string_view, std::uint32_t>& new_strings) {
  return EditedSheetWriter(book, sheet, new_strings).Write();
}

void PlaceSheet(SheetOutput& sheet, std::size_t position) {
  if (sheet.index_data == SIZE_MAX) return;
  std::uint8_t* index = sheet.bytes.data() + sheet.index_data;
  std::size_t size = Get16(index - 2);
  auto move = [&](std::uint8_t* p) {
    std::uint32_t v = Get32(p);
    Put32(p, static_cast<std::uint32_t>(v - sheet.base + position));
  };
  if (Get32(index + 12) != 0) move(index + 12);
  for (std::size_t at = 16; at + 4 <= size; at += 4) move(index + at);
  sheet.base = position;
}

}  // namespace vt::workbook::detail
