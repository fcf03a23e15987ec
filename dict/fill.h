#pragma once

// Translations reused across applications: the empty cells of a dictionary
// filled from other dictionaries that hold the same source text, matched as
// the library's lookup matches (the text without its outer spaces, character
// for character; the first row of a text is the one that counts). Every cell
// filled is noted in the sheet Reused (see reused.h), in the same save.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/workbook/workbook.h"

namespace vt::dict {

struct FillSource {
  std::string name;  // as the messages give it
  workbook::Workbook* book;
};

struct FillOptions {
  std::int16_t from = 1;         // the source texts' column, in every workbook
  std::vector<std::int16_t> to;  // none: every other column of the dictionary
  bool overwrite = false;
};

struct LanguageFill {
  std::int16_t language = 0;
  std::vector<std::size_t> filled;  // per source, in their order
  std::size_t kept = 0;             // translated already, another translation not written
  std::size_t unchanged = 0;        // the cell holds the source's translation already
  std::size_t not_found = 0;        // an empty cell that no source translates
};

struct FillCounts {
  std::vector<LanguageFill> languages;  // in the order of the dictionary's columns
  std::size_t written = 0;
  // A source's translation a cell cannot take: "OTHER.xls: row 12: Language_2
  // holds U+0007".
  std::vector<std::string> refused;
};

// Plans every cell, applies the plan to `book` and saves it once (when
// anything changed). A source earlier in `sources` wins. Throws Failure for a
// column missing in a workbook; workbook::Error when the save fails (nothing
// is written then).
FillCounts FillFromWorkbooks(workbook::Workbook& book, const std::vector<FillSource>& sources,
                             const FillOptions& options);

}  // namespace vt::dict
