#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vt::workbook {

// Every failure of the workbook engine. The message names the file and what is
// wrong with it, e.g. "/x/Veltrano.xls": not an Excel 97-2003 workbook: ...
class Error : public std::runtime_error {
 public:
  Error(const std::filesystem::path& file, std::string_view what);
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace vt::workbook
