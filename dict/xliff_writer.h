#pragma once

// A dictionary as XLIFF 1.2 for translators' tools: one trans-unit per row
// with a text in the source language; the target language's cell as the
// target ("needs-translation" when empty; marked as an exact match when fill
// took it from another workbook), the row's places as notes, and a width
// hint from the source text's length.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dict/dictionary_sheet.h"
#include "dict/reused.h"
#include "dict/where_used.h"

namespace vt::dict {

// The language tag that names a dictionary column in the file: the workbook
// does not say which language a column holds, so a private-use tag carries
// its number.
std::string LanguageTag(std::int16_t language);

struct ExportOptions {
  std::int16_t from = 1;
  std::int16_t to = 2;
  double length_ratio = 1.5;  // maxwidth = the source's characters times this, rounded down
  std::string original;       // the workbook's file name
};

struct Export {
  std::string xml;
  std::size_t units = 0;
  // Rows left out: texts XML 1.0 cannot hold (control characters), as
  // "row 12: Language_2 holds U+0007".
  std::vector<std::string> left_out;
};

Export WriteXliff(const DictionarySheet& dictionary,
                  const std::unordered_map<std::string_view, Usage>& where_used,
                  const ReusedCells* reused, const ExportOptions& options);

}  // namespace vt::dict
