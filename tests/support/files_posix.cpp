// The Linux side of the library's files: UTF-8 INI files, and python3-xlrd
// as the independent reader of workbooks.

#include <nlohmann/json.hpp>
#include <stdexcept>

#include "tests/support/library_files.h"
#include "tests/support/shell.h"

namespace vt::testing {

namespace fs = std::filesystem;

std::vector<std::vector<XlrdCell>> ReadWithXlrd(const fs::path& file,
                                                const std::string& sheet_name) {
  // Debian's interpreter: the one first on PATH may lack xlrd.
  const fs::path script = SourceDir() / "tests/support/xls_cells.py";
  std::string out;
  const int status = RunShell("/usr/bin/python3 " + ShellQuote(script.string()) + " " +
                                  ShellQuote(file.string()) + " " + ShellQuote(sheet_name),
                              &out);
  if (status != 0) throw std::runtime_error("xlrd cannot read " + file.string() + ": " + out);
  const nlohmann::json dump = nlohmann::json::parse(out);
  std::vector<std::vector<XlrdCell>> rows;
  for (const auto& row : dump.at("rows")) {
    std::vector<XlrdCell>& cells = rows.emplace_back();
    for (const auto& cell : row) {
      const std::string kind = cell.at(0).get<std::string>();
      if (kind == "text") {
        cells.push_back(Text(cell.at(1).get<std::string>()));
      } else if (kind == "number") {
        cells.push_back(Number(cell.at(1).get<double>()));
      } else {
        cells.push_back({kind, "", 0});
      }
    }
  }
  return rows;
}

std::string IniFileBytes(const std::string& utf8) { return utf8; }

}  // namespace vt::testing
