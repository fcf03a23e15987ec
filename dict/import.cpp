#include "dict/import.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <utility>

#include "dict/cell_text.h"
#include "dict/dictionary_sheet.h"
#include "dict/failure.h"
#include "platform/base/trim.h"

namespace vt::dict {
namespace {

struct Edit {
  std::size_t row;
  std::size_t column;
  std::string_view text;
};

// The sheet's row (from 0) that a unit's id names, as a spreadsheet numbers
// it from 1; the header row is not one.
std::optional<std::size_t> RowOfId(std::string_view id, std::size_t row_count) {
  if (id.empty() || id.size() > 6 || id.front() == '0') return std::nullopt;
  std::size_t number = 0;
  for (const char c : id) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + static_cast<std::size_t>(c - '0');
  }
  if (number < 2 || number > row_count) return std::nullopt;
  return number - 1;
}

// Line breaks as LF: XML readers turn a literal CR LF or CR into LF, and a
// tool that writes the file back need not keep the references we wrote.
std::string LineFeeds(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out += text[i];
    } else if (i + 1 == text.size() || text[i + 1] != '\n') {
      out += '\n';
    }
  }
  return out;
}

bool MarkedUntranslated(std::string_view state) {
  return std::find(std::begin(kUnreviewedStates), std::end(kUnreviewedStates), state) !=
         std::end(kUnreviewedStates);
}

}  // namespace

ImportCounts ImportUnits(workbook::Workbook& book, const std::vector<XliffFile>& files,
                         const std::string& name, const ImportOptions& options) {
  DictionarySheet dictionary(book);
  ImportCounts counts;
  std::vector<Edit> edits;
  std::set<std::pair<std::size_t, std::size_t>> seen;
  for (const XliffFile& file : files) {
    const std::string where = name + ":" + std::to_string(file.line) + ": ";
    std::size_t source_column = 0;
    std::size_t target_column = 0;
    try {
      source_column = dictionary.Column(file.from);
      target_column = dictionary.Column(file.to);
    } catch (const Failure& e) {
      throw Failure(where + e.what());
    }
    if (file.from == file.to) {
      throw Failure(where + "source and target are the same column Language_" +
                    std::to_string(file.to));
    }
    for (const Unit& unit : file.units) {
      const auto refuse = [&](const std::string& why) {
        counts.refused.push_back(name + ":" + std::to_string(unit.line) + ": unit " +
                                 Quoted(unit.id) + ": " + why);
      };
      const auto row = RowOfId(unit.id, dictionary.RowCount());
      if (!row) {
        refuse("no row " + unit.id + " in the sheet Dictionary");
        continue;
      }
      const std::string_view found = dictionary.Text(*row, source_column);
      const std::string_view expected = base::Trim(unit.source);
      if (found != expected && LineFeeds(found) != LineFeeds(expected)) {
        refuse("the source no longer matches row " + unit.id + ": expected " + Quoted(expected) +
               ", found " + Quoted(found));
        continue;
      }
      const std::string_view target = unit.target ? base::Trim(*unit.target) : std::string_view{};
      if (target.empty()) {
        ++counts.untranslated;
        continue;
      }
      const std::string_view current = dictionary.Text(*row, target_column);
      if (MarkedUntranslated(unit.state) &&
          std::find(options.accepted_states.begin(), options.accepted_states.end(), unit.state) ==
              options.accepted_states.end()) {
        if (current == target) {
          ++counts.unchanged;
        } else {
          counts.unreviewed.push_back(name + ":" + std::to_string(unit.line) + ": unit " +
                                      Quoted(unit.id) + ": state " + Quoted(unit.state) +
                                      ", source " + Quoted(expected) + ": target left out");
        }
        continue;
      }
      if (!unit.markup.empty()) {
        refuse("the target holds markup (" + unit.markup + "), which a cell cannot keep");
        continue;
      }
      if (const auto bad = CellRefusal(target)) {
        refuse("the target " + *bad);
        continue;
      }
      if (!seen.emplace(*row, target_column).second) {
        refuse("another unit for row " + unit.id + " came first");
        continue;
      }
      if (current == target) {
        ++counts.unchanged;
      } else if (!current.empty() && !options.overwrite) {
        ++counts.kept;
      } else {
        edits.push_back({*row, target_column, target});
      }
    }
  }
  if (edits.empty()) return counts;
  for (const Edit& edit : edits) dictionary.sheet().SetCellText(edit.row, edit.column, edit.text);
  book.Save();
  counts.written = edits.size();
  return counts;
}

}  // namespace vt::dict
