#pragma once

// The sheet Dictionary of a workbook as the library reads it: the columns
// Language_<n> of its header row (letter case ignored, the first of a name
// wins), and its texts without their outer spaces, which the library's
// normalisation removes before any lookup.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/workbook/workbook.h"

namespace vt::dict {

struct LanguageColumn {
  std::int16_t language;
  std::size_t column;
};

// n when `header` names the column Language_n.
std::optional<std::int16_t> LanguageOfHeader(std::string_view header);
// The header of `language`'s column: Language_n.
std::string ColumnName(std::int16_t language);

class DictionarySheet {
 public:
  // Throws Failure when the workbook has no sheet Dictionary.
  explicit DictionarySheet(workbook::Workbook& book);

  workbook::Sheet& sheet() { return *sheet_; }
  // Ordered by language number.
  const std::vector<LanguageColumn>& Languages() const { return languages_; }
  std::optional<std::size_t> FindLanguage(std::int16_t language) const;
  // Throws Failure naming the columns the sheet has.
  std::size_t Column(std::int16_t language) const;

  std::size_t RowCount() const { return sheet_->RowCount(); }
  // The cell's text without leading and trailing spaces.
  std::string_view Text(std::size_t row, std::size_t column) const;

 private:
  std::string path_;
  workbook::Sheet* sheet_;
  std::vector<LanguageColumn> languages_;
};

}  // namespace vt::dict
