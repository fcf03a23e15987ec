#pragma once

#include "library/interpreter/level.h"

#if VELTRANO_LEVEL < VELTRANO_LEVEL_DICTIONARY
#error "library/dictionary/connection.h is above the component that includes it"
#endif

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "library/dictionary/layout.h"
#include "platform/workbook/workbook.h"

namespace vt::dictionary {

// The failure of asking for a column that the sheet lacks.
class MissingColumn : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A dictionary workbook open for reading and writing: the sheet "Dictionary"
// and the rows appended to it. Appends stay in memory until Commit, which the
// public operations call when they return (and a maintenance run after every
// picture). A failed save is reported in the call that appended (later calls
// retry it only when they append again); what is told once per call is the
// front's to know.
class Connection {
 public:
  // Throws when the file cannot be read or has no sheet "Dictionary".
  static std::shared_ptr<Connection> Open(const std::filesystem::path& file);

  const std::filesystem::path& Path() const { return book_.Path(); }
  workbook::Sheet& Sheet();
  // Another sheet of the workbook, by name, letter case ignored; nullptr when
  // there is none. Its edits are saved by the next Commit.
  workbook::Sheet* FindSheet(std::string_view name) { return book_.FindSheet(name); }
  // A new sheet after the last one, written by the next Commit (throws
  // workbook::Error for a name the format refuses or the workbook has).
  workbook::Sheet* AddSheet(std::string_view name) { return book_.AddSheet(name); }

  // The column named `name` in the header row, letter case ignored; throws
  // MissingColumn naming the column and the file when the sheet lacks it.
  std::size_t Column(std::string_view name);
  // The column of a language ("Language_" + number), the same way.
  std::size_t Column(std::int16_t language);

  // Adds a row after the last used row whose only filled cell is `text` in
  // the column `column_name`; returns the row. Throws when the sheet is full.
  std::size_t Insert(std::string_view column_name, std::string_view text);
  // True when the sheet holds as many rows as a sheet can.
  bool Full() const;

  // Saves what was changed since the last commit; a no-op when nothing was,
  // or when only what a failed save kept is pending (it was reported) unless
  // `retry_failed`. Returns true when it saved.
  bool Commit(bool retry_failed = false);
  // True while changes are kept that no save has written.
  bool Unsaved() const { return book_.HasPendingEdits(); }

  // Changes when the workbook was read anew (another writer had saved):
  // texts taken from the sheet before are then stale. A save that only
  // wrote keeps them valid.
  std::size_t Generation() const { return generation_; }

 private:
  explicit Connection(workbook::Workbook book);

  workbook::Workbook book_;
  workbook::Sheet* sheet_ = nullptr;
  std::size_t generation_ = 0;
  bool appended_ = false;       // since the last commit
  bool save_reported_ = false;  // the last save failed and said so
  // Names already resolved, as callers spelled them; a save may bring in a
  // header changed by another writer, so it empties the list.
  std::vector<std::pair<std::string, std::size_t>> columns_;
  std::vector<std::pair<std::int16_t, std::size_t>> language_columns_;
};

}  // namespace vt::dictionary
