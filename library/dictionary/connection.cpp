#include "library/dictionary/connection.h"

#include <stdexcept>

#include "platform/system/utf8_path.h"

namespace vt::dictionary {

std::shared_ptr<Connection> Connection::Open(const std::filesystem::path& file) {
  return std::shared_ptr<Connection>(new Connection(workbook::Workbook::Open(file)));
}

Connection::Connection(workbook::Workbook book) : book_(std::move(book)) {
  sheet_ = book_.FindSheet(kSheetName);
  if (sheet_ == nullptr) {
    throw std::runtime_error("\"" + system::Utf8FromPath(book_.Path()) + "\" has no sheet \"" +
                             std::string(kSheetName) + "\"");
  }
}

workbook::Sheet& Connection::Sheet() { return *sheet_; }

std::size_t Connection::Column(std::string_view name) {
  for (const auto& [known, column] : columns_) {
    if (known == name) return column;
  }
  if (const auto column = sheet_->FindColumn(name)) {
    columns_.emplace_back(name, *column);
    return *column;
  }
  throw MissingColumn("The sheet \"" + std::string(kSheetName) + "\" of \"" +
                      system::Utf8FromPath(book_.Path()) + "\" has no column \"" +
                      std::string(name) + "\"");
}

std::size_t Connection::Column(std::int16_t language) {
  // Every shown text asks for two of these: spare it building the name.
  for (const auto& [known, column] : language_columns_) {
    if (known == language) return column;
  }
  const std::size_t column = Column(LanguageColumn(language));
  language_columns_.emplace_back(language, column);
  return column;
}

std::size_t Connection::Insert(std::string_view column_name, std::string_view text) {
  const std::size_t column = Column(column_name);
  const std::size_t row = sheet_->AppendUniqueRow(column, text);
  appended_ = true;
  return row;
}

bool Connection::Full() const { return sheet_->RowCount() >= workbook::kMaxRows; }

bool Connection::Commit(bool retry_failed) {
  if (!book_.HasPendingEdits() || (save_reported_ && !appended_ && !retry_failed)) return false;
  appended_ = false;
  const std::size_t before = book_.ContentGeneration();
  // Read anew (even by a save that then failed): whatever was taken from the
  // sheet before is stale. A save that only wrote keeps it valid.
  auto stale = [&] {
    if (book_.ContentGeneration() == before) return;
    columns_.clear();
    language_columns_.clear();
    ++generation_;
  };
  try {
    book_.Save();
  } catch (...) {
    stale();
    save_reported_ = true;
    throw;
  }
  save_reported_ = false;
  stale();
  return true;
}

}  // namespace vt::dictionary
