#include "platform/workbook/internal/book_writer.h"

#include <algorithm>

#include "platform/workbook/internal/records.h"
#include "platform/workbook/internal/utf.h"

namespace vt::workbook::detail {

namespace {

constexpr std::size_t kMaxExtSstBuckets = (kMaxRecordData - 2) / 8;
constexpr std::uint16_t kSupBook = 0x01AE;
// SUPBOOK's marker of the workbook's own entry, after its count of sheets.
constexpr std::uint16_t kSupBookSelf = 0x0401;

// Moves the stream positions of the EXTSST entries in `data` (from the
// record's data on) by `delta`, up to `end`.
void MoveExtSst(Bytes& data, std::size_t end, std::ptrdiff_t delta) {
  for (std::size_t k = 2; k + 8 <= end; k += 8) {
    // Modulo 2^32, as the field wraps: the same on 32- and 64-bit builds.
    Put32(data.data() + k, Get32(data.data() + k) + static_cast<std::uint32_t>(delta));
  }
}

class BookPlanner {
 public:
  explicit BookPlanner(const BookData& book)
      : book_(book), plan_(std::make_unique<BookPlan>(book.stream)) {}

  std::unique_ptr<BookPlan> Plan() {
    CollectNewStrings();
    plan_->has_sst = book_.has_sst || !plan_->sst_added.empty();
    WriteGlobals();
    // The SST's header holds the total of LABELSST cells, known once the
    // sheets are written: it was given a placeholder.
    std::int64_t refs = book_.sst.total_refs;
    PlaceSheets(refs);
    plan_->total_refs = static_cast<std::uint32_t>(refs < 0 ? 0 : refs);
    if (plan_->has_sst) Put32(plan_->stream.At(plan_->sst_unique_at - 4), plan_->total_refs);
    return std::move(plan_);
  }

 private:
  // Texts of edited cells too long for a LABEL record go to the end of the
  // string table, so that every untouched LABELSST keeps pointing at its string.
  void CollectNewStrings() {
    for (const auto& sheet : book_.sheets) {
      for (std::uint32_t key : sheet->edited) {
        std::size_t row = KeyRow(key), col = KeyColumn(key);
        if (col >= sheet->columns.size() || row >= sheet->columns[col].kind.size()) continue;
        if (sheet->columns[col].kind[row] != CellKind::kText) continue;
        std::string_view text = sheet->columns[col].text[row];
        if (FitsLabel(text)) continue;
        auto index = static_cast<std::uint32_t>(book_.sst.texts.size() + plan_->sst_added.size());
        if (new_strings_.emplace(text, index).second) plan_->sst_added.push_back(text);
      }
    }
  }

  void Counts(std::uint32_t unique) {
    Bytes counts(8, 0);  // the total is filled in once the sheets are written
    Put32(counts.data() + 4, unique);
    plan_->sst_unique_at = plan_->stream.Add(counts) + 4;
  }

  void WriteSst() {
    StreamPlan& out = plan_->stream;
    const std::size_t added = plan_->sst_added.size();
    plan_->sst_begin = out.Size();
    // New BOUNDSHEET records before the table move it.
    sst_shift_ =
        static_cast<std::ptrdiff_t>(out.Size()) - static_cast<std::ptrdiff_t>(book_.sst_begin);
    extsst_.clear();
    if (added == 0) {
      out.Copy(book_.sst_begin, 4);
      Counts(static_cast<std::uint32_t>(book_.sst.texts.size()));
      out.Copy(book_.sst_begin + 12, book_.sst_end - book_.sst_begin - 12);
      plan_->sst_end = out.Size();
      return;
    }
    // The table as read stays byte for byte; the new strings follow in
    // CONTINUE records of their own.
    std::size_t per_bucket = SstBucketSize(book_.sst.texts.size());
    if (old_extsst_ != SIZE_MAX) {
      per_bucket = std::max<std::size_t>(1, Get16(book_.stream.data() + old_extsst_ + 4));
    }
    const std::size_t total = book_.sst.texts.size() + added;
    if ((total + per_bucket - 1) / per_bucket <= kMaxExtSstBuckets) {
      out.Copy(book_.sst_begin, 4);
      Counts(static_cast<std::uint32_t>(total));
      out.Copy(book_.sst_begin + 12, book_.sst_end - book_.sst_begin - 12);
      Bytes strings;
      Bytes entries;
      AppendSstStrings(plan_->sst_added, book_.sst.texts.size(), per_bucket, out.Size(), strings,
                       entries);
      plan_->sst_added_at = out.Add(strings);
      plan_->sst_end = out.Size();
      if (old_extsst_ != SIZE_MAX) {
        const std::size_t size = Get16(book_.stream.data() + old_extsst_ + 2);
        extsst_.assign(book_.stream.begin() + static_cast<std::ptrdiff_t>(old_extsst_ + 4),
                       book_.stream.begin() + static_cast<std::ptrdiff_t>(old_extsst_ + 4 + size));
        MoveExtSst(extsst_, extsst_.size(), sst_shift_);
        extsst_.insert(extsst_.end(), entries.begin(), entries.end());
      }
      return;
    }
    // Too many buckets for the index as it is: the table is written anew.
    SharedStrings all;
    all.texts = book_.sst.texts;
    all.texts.insert(all.texts.end(), plan_->sst_added.begin(), plan_->sst_added.end());
    all.extras = book_.sst.extras;
    Bytes table;
    detail::WriteSst(all, table);
    AddTable(std::move(table));
    replaced_extsst_ = true;
  }

  // The globals as read, but for the string table, its index, the sheets
  // added (BOUNDSHEET records after the last one) and the count of sheets.
  void WriteGlobals() {
    StreamPlan& out = plan_->stream;
    RecordReader in(book_.stream, 0);
    Record r;
    std::size_t added = 0, last_boundsheet = SIZE_MAX;
    for (const BoundSheet& bs : book_.boundsheets) {
      if (bs.added) {
        ++added;
      } else {
        last_boundsheet = bs.record_offset;
      }
    }
    if (book_.has_sst) {
      RecordReader after(book_.stream, book_.sst_end);
      Record e;
      if (after.Next(e) && e.type == rt::kExtSst) old_extsst_ = e.offset;
    }
    while (in.Position() < book_.globals_end && in.Next(r)) {
      if (book_.has_sst && r.offset == book_.sst_begin) {
        WriteSst();
        while (in.Position() < book_.sst_end && in.Next(r)) {
        }
        continue;
      }
      if (r.type == rt::kExtSst && WriteExtSst(r)) continue;
      if (r.type == rt::kBoundSheet) {
        plan_->boundsheet_at.push_back(out.Add(book_.stream.data() + r.offset, r.End() - r.offset));
        if (r.offset == last_boundsheet) AddBoundSheets();
        continue;
      }
      if (added != 0 && r.type == kSupBook && r.size == 4 && Get16(r.data + 2) == kSupBookSelf) {
        // The workbook's own entry among the linked ones counts its sheets.
        Bytes data(r.data, r.data + r.size);
        Put16(data.data(), static_cast<std::uint32_t>(book_.boundsheets.size()));
        AddRecord(kSupBook, data);
        continue;
      }
      if (r.offset == book_.globals_eof) {
        if (last_boundsheet == SIZE_MAX) AddBoundSheets();
        if (!book_.has_sst && !plan_->sst_added.empty()) AddFirstTable();
        plan_->globals_eof = out.Size();
      }
      out.Copy(r.offset, r.End() - r.offset);
    }
    plan_->globals_end = out.Size();
  }

  void AddRecord(std::uint16_t type, const Bytes& data) {
    Bytes record;
    AppendRecord(record, type, data);
    plan_->stream.Add(record);
  }

  // EXTSST as WriteSst left it; false when the one read stays as it is.
  bool WriteExtSst(const Record& r) {
    if (replaced_extsst_ || !extsst_.empty()) {
      if (!extsst_.empty()) AddRecord(rt::kExtSst, extsst_);
      return true;  // a table written anew brought its own
    }
    if (sst_shift_ == 0) return false;
    Bytes data(r.data, r.data + r.size);
    MoveExtSst(data, data.size(), sst_shift_);
    AddRecord(rt::kExtSst, data);
    return true;
  }

  // The BOUNDSHEET records of the sheets added.
  void AddBoundSheets() {
    for (const BoundSheet& bs : book_.boundsheets) {
      if (!bs.added) continue;
      std::u16string name;
      Utf8ToUtf16(bs.name, name);
      Bytes record;
      AppendRecord(record, rt::kBoundSheet, BoundSheetData(name));
      plan_->boundsheet_at.push_back(plan_->stream.Add(record));
    }
  }

  // A workbook without a string table gets one for its new strings.
  void AddFirstTable() {
    SharedStrings sst;
    sst.texts = plan_->sst_added;
    Bytes table;
    detail::WriteSst(sst, table);
    AddTable(std::move(table));
    plan_->sst_added_at = plan_->sst_unique_at + 4;
  }

  // A table written whole (`table`: SST, CONTINUEs, EXTSST, positions
  // counted from 0) placed at the plan's end.
  void AddTable(Bytes table) {
    const std::size_t base = plan_->stream.Size();
    RecordReader in(table, 0);
    Record r;
    std::size_t extsst_at = table.size();
    while (in.Next(r)) {
      if (r.type == rt::kExtSst) extsst_at = r.offset;
    }
    for (std::size_t k = extsst_at + 4 + 2; k + 8 <= table.size(); k += 8) {
      Put32(table.data() + k, static_cast<std::uint32_t>(Get32(table.data() + k) + base));
    }
    plan_->sst_begin = base;
    plan_->sst_unique_at = base + 8;
    plan_->stream.Add(table);
    plan_->sst_end = base + extsst_at;
  }

  // The substreams in their order in the stream, with what lies between them.
  void PlaceSheets(std::int64_t& refs) {
    StreamPlan& out = plan_->stream;
    const std::size_t n = book_.boundsheets.size();
    plan_->substreams.resize(n);
    std::vector<const SheetData*> data(n, nullptr);
    for (const auto& sheet : book_.sheets) data[sheet->boundsheet] = sheet.get();
    std::vector<std::size_t> order, added;
    for (std::size_t i = 0; i < n; ++i) (book_.boundsheets[i].added ? added : order).push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      return book_.boundsheets[a].begin < book_.boundsheets[b].begin;
    });
    std::size_t pos = book_.globals_end;
    for (std::size_t i : order) {
      const BoundSheet& bs = book_.boundsheets[i];
      if (bs.begin < pos) continue;  // shares bytes with another: read as damaged, never saved
      out.Copy(pos, bs.begin - pos);
      const SheetData* sheet = data[i];
      SheetEmit emit;
      if (sheet && !sheet->edited.empty()) {
        emit = WriteEditedSheet(book_, *sheet, new_strings_, out);
        refs += static_cast<std::int64_t>(emit.sst_refs) - sheet->sst_refs;
      } else {
        emit = CopySheet(book_, bs, sheet ? &sheet->layout : nullptr, out);
        if (sheet) emit.sst_refs = sheet->sst_refs;
      }
      plan_->substreams[i] = std::move(emit);
      pos = bs.end;
    }
    out.Copy(pos, book_.stream.size() - pos);
    for (std::size_t i : added) {
      const SheetData* sheet = data[i];
      plan_->substreams[i] = WriteEditedSheet(book_, *sheet, new_strings_, out);
      refs += plan_->substreams[i].sst_refs;
    }
    for (std::size_t i = 0; i < n && i < plan_->boundsheet_at.size(); ++i) {
      Put32(out.At(plan_->boundsheet_at[i] + 4),
            static_cast<std::uint32_t>(plan_->substreams[i].begin));
    }
  }

  const BookData& book_;
  std::unique_ptr<BookPlan> plan_;
  NewStrings new_strings_;
  std::size_t old_extsst_ = SIZE_MAX;
  Bytes extsst_;                  // the new EXTSST's data, when it takes new entries
  bool replaced_extsst_ = false;  // the table was written anew with its own
  std::ptrdiff_t sst_shift_ = 0;  // how far the table moved
};

}  // namespace

std::unique_ptr<BookPlan> PlanBook(const BookData& book) { return BookPlanner(book).Plan(); }

void AdoptPlan(BookData& book, const BookPlan& plan, Bytes stream) {
  book.stream = std::move(stream);
  book.has_sst = plan.has_sst;
  book.sst_begin = plan.sst_begin;
  book.sst_end = plan.sst_end;
  book.sst_unique_at = plan.sst_unique_at;
  book.globals_eof = plan.globals_eof;
  book.globals_end = plan.globals_end;
  book.sst.texts.insert(book.sst.texts.end(), plan.sst_added.begin(), plan.sst_added.end());
  book.sst.total_refs = plan.total_refs;
  for (std::size_t i = 0; i < book.boundsheets.size(); ++i) {
    BoundSheet& bs = book.boundsheets[i];
    const SheetEmit& emit = plan.substreams[i];
    if (i < plan.boundsheet_at.size()) bs.record_offset = plan.boundsheet_at[i];
    if (emit.end == 0) continue;  // never placed (damaged); the book was not saved
    bs.begin = emit.begin;
    bs.end = emit.end;
    bs.added = false;
  }
  for (auto& sheet : book.sheets) {
    const SheetEmit& emit = plan.substreams[sheet->boundsheet];
    sheet->layout = emit.layout;
    sheet->sst_refs = emit.sst_refs;
    sheet->edited.clear();
  }
}

}  // namespace vt::workbook::detail
