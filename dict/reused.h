#pragma once

// The cells that fill took from another workbook, kept in a sheet of our own,
// "Reused", beside Dictionary (which stays as the library reads it): one row
// per source text, its language in the column Language, and per target
// language a column Language_n holding the translation that fill wrote. A
// cell counts as reused while it still holds that translation: a translator
// who changes it makes it their own, with nothing to clear.

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "dict/dictionary_sheet.h"
#include "platform/workbook/workbook.h"

namespace vt::dict {

class ReusedCells {
 public:
  // The sheet as `book` holds it now (none: no cell is reused yet).
  ReusedCells(workbook::Workbook& book, const DictionarySheet& dictionary);

  // True when the dictionary's row holds `text` in `language` because fill
  // put it there.
  bool Holds(std::size_t row, std::int16_t language, std::string_view text) const;

  // Notes that fill wrote `translation` into `language` for the text `source`
  // of `source_language`; the sheet (added when missing) changes with the
  // book's next save.
  void Record(std::int16_t source_language, std::string_view source, std::int16_t language,
              std::string_view translation);

 private:
  workbook::Workbook& book_;
  const DictionarySheet& dictionary_;
  workbook::Sheet* sheet_ = nullptr;
  bool usable_ = true;  // a sheet of that name without our columns is left alone
  std::size_t text_column_ = 0;
  std::size_t language_column_ = 1;
  std::map<std::int16_t, std::size_t> columns_;  // target language -> column
  // Per source language: text -> the sheet's row.
  std::map<std::int16_t, std::unordered_map<std::string_view, std::size_t>> rows_;
};

}  // namespace vt::dict
