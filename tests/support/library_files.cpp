#include "tests/support/library_files.h"

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <utility>

#include "platform/workbook/workbook.h"
#include "tests/support/shell.h"

namespace vt::testing {

namespace fs = std::filesystem;

namespace {

constexpr const char* kReadyParameters[][2] = {
    {"InterpreterEnabled", "Y"},
    {"ShowInfoPanelOnStartup", "N"},
    {"ShowWarningsForMissingTranslations", "Y"},
    {"TranslateInvisibleText", "Y"},
    {"DevelopmentLanguageNumber", "1"},
    {"StartingLanguageNumber", "1"},
    {"GetObjectsPrefix", "N"},
    {"ObjectsTargetPrefix", ""},
};

std::string Padded(std::size_t number) {
  std::string digits = std::to_string(number);
  return std::string(digits.size() < 3 ? 3 - digits.size() : 0, '0') + digits;
}

}  // namespace

std::string ReadyIni(const std::map<std::string, std::string>& changes,
                     const std::vector<IniUser>& users) {
  std::size_t used = 0;
  std::string ini = "[PARAMETERS]\r\n";
  for (const auto& [key, value] : kReadyParameters) {
    const auto changed = changes.find(key);
    if (changed != changes.end()) ++used;
    ini += std::string(key) + "=" + (changed != changes.end() ? changed->second : value) + "\r\n";
  }
  if (used != changes.size()) {
    throw std::invalid_argument("ReadyIni: a changed key is not among [PARAMETERS]");
  }
  if (!users.empty()) ini += "[USERSLANG]\r\n";
  for (std::size_t i = 0; i < users.size(); ++i) {
    ini += "UserName_" + Padded(i + 1) + "=" + users[i].name + "\r\n";
    ini += "UserLang_" + Padded(i + 1) + "=" + std::to_string(users[i].language) + "\r\n";
  }
  return ini;
}

std::vector<std::string> ThreeLanguages() { return {"Language_1", "Language_2", "Language_3"}; }

void WriteWorkbook(const fs::path& file, const std::vector<std::string>& headers, const Rows& rows,
                   const std::string& sheet_name) {
  workbook::Workbook::CreateDictionary(file, sheet_name, headers);
  if (rows.empty()) return;
  workbook::Workbook book = workbook::Workbook::Open(file);
  workbook::Sheet& sheet = *book.FindSheet(sheet_name);
  for (const auto& cells : rows) {
    std::size_t row = 0;
    for (std::size_t column = 0; column < cells.size(); ++column) {
      if (cells[column].empty()) continue;
      if (row == 0) {
        row = sheet.AppendRow(column, cells[column]);
      } else {
        sheet.SetCellText(row, column, cells[column]);
      }
    }
    // A row of empty cells would take no place at all.
    if (row == 0) throw std::invalid_argument("WriteWorkbook: a row needs one filled cell");
  }
  book.Save();
}

XlrdCell Text(std::string text) { return {"text", std::move(text), 0}; }
XlrdCell Empty() { return {"empty", "", 0}; }
XlrdCell Number(double value) { return {"number", "", value}; }

void PrintTo(const XlrdCell& cell, std::ostream* os) {
  *os << cell.kind << ":";
  if (cell.kind == "number") {
    *os << cell.number;
  } else {
    *os << '"' << cell.text << '"';
  }
}

std::vector<XlrdCell> XlrdRow(const fs::path& file, std::size_t row, std::size_t columns) {
  const auto rows = ReadWithXlrd(file);
  std::vector<XlrdCell> cells = row < rows.size() ? rows[row] : std::vector<XlrdCell>{};
  cells.resize(columns, Empty());
  return cells;
}

}  // namespace vt::testing
