#pragma once

// The files the library works on: Veltrano.ini and dictionary workbooks, and
// workbooks read back by an independent reader (python3-xlrd).

#include <cstddef>
#include <filesystem>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace vt::testing {

// Workbook rows below the header, one text a cell; "" leaves a cell empty.
using Rows = std::vector<std::vector<std::string>>;

struct IniUser {
  std::string name;
  int language = 0;
};

// A configuration that makes a Ready object: development and starting
// language 1, warnings on, invisible texts translated, no prefix; CR LF line
// ends. `changes` replace [PARAMETERS] values (a key not there throws);
// `users` make [USERSLANG], which is left out when there are none.
std::string ReadyIni(const std::map<std::string, std::string>& changes = {},
                     const std::vector<IniUser>& users = {});

// Language_1 to Language_3.
std::vector<std::string> ThreeLanguages();

// Writes a workbook whose sheet `sheet_name` has `headers` in row 0 and then
// `rows`; a row needs one filled cell.
void WriteWorkbook(const std::filesystem::path& file, const std::vector<std::string>& headers,
                   const Rows& rows, const std::string& sheet_name = "Dictionary");

// A cell as python3-xlrd reads it: kind "empty", "text", "number", "other".
// Veltrano.ini as this platform's private-profile functions read Unicode
// text: UTF-8 on Linux, UTF-16 LE with a byte-order mark on Windows.
std::string IniFileBytes(const std::string& utf8);

struct XlrdCell {
  std::string kind;
  std::string text;  // texts only
  double number = 0;
  bool operator==(const XlrdCell&) const = default;
};
XlrdCell Text(std::string text);
XlrdCell Empty();
XlrdCell Number(double value);
void PrintTo(const XlrdCell& cell, std::ostream* os);

// A sheet as the independent reader sees it, row by row (up to its last
// used row and column).
std::vector<std::vector<XlrdCell>> ReadWithXlrd(const std::filesystem::path& file,
                                                const std::string& sheet_name = "Dictionary");
// The cells of one row, padded with empty cells up to `columns`.
std::vector<XlrdCell> XlrdRow(const std::filesystem::path& file, std::size_t row,
                              std::size_t columns);

}  // namespace vt::testing
