#include <unordered_map>

#include "platform/workbook/internal/book.h"
#include "platform/workbook/internal/records.h"
#include "platform/workbook/internal/sheet_writer.h"

namespace vt::workbook::detail {

Bytes SerializeBook(const BookData& book) {
  // Texts of edited cells go to the end of the string table, so that every
  // untouched LABELSST keeps pointing at its string.
  std::unordered_map<std::string_view, std::uint32_t> new_strings;
  SharedStrings sst;
  for (const auto& sheet : book.sheets) {
    for (std::uint32_t key : sheet->edited) {
      std::size_t row = key >> 8, col = key & 0xFF;
      if (col >= sheet->columns.size() || row >= sheet->columns[col].kind.size()) continue;
      if (sheet->columns[col].kind[row] != CellKind::kText) continue;
      std::string_view text = sheet->columns[col].text[row];
      auto index = static_cast<std::uint32_t>(book.sst.texts.size() + sst.texts.size());
      if (new_strings.emplace(text, index).second) sst.texts.push_back(text);
    }
  }
  const bool rewrite_sst = !sst.texts.empty();

  std::vector<SheetOutput> sheets(book.boundsheets.size());
  std::vector<bool> done(book.boundsheets.size(), false);
  std::int64_t refs = book.sst.total_refs;
  for (const auto& sheet : book.sheets) {
    if (sheet->edited.empty()) continue;
    SheetOutput out = WriteEditedSheet(book, *sheet, new_strings);
    refs += static_cast<std::int64_t>(out.sst_refs) - sheet->sst_refs;
    sheets[sheet->boundsheet] = std::move(out);
    done[sheet->boundsheet] = true;
  }
  for (std::size_t i = 0; i < book.boundsheets.size(); ++i) {
    if (!done[i]) sheets[i] = CopySheet(book.stream, book.boundsheets[i]);
  }
  auto total_refs = static_cast<std::uint32_t>(refs < 0 ? 0 : refs);

  Bytes out;
  out.reserve(book.stream.size() + book.stream.size() / 8 + 4096);
  std::vector<std::size_t> boundsheet_at;
  RecordReader in(book.stream, 0);
  Record r;
  while (in.Position() < book.globals_end && in.Next(r)) {
    if (book.has_sst && r.offset == book.sst_begin) {
      if (rewrite_sst) {
        SharedStrings all;
        all.texts.reserve(book.sst.texts.size() + sst.texts.size());
        all.texts = book.sst.texts;
        all.texts.insert(all.texts.end(), sst.texts.begin(), sst.texts.end());
        all.extras = book.sst.extras;
        all.total_refs = total_refs;
        WriteSst(all, out);
      } else {
        std::size_t at = out.size();
        out.insert(out.end(), book.stream.begin() + static_cast<std::ptrdiff_t>(book.sst_begin),
                   book.stream.begin() + static_cast<std::ptrdiff_t>(book.sst_end));
        Put32(out.data() + at + 4, total_refs);
      }
      while (in.Position() < book.sst_end && in.Next(r)) {
      }
      continue;
    }
    if (r.type == rt::kExtSst && rewrite_sst) continue;
    if (r.type == rt::kBoundSheet) boundsheet_at.push_back(out.size());
    if (r.offset == book.globals_eof && !book.has_sst && rewrite_sst) {
      sst.total_refs = total_refs;
      WriteSst(sst, out);
    }
    AppendRaw(out, book.stream, r);
  }
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    if (i < boundsheet_at.size())
      Put32(out.data() + boundsheet_at[i] + 4, static_cast<std::uint32_t>(out.size()));
    PlaceSheet(sheets[i], out.size());
    out.insert(out.end(), sheets[i].bytes.begin(), sheets[i].bytes.end());
    sheets[i].bytes = Bytes();
  }

  CompoundFile file;
  file.entries = book.container.entries;
  file.entries[book.workbook_entry].data = std::move(out);
  return WriteCompoundFile(file);
}

}  // namespace vt::workbook::detail
