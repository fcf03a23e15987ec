// The "Where used" rows in and out of their worksheet.
#include <algorithm>
#include <charconv>
#include <string>
#include <unordered_map>

#include "library/maintenance/where_used.h"
#include "platform/workbook/error.h"
#include "platform/workbook/workbook.h"

namespace vt::maintenance {
namespace {

enum Column : std::size_t { kText, kLanguage, kPlaces, kPictures, kWas, kSeen };

// The column's field of the row; the count, a number, has none.
template <typename Row>
auto* TextField(Row& row, std::size_t column) {
  decltype(&row.text)
      const fields[] = {&row.text, &row.language, &row.places, nullptr, &row.was, &row.seen};
  return fields[column];
}

// A row that repeats the text and language of `into`: one row of both places.
void Join(WhereUsedRow& into, WhereUsedRow&& row) {
  std::vector<std::string> places = SplitPlaces(into.places);
  std::vector<std::string> more = SplitPlaces(row.places);
  places.insert(places.end(), more.begin(), more.end());
  std::sort(places.begin(), places.end());
  places.erase(std::unique(places.begin(), places.end()), places.end());
  into.places = JoinPlaces(places);
  into.pictures = std::max({into.pictures, row.pictures, CountPictures(places)});
  if (row.seen > into.seen) {
    into.seen = std::move(row.seen);
    into.was = std::move(row.was);
  }
}

}  // namespace

std::vector<WhereUsedRow> ReadWhereUsed(const workbook::Sheet& sheet, std::int16_t development) {
  for (std::size_t column = 0; column < kWhereUsedColumns.size(); ++column) {
    if (sheet.CellText(0, column) != kWhereUsedColumns[column]) {
      throw workbook::Error("the sheet \"" + std::string(kWhereUsedSheet) +
                            "\" was not written by Veltrano (column " + std::to_string(column + 1) +
                            " is not \"" + std::string(kWhereUsedColumns[column]) +
                            "\"): it is left as it is");
    }
  }
  const std::string development_column = "Language_" + std::to_string(development);
  std::vector<WhereUsedRow> rows;
  std::unordered_map<std::string, std::size_t> row_of;  // language, NUL, text
  for (std::size_t row = 1; row < sheet.RowCount(); ++row) {
    WhereUsedRow read;
    for (std::size_t column = 0; column < kWhereUsedColumns.size(); ++column) {
      if (std::string* field = TextField(read, column)) field->assign(sheet.CellText(row, column));
    }
    if (read.text.empty()) continue;
    const std::string_view count = sheet.CellText(row, kPictures);
    const auto [end, error] =
        std::from_chars(count.data(), count.data() + count.size(), read.pictures);
    if (error != std::errc() || end != count.data() + count.size()) {
      read.pictures = CountPictures(SplitPlaces(read.places));
    }
    // The earlier rule wrote its counts as texts.
    if (sheet.Kind(row, kPictures) == workbook::CellKind::kText) read.language = development_column;
    std::string key = read.language;
    key += '\0';
    key += read.text;
    const auto [at, fresh] = row_of.try_emplace(std::move(key), rows.size());
    if (fresh) {
      rows.push_back(std::move(read));
    } else {
      Join(rows[at->second], std::move(read));
    }
  }
  return rows;
}

void WriteWhereUsed(workbook::Sheet& sheet, const std::vector<WhereUsedRow>& rows) {
  auto set = [&](std::size_t row, std::size_t column, std::string_view text) {
    if (sheet.CellText(row, column) != text) sheet.SetCellText(row, column, text);
  };
  for (std::size_t column = 0; column < kWhereUsedColumns.size(); ++column) {
    set(0, column, kWhereUsedColumns[column]);
  }
  for (std::size_t row = 0; row < rows.size(); ++row) {
    for (std::size_t column = 0; column < kWhereUsedColumns.size(); ++column) {
      if (const std::string* text = TextField(rows[row], column)) {
        set(row + 1, column, *text);
      } else {
        sheet.SetCellNumber(row + 1, column, static_cast<double>(rows[row].pictures));
      }
    }
  }
  for (std::size_t row = rows.size() + 1; row < sheet.RowCount(); ++row) {
    for (std::size_t column = 0; column < kWhereUsedColumns.size(); ++column) set(row, column, "");
  }
}

}  // namespace vt::maintenance
