#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_DICTIONARY
#error "library/dictionary/row_set.h is above the component that includes it"
#endif

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "library/dictionary/connection.h"
#include "library/dictionary/exact_index.h"

namespace vt::dictionary {

// The lookup view of a dictionary sheet: exact lookups through an index per
// column (text -> first row in sheet order), containment lookups for alarm
// texts. The header row is not a row of the set. Indexes grow with the rows
// appended through the connection and are rebuilt after a save, which may
// have brought in rows that another writer added.
class RowSet {
 public:
  explicit RowSet(std::shared_ptr<Connection> connection);

  // The first row whose cell in the column equals `text` character for
  // character.
  std::optional<std::size_t> FindExact(std::string_view column_name, std::string_view text);
  std::optional<std::size_t> FindExact(std::int16_t language, std::string_view text);
  // The first row whose cell in the column contains `text`, letter case
  // ignored and every character taken literally; empty cells never match.
  std::optional<std::size_t> FindContaining(std::string_view column_name, std::string_view text);
  // The cell's text; empty for an empty cell.
  std::string_view Value(std::size_t row, std::string_view column_name);
  std::string_view Value(std::size_t row, std::int16_t language);

  // Makes rows appended since the last lookup visible (lookups do so anyway).
  void Requery();

 private:
  struct ColumnIndex {
    ExactIndex first_row;
    std::size_t rows_indexed = 1;  // row 0 is the header
  };
  struct FoldedColumn {
    std::vector<std::string> texts;  // by row - 1
  };

  void DropStaleIndexes();
  std::optional<std::size_t> FindExactIn(std::size_t column, std::string_view text);

  std::shared_ptr<Connection> connection_;
  std::size_t generation_;
  std::map<std::size_t, ColumnIndex> exact_;
  std::map<std::size_t, FoldedColumn> folded_;
};

}  // namespace vt::dictionary
