// Builds a dictionary workbook from its readable source: a CSV file whose
// header row names the columns (Language_1, Language_2, ...) and whose rows
// are the entries, an empty field leaving the cell empty.
#include <exception>
#include <iostream>
#include <string>

#include "platform/data/csv.h"
#include "platform/system/arguments.h"
#include "platform/system/env.h"
#include "platform/system/utf8_path.h"
#include "platform/workbook/workbook.h"

int main(int raw_argc, char** raw_argv) {
  vt::system::Utf8Arguments args(raw_argc, raw_argv);
  const int argc = args.argc();
  char** argv = args.argv();
  if (argc != 3) {
    std::cerr << "usage: make-dictionary SOURCE.csv TARGET.xls\n";
    return 2;
  }
  try {
    if (vt::system::CurrentEnv().IsSameFile(argv[1], argv[2])) {
      std::cerr << "make-dictionary: " << argv[2] << " is the source " << argv[1]
                << " itself: nothing written\n";
      return 2;
    }
    const auto source = vt::data::LoadCsv(argv[1]);
    std::vector<std::string> headers;
    for (const auto& field : source->Fields()) headers.push_back(field.name);
    const auto target = vt::system::PathFromUtf8(argv[2]);
    vt::workbook::Workbook::CreateDictionary(target, "Dictionary", headers);

    auto book = vt::workbook::Workbook::Open(target);
    vt::workbook::Sheet& sheet = *book.FindSheet("Dictionary");
    for (std::size_t row = 0; row < static_cast<std::size_t>(source->RecordCount()); ++row) {
      std::size_t sheet_row = 0;
      for (std::size_t column = 0; column < headers.size(); ++column) {
        const std::string text = source->ValueAt(row, column).ToString();
        if (text.empty()) continue;
        if (sheet_row == 0) {
          sheet_row = sheet.AppendRow(column, text);
        } else {
          sheet.SetCellText(sheet_row, column, text);
        }
      }
    }
    book.Save();
  } catch (const std::exception& e) {
    std::cerr << "make-dictionary: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
