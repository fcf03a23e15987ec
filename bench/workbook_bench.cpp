// Workbook engine against its peers on a full-size dictionary: a 65,535-row
// workbook with 8 language columns, loaded (every cell read) by our engine,
// by FreeXL and by xlrd; then one append-and-save. Prints times and ratios.
//
//   workbook_bench [FOLDER]     (default: a temporary folder, removed after)

#include <freexl.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/workbook/workbook.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kRows = 65535;
constexpr std::size_t kColumns = 8;
constexpr int kRuns = 5;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

template <typename F>
double Median(F&& run) {
  std::vector<double> times;
  for (int i = 0; i < kRuns; ++i) {
    auto start = Clock::now();
    run();
    times.push_back(Seconds(start));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

std::string CellText(std::size_t row, std::size_t col) {
  return "Text " + std::to_string(row) + " in language " + std::to_string(col + 1) +
         (col == 2 ? " 中文" : "");
}

void Build(const std::filesystem::path& file) {
  std::vector<std::string> headers;
  for (std::size_t c = 0; c < kColumns; ++c) headers.push_back("Language_" + std::to_string(c + 1));
  vt::workbook::Workbook::CreateDictionary(file, "Dictionary", headers);
  auto book = vt::workbook::Workbook::Open(file);
  vt::workbook::Sheet* sheet = book.FindSheet("Dictionary");
  for (std::size_t r = 1; r < kRows; ++r) {
    sheet->AppendRow(0, CellText(r, 0));
    for (std::size_t c = 1; c < kColumns; ++c) sheet->SetCellText(r, c, CellText(r, c));
  }
  book.Save();
}

std::size_t LoadOurs(const std::filesystem::path& file) {
  auto book = vt::workbook::Workbook::Open(file);
  vt::workbook::Sheet* sheet = book.FindSheet("Dictionary");
  std::size_t bytes = 0;
  for (std::size_t c = 0; c < kColumns; ++c) {
    for (std::string_view text : sheet->ColumnTexts(c)) bytes += text.size();
  }
  return bytes;
}

std::size_t LoadFreeXl(const std::filesystem::path& file) {
  const void* handle = nullptr;
  if (freexl_open(file.c_str(), &handle) != FREEXL_OK) {
    std::fprintf(stderr, "FreeXL could not open %s\n", file.c_str());
    std::exit(1);
  }
  freexl_select_active_worksheet(handle, 0);
  unsigned int rows = 0;
  unsigned short columns = 0;
  freexl_worksheet_dimensions(handle, &rows, &columns);
  std::size_t bytes = 0;
  for (unsigned int r = 0; r < rows; ++r) {
    for (unsigned short c = 0; c < columns; ++c) {
      FreeXL_CellValue cell;
      if (freexl_get_cell_value(handle, r, c, &cell) != FREEXL_OK) continue;
      if (cell.type == FREEXL_CELL_TEXT || cell.type == FREEXL_CELL_SST_TEXT) {
        bytes += std::char_traits<char>::length(cell.value.text_value);
      }
    }
  }
  freexl_close(handle);
  return bytes;
}

// xlrd's own time for open + reading every cell, without Python's start-up.
double LoadXlrd(const std::filesystem::path& file) {
  std::string command =
      "/usr/bin/python3 -c 'import sys, time, xlrd\n"
      "best = None\n"
      "for _ in range(3):\n"
      "    t = time.perf_counter()\n"
      "    s = xlrd.open_workbook(sys.argv[1]).sheet_by_index(0)\n"
      "    n = sum(len(v) for r in range(s.nrows) for v in s.row_values(r))\n"
      "    d = time.perf_counter() - t\n"
      "    best = d if best is None else min(best, d)\n"
      "print(best)' '" +
      file.string() + "'";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  char line[128] = {};
  if (!std::fgets(line, sizeof line, pipe)) line[0] = 0;
  int status = pclose(pipe);
  return status == 0 ? std::atof(line) : -1;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path folder;
  bool temporary = argc < 2;
  if (temporary) {
    std::string pattern = (std::filesystem::temp_directory_path() / "vtbench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    folder = pattern;
  } else {
    folder = argv[1];
  }
  auto file = folder / "Veltrano.xls";
  try {
    auto start = Clock::now();
    Build(file);
    double build = Seconds(start);
    std::printf("workbook: %zu rows x %zu columns, %.1f MB, built and saved in %.3f s\n", kRows,
                kColumns, static_cast<double>(std::filesystem::file_size(file)) / 1e6, build);

    std::size_t ours_bytes = 0, freexl_bytes = 0;
    double ours = Median([&] { ours_bytes = LoadOurs(file); });
    double freexl = Median([&] { freexl_bytes = LoadFreeXl(file); });
    double xlrd = LoadXlrd(file);
    if (ours_bytes != freexl_bytes) {
      std::printf("warning: text bytes differ: ours %zu, FreeXL %zu\n", ours_bytes, freexl_bytes);
    }

    auto book = vt::workbook::Workbook::Open(file);
    start = Clock::now();
    book.FindSheet("Dictionary")->AppendRow(0, "One more text");
    book.Save();
    double append = Seconds(start);

    std::printf("load, every cell read (median of %d):\n", kRuns);
    std::printf("  vtworkbook  %8.3f s\n", ours);
    std::printf("  FreeXL      %8.3f s   %.1fx our time\n", freexl, freexl / ours);
    if (xlrd > 0) {
      std::printf("  xlrd        %8.3f s   %.1fx our time (best of 3, in-process)\n", xlrd,
                  xlrd / ours);
    } else {
      std::printf("  xlrd        not available (/usr/bin/python3 with python3-xlrd)\n");
    }
    std::printf("append one row and save: %.3f s\n", append);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  if (temporary) std::filesystem::remove_all(folder);
  return 0;
}
