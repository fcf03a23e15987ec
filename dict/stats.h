#pragma once

// How complete each language of a dictionary is. The texts are the rows with
// a text in the development language's column; a language has translated
// those whose cell in its own column holds a text too.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dict/dictionary_sheet.h"

namespace vt::dict {

struct LanguageStats {
  std::int16_t language;
  std::size_t translated;
};

struct Stats {
  std::int16_t from;
  std::size_t texts;
  std::vector<LanguageStats> languages;  // every Language_<n> column, by number
};

Stats CountTexts(const DictionarySheet& dictionary, std::int16_t from);

// The table veltrano-dict stats prints:
//   texts in Language_1: 120
//   language    texts  translated  missing
//   Language_1    120         120        0
//   Language_2    120         100       20
std::string FormatStats(const Stats& stats);

}  // namespace vt::dict
