#pragma once

// Excel 97-2003 workbooks (.xls: BIFF8 records in a compound file): reading,
// lossless editing of cell texts, and a safe, inter-process save.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/workbook/error.h"

namespace vt::workbook {

inline constexpr std::size_t kMaxRows = 65536;
inline constexpr std::size_t kMaxColumns = 256;
inline constexpr std::size_t kMaxTextUnits = 32767;  // UTF-16 units a cell holds

enum class CellKind : std::uint8_t {
  kEmpty,  // no cell at all
  kBlank,  // a cell with a format and no value
  kText,
  kNumber,   // reads as the spreadsheet's General format shows it
  kBoolean,  // "TRUE" / "FALSE"
  kError,    // "#DIV/0!", "#N/A", ...
  kFormula,  // reads as its last computed result
};

namespace detail {
struct BookState;
struct SheetData;
}  // namespace detail

// One worksheet. Rows and columns count from 0; row 0 holds the column names.
// Texts returned as string_view stay valid until the workbook is saved or
// destroyed.
class Sheet {
 public:
  Sheet(const Sheet&) = delete;
  Sheet& operator=(const Sheet&) = delete;

  std::string_view Name() const;
  // Used rows, header included: one past the last row holding any cell.
  std::size_t RowCount() const;
  std::size_t ColumnCount() const;
  // Column whose cell in row 0 holds `name`, letter case ignored.
  std::optional<std::size_t> FindColumn(std::string_view name) const;

  std::string_view CellText(std::size_t row, std::size_t col) const;
  CellKind Kind(std::size_t row, std::size_t col) const;
  bool IsTextCell(std::size_t row, std::size_t col) const;
  // Texts of one column by row; rows past the end of the span are empty.
  std::span<const std::string_view> ColumnTexts(std::size_t col) const;

  // An empty text leaves the cell empty (its format kept). Throws Error on a
  // position or text beyond the format's limits.
  void SetCellText(std::size_t row, std::size_t col, std::string_view text);
  // The cell holds the number as the General format shows it (15 significant
  // digits), its format kept; nothing changes when it holds that number
  // already. Throws Error on a position beyond the format's limits or a
  // value that is not finite.
  void SetCellNumber(std::size_t row, std::size_t col, double value);
  // Adds a row after the last used row with one filled cell; returns its index.
  std::size_t AppendRow(std::size_t col, std::string_view text);
  // The same for a text the column holds once (a dictionary entry): when the
  // save finds that another program put the same text into the column
  // meanwhile, that row stands for this one and none is added.
  std::size_t AppendUniqueRow(std::size_t col, std::string_view text);

 private:
  friend struct detail::BookState;
  Sheet(detail::BookState* book, detail::SheetData* data) : book_(book), data_(data) {}

  detail::BookState* book_;
  detail::SheetData* data_;
};

class Workbook {
 public:
  static Workbook Open(const std::filesystem::path& file);
  // Writes a new workbook with one sheet whose row 0 holds `headers`.
  static void CreateDictionary(const std::filesystem::path& file, std::string_view sheet_name,
                               const std::vector<std::string>& headers);

  Workbook(Workbook&&) noexcept;
  Workbook& operator=(Workbook&&) noexcept;
  ~Workbook();

  const std::filesystem::path& Path() const;
  std::vector<std::string> SheetNames() const;
  // Worksheet by name, letter case ignored; nullptr when there is none. The
  // pointer stays valid across Save while the sheet exists in the file.
  Sheet* FindSheet(std::string_view name);
  // A new empty worksheet after the last sheet, written by the next Save
  // with the other edits. The name follows the spreadsheet's rules: 1 to 31
  // characters, none of : \ / ? * [ ], no apostrophe first or last, and no
  // other sheet of that name, letter case ignored; else Error says why.
  // When the save finds that another program added a worksheet of that name
  // meanwhile, that sheet stands for this one: the edits go into it as edits
  // of any sheet do (a cell the other program filled keeps its value).
  Sheet* AddSheet(std::string_view name);

  bool HasPendingEdits() const;
  // Changes whenever the workbook's content was read anew from the file (a
  // save found it changed by someone else): the texts taken from it before
  // are then stale. A save that only writes keeps them valid.
  std::size_t ContentGeneration() const;
  // Empty for a workbook read cleanly; else what the reader found damaged,
  // and where. A damaged workbook reads, but never saves.
  std::string_view Damage() const;
  // Writes the pending edits: under an exclusive lock, re-reading the file
  // first when someone else changed it since it was read; what changed is
  // written into the file in place (copy on write, switched by one header
  // write), or, when that would leave too much dead space, the whole file is
  // written aside and renamed over it. Afterwards the workbook shows the
  // file as saved.
  void Save();

 private:
  explicit Workbook(std::unique_ptr<detail::BookState> state);
  std::unique_ptr<detail::BookState> state_;
};

}  // namespace vt::workbook
