// Load of a full-size dictionary made by LibreOffice, every cell read: our
// workbook engine and FreeXL in this process, xlrd timed inside Python, and
// LibreOffice converting the same file to CSV.
#include <freexl.h>

#include <cstdio>
#include <stdexcept>

#include "bench/inputs.h"
#include "bench/suite.h"
#include "platform/workbook/workbook.h"

namespace vt::bench {
namespace {

namespace fs = std::filesystem;

std::size_t LoadOurs(const fs::path& file) {
  workbook::Workbook book = workbook::Workbook::Open(file);
  const workbook::Sheet& sheet = *book.FindSheet("Dictionary");
  std::size_t bytes = 0;
  for (std::size_t c = 0; c < sheet.ColumnCount(); ++c) {
    for (std::string_view text : sheet.ColumnTexts(c)) bytes += text.size();
  }
  return bytes;
}

std::size_t LoadFreeXl(const fs::path& file) {
  const void* handle = nullptr;
  if (freexl_open(file.c_str(), &handle) != FREEXL_OK) {
    throw std::runtime_error("FreeXL could not open " + file.string());
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

}  // namespace

std::vector<Row> RunLoadCase(Context& context) {
  const fs::path file = LibreOfficeDictionary(context, kFullRows, kFullLanguages, 0);
  const std::string name = "1 load";

  std::size_t ours_bytes = 0, freexl_bytes = 0;
  LoadOurs(file);  // the file in the page cache for every reader alike
  const Figure ours = Measure(context.runs, [&] { ours_bytes = LoadOurs(file); });
  const Figure freexl = Measure(context.runs, [&] { freexl_bytes = LoadFreeXl(file); });
  if (ours_bytes != freexl_bytes) {
    throw std::runtime_error("FreeXL read " + std::to_string(freexl_bytes) +
                             " bytes of text, we read " + std::to_string(ours_bytes));
  }

  const ScriptRuns xlrd = ParseScriptRuns(
      RunChecked({"/usr/bin/python3", (context.source_dir / "bench/peers/xlrd_load.py").string(),
                  file.string(), std::to_string(context.process_runs)},
                 context.scratch)
          .out,
      "bytes");
  if (xlrd.count != ours_bytes) {
    throw std::runtime_error("xlrd read " + std::to_string(xlrd.count) +
                             " bytes of text, we read " + std::to_string(ours_bytes));
  }

  std::vector<Sample> libreoffice;
  const fs::path csv_dir = context.scratch / "csv";
  for (int i = 0; i < context.process_runs; ++i) {
    fs::remove_all(csv_dir);
    libreoffice.push_back(RunLibreOffice(context, {"--convert-to", "csv", "--outdir",
                                                   csv_dir.string(), file.string()})
                              .time);
  }
  if (!fs::exists(csv_dir / (file.stem().string() + ".csv"))) {
    throw std::runtime_error("LibreOffice wrote no CSV file");
  }

  char note[160];
  std::snprintf(note, sizeof note,
                "%zu rows x %d languages, %.1f MiB; xlrd timed inside Python (no start-up), "
                "LibreOffice as a whole process",
                kFullRows, kFullLanguages, FileMb(file));
  const Goal faster = Faster();
  return {
      {name, "open + read all", "FreeXL", ours, freexl, "s", faster, note},
      {name, "open + read all", "xlrd", ours, xlrd.figure, "s", faster, ""},
      {name, "open + read all", "LibreOffice to CSV", ours, MedianOf(std::move(libreoffice)), "s",
       faster, ""},
  };
}

}  // namespace vt::bench
