// Creation of the interpreter object over a dictionary in which one cell in
// ten has spaces around it (as translators leave them): open, trim every
// cell, save, row set ready. The peers' way to the same file: xlrd reads it,
// Python trims, xlwt writes it anew.
#include <cstdio>
#include <stdexcept>

#include "bench/host_process.h"
#include "bench/inputs.h"
#include "bench/suite.h"
#include "bench/texts.h"
#include "platform/automation/text.h"
#include "platform/workbook/workbook.h"

namespace vt::bench {
namespace {

namespace fs = std::filesystem;

// Every cell of the sheet without outer spaces: what creation promises.
void ExpectTrimmed(const fs::path& file) {
  workbook::Workbook book = workbook::Workbook::Open(file);
  const workbook::Sheet& sheet = *book.FindSheet("Dictionary");
  for (std::size_t c = 0; c < sheet.ColumnCount(); ++c) {
    for (std::string_view text : sheet.ColumnTexts(c)) {
      if (automation::text::Trim(text).size() != text.size()) {
        throw std::runtime_error("creation left the cell \"" + std::string(text) + "\" padded");
      }
    }
  }
}

}  // namespace

std::vector<Row> RunCreationCase(Context& context) {
  const fs::path file = PaddedDictionary(context);
  const fs::path pictures = MakePicturesFolder(context.scratch, file);

  Figure ours;
  {
    InProcessHost host(pictures);
    std::shared_ptr<interpreter::VeltranoModule> object;
    ours = Measure(
        context.runs,
        [&] {
          object.reset();
          ResetDictionary(pictures, file);
        },
        [&] { object = host.CreateReady(); });
    object.reset();
    host.ExpectQuiet("creation");
  }
  ExpectTrimmed(DictionaryIn(pictures));

  const ScriptRuns peer =
      ParseScriptRuns(RunChecked({"/usr/bin/python3",
                                  (context.source_dir / "bench/peers/xlrd_xlwt_trim.py").string(),
                                  file.string(), (context.scratch / "trimmed-by-xlwt.xls").string(),
                                  std::to_string(context.process_runs)},
                                 context.scratch)
                          .out,
                      "trimmed");
  std::size_t padded = 0;
  for (const auto& row :
       DictionaryCells(kFullRows, kFullLanguages, kPaddedPercent, kDictionarySeed)) {
    for (const std::string& cell : row)
      padded += automation::text::Trim(cell).size() != cell.size();
  }
  if (peer.count != padded) {
    throw std::runtime_error("xlrd + xlwt trimmed " + std::to_string(peer.count) + " cells of " +
                             std::to_string(padded));
  }

  char note[200];
  std::snprintf(note, sizeof note,
                "%zu rows x %d languages made by LibreOffice, %.1f MiB, %zu cells padded; "
                "xlrd + xlwt timed inside Python (no start-up)",
                kFullRows, kFullLanguages, FileMb(file), padded);
  return {{"2 creation", "VeltranoModule created", "xlrd + xlwt read-trim-write", ours, peer.figure,
           "s", AtLeastTimesFaster(10), note}};
}

}  // namespace vt::bench
