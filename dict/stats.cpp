#include "dict/stats.h"

#include <algorithm>

namespace vt::dict {
namespace {

std::string PadLeft(const std::string& text, std::size_t width) {
  return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

std::string PadRight(const std::string& text, std::size_t width) {
  return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

}  // namespace

Stats CountTexts(const DictionarySheet& dictionary, std::int16_t from) {
  const std::size_t source = dictionary.Column(from);
  Stats stats{from, 0, {}};
  std::vector<std::size_t> columns;
  for (const LanguageColumn& entry : dictionary.Languages()) {
    stats.languages.push_back({entry.language, 0});
    columns.push_back(entry.column);
  }
  for (std::size_t row = 1; row < dictionary.RowCount(); ++row) {
    if (dictionary.Text(row, source).empty()) continue;
    ++stats.texts;
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (!dictionary.Text(row, columns[i]).empty()) ++stats.languages[i].translated;
    }
  }
  return stats;
}

std::string FormatStats(const Stats& stats) {
  const std::vector<std::string> headers = {"language", "texts", "translated", "missing"};
  std::vector<std::vector<std::string>> rows;
  for (const LanguageStats& entry : stats.languages) {
    rows.push_back({"Language_" + std::to_string(entry.language), std::to_string(stats.texts),
                    std::to_string(entry.translated),
                    std::to_string(stats.texts - entry.translated)});
  }
  std::vector<std::size_t> widths;
  for (std::size_t i = 0; i < headers.size(); ++i) {
    std::size_t width = headers[i].size();
    for (const auto& row : rows) width = std::max(width, row[i].size());
    widths.push_back(width);
  }
  const auto line = [&](const std::vector<std::string>& cells) {
    std::string text = PadRight(cells[0], widths[0]);
    for (std::size_t i = 1; i < cells.size(); ++i) text += "  " + PadLeft(cells[i], widths[i]);
    return text + "\n";
  };
  std::string out = "texts in Language_" + std::to_string(stats.from) + ": " +
                    std::to_string(stats.texts) + "\n" + line(headers);
  for (const auto& row : rows) out += line(row);
  return out;
}

}  // namespace vt::dict
