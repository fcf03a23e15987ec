#include "platform/workbook/internal/book_state.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <new>
#include <optional>
#include <set>
#include <unordered_map>

#include "platform/base/ascii.h"
#include "platform/workbook/internal/book_writer.h"
#include "platform/workbook/internal/cfb_update.h"
#include "platform/workbook/internal/number_text.h"
#include "platform/workbook/internal/sheet_name.h"
#include "platform/workbook/internal/utf.h"

namespace vt::workbook::detail {

namespace {

SheetData* FindData(BookData& book, std::string_view name) {
  for (auto& s : book.sheets) {
    if (SameNameIgnoringCase(s->name, name)) return s.get();
  }
  return nullptr;
}

std::string_view TextAt(const SheetData& sheet, std::size_t row, std::size_t col) {
  if (col >= sheet.columns.size() || row >= sheet.columns[col].text.size()) return {};
  return sheet.columns[col].text[row];
}

CellKind KindAt(const SheetData& sheet, std::size_t row, std::size_t col) {
  if (col >= sheet.columns.size() || row >= sheet.columns[col].kind.size()) return CellKind::kEmpty;
  return sheet.columns[col].kind[row];
}

// The rows of one column by their text, made when a replayed unique append
// first asks, so that a replay costs one pass over the column, not one per text.
class ColumnIndex {
 public:
  std::optional<std::size_t> Find(const SheetData& sheet, std::size_t col, std::string_view text) {
    if (text.empty() || col >= sheet.columns.size()) return std::nullopt;
    auto [it, made] = rows_.try_emplace({sheet.name, col});
    if (made) {
      const auto& texts = sheet.columns[col].text;
      for (std::size_t row = texts.size() < sheet.rows ? texts.size() : sheet.rows; row-- > 0;) {
        if (!texts[row].empty()) it->second[std::string(texts[row])] = row;  // the first wins
      }
    }
    const auto row = it->second.find(std::string(text));
    if (row == it->second.end()) return std::nullopt;
    return row->second;
  }

  // A row the replay added, when the column is indexed already.
  void Add(const SheetData& sheet, std::size_t col, std::string_view text, std::size_t row) {
    const auto it = rows_.find({sheet.name, col});
    if (it != rows_.end()) it->second.try_emplace(std::string(text), row);
  }

 private:
  std::map<std::pair<std::string, std::size_t>, std::unordered_map<std::string, std::size_t>> rows_;
};

// Called for every cell set: nothing is allocated unless it fails.
void Check(const std::filesystem::path& path, const SheetData& sheet, std::size_t row,
           std::size_t col, std::string_view text) {
  auto where = [&] { return "sheet \"" + sheet.name + "\""; };
  if (col >= kMaxColumns) {
    throw Error(path, where() + ": column " + std::to_string(col + 1) +
                          " is beyond the 256 columns of the format");
  }
  if (row >= kMaxRows) {
    throw Error(path, where() + ": row " + std::to_string(row + 1) +
                          " is beyond the 65,536 rows of the format");
  }
  const std::optional<Utf16Count> count = CountUtf16(text);
  if (!count) {
    throw Error(path, where() + ": the text for row " + std::to_string(row + 1) + ", column " +
                          std::to_string(col + 1) + " is not UTF-8");
  }
  if (count->units > kMaxTextUnits) {
    throw Error(path, where() + ": a text of " + std::to_string(count->units) +
                          " characters for row " + std::to_string(row + 1) +
                          " is longer than the 32,767 a cell holds");
  }
  if (std::binary_search(sheet.formula_anchors.begin(), sheet.formula_anchors.end(),
                         CellKey(row, col))) {
    throw Error(path, where() + ": row " + std::to_string(row + 1) + ", column " +
                          std::to_string(col + 1) +
                          " holds a formula that other cells share; it cannot be replaced");
  }
}

// The edits themselves, on any BookData: used live and when replaying.
// `text` is in the book's pool already.
void PutText(SheetData& sheet, std::size_t row, std::size_t col, std::string_view text,
             bool row_must_count) {
  CellKind old = KindAt(sheet, row, col);
  CellKind kind = CellKind::kText;
  if (text.empty())
    kind = (old != CellKind::kEmpty || row_must_count) ? CellKind::kBlank : CellKind::kEmpty;
  sheet.Put(row, col, text, kind);
  sheet.edited.push_back(CellKey(row, col));
}

bool SetTextOn(const std::filesystem::path& path, BookData& book, SheetData& sheet, std::size_t row,
               std::size_t col, std::string_view text, std::vector<PendingEdit>& log) {
  Check(path, sheet, row, col, text);
  CellKind old = KindAt(sheet, row, col);
  std::string_view old_text = TextAt(sheet, row, col);
  if (old == CellKind::kText
          ? old_text == text
          : (text.empty() && (old == CellKind::kEmpty || old == CellKind::kBlank))) {
    return false;
  }
  const std::string_view stored = book.pool.Add(text);
  log.push_back({sheet.name, false, false, row, col, old_text, stored});
  PutText(sheet, row, col, stored, false);
  return true;
}

// A number goes into the book as the text the General format shows, which
// the writer reads back: that text is what the cell holds from now on.
bool SetNumberOn(const std::filesystem::path& path, BookData& book, SheetData& sheet,
                 std::size_t row, std::size_t col, std::string_view text,
                 std::vector<PendingEdit>& log) {
  Check(path, sheet, row, col, {});
  const std::string_view old_text = TextAt(sheet, row, col);
  if (KindAt(sheet, row, col) == CellKind::kNumber && old_text == text) return false;
  const std::string_view stored = book.pool.Add(text);
  PendingEdit& edit = log.emplace_back();
  edit.sheet = sheet.name;
  edit.row = row;
  edit.col = col;
  edit.old_text = old_text;
  edit.text = stored;
  edit.number = true;
  sheet.Put(row, col, stored, CellKind::kNumber);
  sheet.edited.push_back(CellKey(row, col));
  return true;
}

std::size_t AppendOn(const std::filesystem::path& path, BookData& book, SheetData& sheet,
                     std::size_t col, std::string_view text, bool unique,
                     std::vector<PendingEdit>& log) {
  std::size_t row = sheet.rows;
  if (row >= kMaxRows) {
    throw Error(path, "sheet \"" + sheet.name +
                          "\" is full: it already holds the 65,536 rows of the format");
  }
  Check(path, sheet, row, col, text);
  const std::string_view stored = book.pool.Add(text);
  log.push_back({sheet.name, true, unique, row, col, {}, stored});
  PutText(sheet, row, col, stored, true);
  return row;
}

SheetData& AddSheetOn(const std::filesystem::path& path, BookData& book, std::string_view name,
                      std::vector<PendingEdit>& log) {
  if (const std::string problem = SheetNameProblem(name, book); !problem.empty()) {
    throw Error(path, "cannot add sheet \"" + std::string(name) + "\": " + problem);
  }
  BoundSheet bs;
  bs.name = std::string(name);
  bs.added = true;
  book.boundsheets.push_back(std::move(bs));
  auto sheet = std::make_unique<SheetData>();
  sheet->name = std::string(name);
  sheet->boundsheet = book.boundsheets.size() - 1;
  book.sheets.push_back(std::move(sheet));
  PendingEdit edit;
  edit.sheet = std::string(name);
  edit.new_sheet = true;
  log.push_back(std::move(edit));
  return *book.sheets.back();
}

}  // namespace

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  return base::EqualsIgnoringAsciiCase(a, b);
}

void BookState::Attach(std::unique_ptr<BookData> fresh) {
  std::vector<std::unique_ptr<Sheet>> kept;
  for (auto& sd : fresh->sheets) {
    std::unique_ptr<Sheet> sheet;
    for (auto& old : sheets) {
      if (old && SameNameIgnoringCase(old->Name(), sd->name)) {
        sheet = std::move(old);
        break;
      }
    }
    if (!sheet) sheet.reset(new Sheet(this, sd.get()));
    sheet->data_ = sd.get();
    sheet->book_ = this;
    kept.push_back(std::move(sheet));
  }
  sheets = std::move(kept);
  data = std::move(fresh);
  ++generation;
}

Sheet* BookState::Find(std::string_view name) {
  for (auto& s : sheets) {
    if (SameNameIgnoringCase(s->Name(), name)) return s.get();
  }
  return nullptr;
}

Sheet* BookState::AddSheet(std::string_view name) {
  SheetData& data_of_sheet = AddSheetOn(path, *data, name, pending);
  sheets.push_back(std::unique_ptr<Sheet>(new Sheet(this, &data_of_sheet)));
  return sheets.back().get();
}

void BookState::SetText(SheetData& sheet, std::size_t row, std::size_t col, std::string_view text) {
  SetTextOn(path, *data, sheet, row, col, text, pending);
}

void BookState::SetNumber(SheetData& sheet, std::size_t row, std::size_t col, double value) {
  if (!std::isfinite(value)) {
    throw Error(path, "sheet \"" + sheet.name + "\": row " + std::to_string(row + 1) + ", column " +
                          std::to_string(col + 1) + " cannot hold a number that is not finite");
  }
  SetNumberOn(path, *data, sheet, row, col, GeneralText(value), pending);
}

std::size_t BookState::Append(SheetData& sheet, std::size_t col, std::string_view text,
                              bool unique) {
  return AppendOn(path, *data, sheet, col, text, unique, pending);
}

std::vector<PendingEdit> BookState::Replay(const std::filesystem::path& path, BookData& fresh,
                                           const std::vector<PendingEdit>& pending) {
  std::vector<PendingEdit> log;
  std::map<std::pair<std::string, std::size_t>, std::size_t> moved;  // our appended rows
  std::set<std::pair<std::string, std::size_t>> found;               // ... and those already there
  ColumnIndex index;
  for (const PendingEdit& e : pending) {
    if (e.new_sheet) {
      // A worksheet another program added under this name meanwhile stands
      // for ours: the edits go into it as into any sheet.
      if (!FindData(fresh, e.sheet)) AddSheetOn(path, fresh, e.sheet, log);
      continue;
    }
    SheetData* sheet = FindData(fresh, e.sheet);
    if (!sheet) {
      throw Error(path, "sheet \"" + e.sheet +
                            "\" is no longer in the workbook; the edits to it cannot be saved");
    }
    if (e.append) {
      // Two processes that both lacked a text append it both: the second
      // save finds the first one's row.
      if (const auto there = e.unique ? index.Find(*sheet, e.col, e.text) : std::nullopt) {
        moved[{e.sheet, e.row}] = *there;
        found.insert({e.sheet, e.row});
        continue;
      }
      const std::size_t row = AppendOn(path, fresh, *sheet, e.col, e.text, e.unique, log);
      if (e.unique) index.Add(*sheet, e.col, e.text, row);
      moved[{e.sheet, e.row}] = row;
      continue;
    }
    const auto row = moved.find({e.sheet, e.row});
    const bool ours = row != moved.end() && !found.contains({e.sheet, e.row});
    const std::size_t at = row != moved.end() ? row->second : e.row;
    // Someone else changed the cell meanwhile (or owns the row): their value wins.
    if (ours || TextAt(*sheet, at, e.col) == e.old_text) {
      if (e.number) {
        SetNumberOn(path, fresh, *sheet, at, e.col, e.text, log);
      } else {
        SetTextOn(path, fresh, *sheet, at, e.col, e.text, log);
      }
    }
  }
  return log;
}

namespace {

[[noreturn]] void Damaged(const std::filesystem::path& path, const std::string& damage) {
  throw Error(path, "not saved: the workbook is damaged (" + damage +
                        "); saving it would make the damage permanent");
}

}  // namespace

void BookState::Reread() {
  FileStamp now;
  std::unique_ptr<BookData> fresh = ParseBook(ReadBookFile(path, now));
  if (!fresh->damage.empty()) Damaged(path, fresh->damage);
  std::vector<PendingEdit> log = Replay(path, *fresh, pending);
  Attach(std::move(fresh));
  pending = std::move(log);
  stamp = now;
}

bool BookState::Write() {
  std::unique_ptr<BookPlan> plan = PlanBook(*data);
  const StreamPlan::Difference difference = plan->stream.Compare();
  // What we would write must read back before it replaces anything.
  try {
    CheckPlan(*data, *plan, difference.tail);
  } catch (const FormatError& e) {
    throw Error(path, std::string("internal error (nothing was written): ") + e.what());
  }
  const StreamPlan& stream = plan->stream;
  const StreamReader read = [&stream](std::size_t at, std::size_t n, std::uint8_t* out) {
    stream.Read(at, n, out);
  };
  std::vector<ByteRange> patches;
  for (const auto& p : difference.patches) patches.push_back({p.from, p.to});
  CompoundFile& container = data->container;
  FileStamp after;
  if (std::optional<InPlaceUpdate> update =
          PlanInPlace(container, data->workbook_entry, data->stream.size(), stream.Size(),
                      difference.tail, patches)) {
    if (!WriteBookInPlace(path, stamp, *update, read, after)) return false;
    container.layout = std::move(update->layout);
    for (std::size_t i = 0; i < container.entries.size(); ++i) {
      container.entries[i].raw = update->directory[i];
    }
  } else {
    std::vector<CfbEntry> written;
    container.layout =
        WriteBookFile(path, container, data->workbook_entry, stream.Size(), read, written);
    for (std::size_t i = 0; i < container.entries.size(); ++i) {
      container.entries[i].raw = written[i].raw;
    }
    // A file we cannot examine now is read again at the next save.
    try {
      after = StatBookFile(path).value_or(FileStamp{});
    } catch (const Error&) {
      after = FileStamp{};
    }
  }
  // The book follows what was written: the new bytes from the first change
  // on, and the few changed in place before it (taken first: the plan reads
  // the stream as it was).
  std::vector<std::pair<std::size_t, Bytes>> changed;
  for (const auto& p : difference.patches) {
    changed.emplace_back(p.from, stream.Read(p.from, p.to - p.from));
  }
  Bytes bytes;
  if (stream.AssembleInPlace(data->stream, difference.tail)) {
    bytes = std::move(data->stream);
  } else {
    Bytes tail = stream.Read(difference.tail, stream.Size() - difference.tail);
    bytes = std::move(data->stream);
    bytes.resize(difference.tail);
    if (bytes.size() + tail.size() > bytes.capacity()) {
      // Moved once, with room for the saves to come.
      const std::size_t size = bytes.size() + tail.size();
      Bytes grown;
      grown.reserve(size + size / 4);
      grown.assign(bytes.begin(), bytes.end());
      bytes = std::move(grown);
    }
    bytes.insert(bytes.end(), tail.begin(), tail.end());
  }
  for (auto& [at, b] : changed) {
    std::copy(b.begin(), b.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
  }
  AdoptPlan(*data, *plan, std::move(bytes));
  pending.clear();
  stamp = after;
  return true;
}

void BookState::Save() {
  if (pending.empty()) return;
  try {
    if (!data->damage.empty()) Damaged(path, data->damage);
    const auto lock = LockBookFile(path);
    if (!swept) {
      RemoveStaleTemporaries(path);
      swept = true;
    }
    for (int attempt = 0;; ++attempt) {
      std::optional<FileStamp> now = StatBookFile(path);
      if (!now) throw Error(path, "cannot save: the workbook is no longer there");
      if (*now != stamp) {
        Reread();
        if (pending.empty()) return;
      }
      if (Write()) return;
      // Changed between the look and the write, by a program that does not
      // take our lock: read it once more.
      if (attempt == 2) throw Error(path, "cannot save: the workbook keeps changing meanwhile");
      stamp = FileStamp{};
    }
  } catch (const FormatError& e) {
    throw Error(path, e.what());
  } catch (const std::bad_alloc&) {
    throw Error(path, "out of memory while saving the workbook");
  } catch (const Error&) {
    throw;
  } catch (const std::exception& e) {
    throw Error(path, std::string("cannot save the workbook: ") + e.what());
  }
}

}  // namespace vt::workbook::detail
