// Helper program for the workbook tests: runs the engine in its own process,
// so that tests can run several writers at once and kill one mid-save.
//
//   workbook_tool dump FILE
//   workbook_tool create FILE SHEET HEADER...
//   workbook_tool append FILE SHEET COL PREFIX COUNT   (one save per row)
//   workbook_tool churn FILE SHEET COL PREFIX          (append and save until killed;
//                                                       prints each saved number)
//   workbook_tool append-lines FILE SHEET TEXTS EVERY  (each line of the UTF-8 file
//                                                       TEXTS, "column<TAB>text", appended;
//                                                       a save after every EVERY rows)

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/system/arguments.h"
#include "platform/system/utf8_path.h"
#include "platform/workbook/workbook.h"

namespace {

int Usage() {
  std::cerr << "usage: workbook_tool dump FILE | append FILE SHEET COL PREFIX COUNT | "
               "churn FILE SHEET COL PREFIX\n";
  return 2;
}

int Dump(const char* file) {
  auto book = vt::workbook::Workbook::Open(vt::system::PathFromUtf8(file));
  for (const std::string& name : book.SheetNames()) {
    vt::workbook::Sheet* sheet = book.FindSheet(name);
    std::cout << "sheet " << name << " rows " << sheet->RowCount() << "\n";
    for (std::size_t r = 0; r < sheet->RowCount(); ++r) {
      for (std::size_t c = 0; c < sheet->ColumnCount(); ++c) {
        if (sheet->Kind(r, c) == vt::workbook::CellKind::kEmpty) continue;
        std::cout << r << "," << c << "," << static_cast<int>(sheet->Kind(r, c)) << ": "
                  << sheet->CellText(r, c).substr(0, 80) << "\n";
      }
    }
  }
  return 0;
}

vt::workbook::Sheet& SheetOf(vt::workbook::Workbook& book, const char* name) {
  vt::workbook::Sheet* sheet = book.FindSheet(name);
  if (!sheet) throw vt::workbook::Error(book.Path(), std::string("no sheet ") + name);
  return *sheet;
}

int Append(const char* file, const char* sheet_name, std::size_t col, const std::string& prefix,
           long count) {
  auto book = vt::workbook::Workbook::Open(vt::system::PathFromUtf8(file));
  for (long i = 0; i < count; ++i) {
    SheetOf(book, sheet_name).AppendRow(col, prefix + std::to_string(i));
    book.Save();
  }
  return 0;
}

int AppendLines(const char* file, const char* sheet_name, const char* texts, long every) {
  auto book = vt::workbook::Workbook::Open(vt::system::PathFromUtf8(file));
  std::ifstream in(vt::system::PathFromUtf8(texts), std::ios::binary);
  if (!in) throw std::runtime_error(std::string("cannot read ") + texts);
  long n = 0;
  for (std::string line; std::getline(in, line);) {
    const auto tab = line.find('\t');
    if (tab == std::string::npos) continue;
    SheetOf(book, sheet_name)
        .AppendRow(std::strtoul(line.substr(0, tab).c_str(), nullptr, 10), line.substr(tab + 1));
    if (++n % every == 0) book.Save();
  }
  book.Save();
  return 0;
}

int Churn(const char* file, const char* sheet_name, std::size_t col, const std::string& prefix) {
  auto book = vt::workbook::Workbook::Open(vt::system::PathFromUtf8(file));
  for (long i = 0;; ++i) {
    SheetOf(book, sheet_name).AppendRow(col, prefix + std::to_string(i));
    book.Save();
    std::printf("%ld\n", i);
    std::fflush(stdout);
  }
}

}  // namespace

int main(int raw_argc, char** raw_argv) {
  vt::system::Utf8Arguments args(raw_argc, raw_argv);
  const int argc = args.argc();
  char** argv = args.argv();
  if (argc < 3) return Usage();
  std::string command = argv[1];
  try {
    if (command == "dump") return Dump(argv[2]);
    if (command == "create" && argc >= 4) {
      vt::workbook::Workbook::CreateDictionary(vt::system::PathFromUtf8(argv[2]), argv[3],
                                               std::vector<std::string>(argv + 4, argv + argc));
      return 0;
    }
    if (command == "append" && argc == 7) {
      return Append(argv[2], argv[3], std::strtoul(argv[4], nullptr, 10), argv[5],
                    std::strtol(argv[6], nullptr, 10));
    }
    if (command == "append-lines" && argc == 6) {
      return AppendLines(argv[2], argv[3], argv[4], std::strtol(argv[5], nullptr, 10));
    }
    if (command == "churn" && argc == 6) {
      return Churn(argv[2], argv[3], std::strtoul(argv[4], nullptr, 10), argv[5]);
    }
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
  return Usage();
}
