#include "dict/fill.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "dict/cell_text.h"
#include "dict/dictionary_sheet.h"
#include "dict/failure.h"
#include "dict/reused.h"

namespace vt::dict {
namespace {

struct Other {
  const FillSource* source;
  DictionarySheet sheet;
  std::size_t source_column;
  std::vector<std::optional<std::size_t>> columns;  // per target language
  std::unordered_map<std::string_view, std::size_t> first_row;
};

}  // namespace

FillCounts FillFromWorkbooks(workbook::Workbook& book, const std::vector<FillSource>& sources,
                             const FillOptions& options) {
  DictionarySheet dictionary(book);
  const std::size_t source_column = dictionary.Column(options.from);
  std::vector<Other> others;
  others.reserve(sources.size());
  for (const FillSource& source : sources) {
    DictionarySheet sheet(*source.book);
    const std::size_t column = sheet.Column(options.from);
    others.push_back({&source, std::move(sheet), column, {}, {}});
  }

  std::vector<std::int16_t> targets = options.to;
  if (targets.empty()) {
    // Every column of the dictionary that some source has.
    for (const LanguageColumn& entry : dictionary.Languages()) {
      const bool somewhere = std::any_of(others.begin(), others.end(), [&](const Other& other) {
        return other.sheet.FindLanguage(entry.language).has_value();
      });
      if (entry.language != options.from && somewhere) targets.push_back(entry.language);
    }
  }
  std::vector<std::size_t> target_columns;
  for (const std::int16_t language : targets) {
    if (language == options.from) {
      throw Failure("--from and --to name the same column " + ColumnName(language));
    }
    target_columns.push_back(dictionary.Column(language));
    for (Other& other : others) {
      // Named on the command line: every source must have it.
      other.columns.push_back(options.to.empty() ? other.sheet.FindLanguage(language)
                                                 : other.sheet.Column(language));
    }
  }
  for (Other& other : others) {
    other.first_row.reserve(other.sheet.RowCount());
    for (std::size_t row = 1; row < other.sheet.RowCount(); ++row) {
      const std::string_view text = other.sheet.Text(row, other.source_column);
      if (!text.empty()) other.first_row.emplace(text, row);
    }
  }

  FillCounts counts;
  for (const std::int16_t language : targets) {
    counts.languages.push_back({language, std::vector<std::size_t>(others.size(), 0), 0, 0, 0});
  }
  // The edits go into the book as they are planned: nothing reaches the file
  // before the save, and a failure before it leaves the file as it was.
  ReusedCells reused(book, dictionary);
  std::vector<std::optional<std::size_t>> rows(others.size());
  for (std::size_t row = 1; row < dictionary.RowCount(); ++row) {
    const std::string_view text = dictionary.Text(row, source_column);
    if (text.empty()) continue;
    for (std::size_t k = 0; k < others.size(); ++k) {
      const auto found = others[k].first_row.find(text);
      rows[k] = found == others[k].first_row.end() ? std::nullopt
                                                   : std::optional<std::size_t>(found->second);
    }
    for (std::size_t t = 0; t < targets.size(); ++t) {
      LanguageFill& tally = counts.languages[t];
      const std::string_view current = dictionary.Text(row, target_columns[t]);
      std::size_t k = 0;
      std::string_view translation;
      for (; k < others.size(); ++k) {
        if (!rows[k] || !others[k].columns[t]) continue;
        translation = others[k].sheet.Text(*rows[k], *others[k].columns[t]);
        if (!translation.empty()) break;
      }
      if (k == others.size()) {
        if (current.empty()) ++tally.not_found;
      } else if (current == translation) {
        ++tally.unchanged;
      } else if (!current.empty() && !options.overwrite) {
        ++tally.kept;
      } else if (const auto bad = CellRefusal(translation)) {
        counts.refused.push_back(others[k].source->name + ": row " + std::to_string(*rows[k] + 1) +
                                 ": " + ColumnName(targets[t]) + " " + *bad);
      } else {
        dictionary.sheet().SetCellText(row, target_columns[t], translation);
        reused.Record(options.from, text, targets[t], translation);
        ++tally.filled[k];
        ++counts.written;
      }
    }
  }
  if (counts.written > 0) book.Save();
  return counts;
}

}  // namespace vt::dict
