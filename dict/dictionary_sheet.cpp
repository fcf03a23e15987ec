#include "dict/dictionary_sheet.h"

#include <algorithm>

#include "dict/failure.h"
#include "dict/language_number.h"
#include "platform/base/ascii.h"
#include "platform/base/trim.h"
#include "platform/system/utf8_path.h"

namespace vt::dict {
namespace {

constexpr std::string_view kPrefix = "language_";

}  // namespace

std::string ColumnName(std::int16_t language) { return "Language_" + std::to_string(language); }

std::optional<std::int16_t> LanguageOfHeader(std::string_view header) {
  if (header.size() <= kPrefix.size() ||
      !base::EqualsIgnoringAsciiCase(header.substr(0, kPrefix.size()), kPrefix)) {
    return std::nullopt;
  }
  return ParseLanguageNumber(header.substr(kPrefix.size()));
}

DictionarySheet::DictionarySheet(workbook::Workbook& book)
    : path_(system::Utf8FromPath(book.Path())), sheet_(book.FindSheet("Dictionary")) {
  if (sheet_ == nullptr) throw Failure(path_ + ": the workbook has no sheet Dictionary");
  for (std::size_t column = 0; column < sheet_->ColumnCount(); ++column) {
    const auto language = LanguageOfHeader(base::Trim(sheet_->CellText(0, column)));
    if (language && !FindLanguage(*language)) languages_.push_back({*language, column});
  }
  std::sort(
      languages_.begin(), languages_.end(),
      [](const LanguageColumn& a, const LanguageColumn& b) { return a.language < b.language; });
}

std::optional<std::size_t> DictionarySheet::FindLanguage(std::int16_t language) const {
  for (const LanguageColumn& entry : languages_) {
    if (entry.language == language) return entry.column;
  }
  return std::nullopt;
}

std::size_t DictionarySheet::Column(std::int16_t language) const {
  if (const auto column = FindLanguage(language)) return *column;
  std::string have;
  for (const LanguageColumn& entry : languages_) {
    have += (have.empty() ? "" : ", ") + ColumnName(entry.language);
  }
  throw Failure(path_ + ": the sheet Dictionary has no column " + ColumnName(language) + " (" +
                (have.empty() ? std::string("it has no language column") : "it has " + have) + ")");
}

std::string_view DictionarySheet::Text(std::size_t row, std::size_t column) const {
  return base::Trim(sheet_->CellText(row, column));
}

}  // namespace vt::dict
