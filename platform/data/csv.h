#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/data/recordset.h"

namespace vt::data {

// A file that is not the CSV we read; what() names the source, the line and
// the problem.
class CsvError : public std::runtime_error {
 public:
  CsvError(std::string source, std::size_t line, const std::string& problem);
  std::size_t line() const { return line_; }

 private:
  std::size_t line_;
};

// CSV as RFC 4180 has it, in UTF-8: a header row naming the fields, then one
// record per row, every field a Text field. Line ends are CR LF or LF (also
// inside quoted fields, kept as written); a leading byte-order mark and empty
// lines are skipped; an empty field reads as the empty text, not Null.
// `source` names the text in errors (usually its path).
std::shared_ptr<Recordset> ParseCsv(std::string_view text, std::string_view source);

// The header and the rows that `recordset` sees (its filter applies, its
// position does not matter), CR LF after every row. A field is quoted only
// when it holds a comma, a quote, a CR or a LF or begins with a byte-order
// mark, and a row of one empty field is written "" (an empty line would be
// skipped when read back); Null is written as empty.
std::string FormatCsv(const Recordset& recordset);

// The file through vt::system::CurrentEnv(); reading errors are
// vt::system::SystemError, format errors CsvError. Saving is atomic.
std::shared_ptr<Recordset> LoadCsv(const std::string& path);
void SaveCsv(const Recordset& recordset, const std::string& path);

}  // namespace vt::data
