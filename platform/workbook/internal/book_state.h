#pragma once

#include "platform/workbook/internal/private.h"

// The state behind a Workbook: the parsed file, the Sheet objects handed
// out, and the edits not yet saved (kept to re-apply them on a fresh read).

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/workbook/internal/book.h"
#include "platform/workbook/internal/book_file.h"
#include "platform/workbook/workbook.h"

namespace vt::workbook::detail {

// The texts are views into the string pool of the book the edit was made on,
// which keeps every text until the book goes: a log of many edits holds no
// copies of them.
struct PendingEdit {
  std::string sheet;
  bool append = false;
  bool unique = false;  // an append the column is to hold once
  std::size_t row = 0, col = 0;
  std::string_view old_text;  // what a SetCellText replaced
  std::string_view text;
  bool new_sheet = false;  // AddSheet: `sheet` names it
  bool number = false;     // SetCellNumber: `text` shows the number
};

struct BookState {
  std::filesystem::path path;
  FileStamp stamp;
  std::unique_ptr<BookData> data;
  std::vector<std::unique_ptr<Sheet>> sheets;  // parallel to data->sheets
  std::vector<PendingEdit> pending;
  // Counts the times the content was read anew (texts of before went stale).
  std::size_t generation = 0;
  // Temporaries of dead writers were looked for (once per open book: a
  // look lists the whole folder, which may hold thousands of pictures).
  bool swept = false;

  // Makes `fresh` the current content, keeping Sheet objects by name.
  void Attach(std::unique_ptr<BookData> fresh);
  Sheet* Find(std::string_view name);
  Sheet* AddSheet(std::string_view name);

  void SetText(SheetData& sheet, std::size_t row, std::size_t col, std::string_view text);
  void SetNumber(SheetData& sheet, std::size_t row, std::size_t col, double value);
  std::size_t Append(SheetData& sheet, std::size_t col, std::string_view text, bool unique);

  // Edits in `pending`, replayed on a fresh read of the file.
  static std::vector<PendingEdit> Replay(const std::filesystem::path& path, BookData& fresh,
                                         const std::vector<PendingEdit>& pending);
  void Save();

 private:
  // Reads the file again (someone changed it) and replays the pending edits.
  void Reread();
  // Writes the pending edits; false when the file changed under us first.
  bool Write();
};

bool SameNameIgnoringCase(std::string_view a, std::string_view b);

}  // namespace vt::workbook::detail
