#include "host/commands/language_check.h"

#include <exception>
#include <optional>
#include <string>

#include "host/command.h"
#include "library/dictionary/layout.h"
#include "platform/system/utf8_path.h"
#include "platform/workbook/workbook.h"

namespace vt::host::commands {

void CheckLanguageColumn(const std::filesystem::path& pictures, std::string_view file,
                         std::string_view option, std::int16_t language) {
  if (language == 0) return;
  const std::filesystem::path path = pictures / "Veltrano" / system::PathFromUtf8(file);
  const std::string column = dictionary::LanguageColumn(language);
  std::string columns;
  try {
    workbook::Workbook book = workbook::Workbook::Open(path);
    const workbook::Sheet* sheet = book.FindSheet(dictionary::kSheetName);
    if (sheet == nullptr || sheet->FindColumn(column)) return;
    for (std::size_t col = 0; col < sheet->ColumnCount(); ++col) {
      const std::string_view name = sheet->CellText(0, col);
      if (!name.empty()) columns += (columns.empty() ? "\"" : ", \"") + std::string(name) + "\"";
    }
  } catch (const std::exception&) {
    return;
  }
  throw CommandLineError(std::string(option) + " " + std::to_string(language) + ": the sheet \"" +
                         std::string(dictionary::kSheetName) + "\" of \"" +
                         system::Utf8FromPath(path) + "\" has no column \"" + column +
                         "\"; its columns are " + (columns.empty() ? "none" : columns));
}

}  // namespace vt::host::commands
