// veltrano-dict on a dictionary of every row the format allows, as a whole
// process each: stats, and the export of one language pair to XLIFF, each
// held to one second; the import of every unit of that export, changed, back
// into a copy (--overwrite: 65,535 cells, one save), for the record. Beside stats, gettext's msgfmt
// --statistics over the same texts as a PO file (made once from the export by translate-toolkit's
// xliff2po and kept in the cache). Then fill: a second application's
// dictionary of the same texts without any translation in one row in ten,
// filled from the first (45,878 cells, one save), held to three times stats of
// both workbooks; for the record, the same with every other row untranslated
// (229,376 cells).
#include <cstdio>
#include <stdexcept>

#include "bench/inputs.h"
#include "bench/suite.h"

namespace vt::bench {
namespace {

namespace fs = std::filesystem;

std::string Text(const fs::path& file) { return fs::exists(file) ? ReadText(file) : std::string(); }

std::size_t UntranslatedRows(std::size_t every) { return (kFullRows + every - 1) / every; }

// A fill of a copy of `partly` from `from`, which must fill every empty cell.
ProcessJob FillJob(const std::string& tool, const fs::path& partly, const fs::path& from,
                   const fs::path& copy, std::size_t every) {
  const std::string expected =
      "filled " + std::to_string(UntranslatedRows(every) * (kFullLanguages - 1)) + " (";
  return {[=] { fs::copy_file(partly, copy, fs::copy_options::overwrite_existing); },
          {tool, "fill", copy.string(), "--from-workbook", from.string()},
          {},
          [=](const ProcessRun& run) {
            if (run.status != 0 || run.out.find(expected) == std::string::npos) {
              throw std::runtime_error("veltrano-dict fill: " + run.out + run.err);
            }
          }};
}

// Every translation of an export changed, as a translator's tool gives it back.
std::string Changed(std::string xml) {
  const std::string target = "<target state=\"translated\">";
  for (std::size_t at = xml.find(target); at != std::string::npos; at = xml.find(target, at)) {
    at += target.size();
    xml.insert(at, "N ");
  }
  return xml;
}

}  // namespace

std::vector<Row> RunDictCase(Context& context) {
  const fs::path file = OurDictionary(context, kFullRows, kFullLanguages);
  const std::string tool = (context.binary_dir / "bin/veltrano-dict").string();
  const fs::path xlf = context.scratch / "Veltrano-2.xlf";
  const std::string expected_stats = "texts in Language_1: " + std::to_string(kFullRows) + "\n";
  const std::string expected_units = std::to_string(kFullRows) + " units";

  const fs::path copy = context.scratch / "Veltrano.xls";
  const fs::path changed = context.scratch / "changed.xlf";
  const std::string expected_written = "written " + std::to_string(kFullRows) + ",";
  const fs::path tenth = OurDictionary(context, kFullRows, kFullLanguages, 10);
  const fs::path half = OurDictionary(context, kFullRows, kFullLanguages, 2);
  const fs::path filled = context.scratch / "Filled.xls";
  const auto stats_of = [&](const fs::path& book) {
    return ProcessJob{[] {},
                      {tool, "stats", book.string()},
                      {},
                      [&](const ProcessRun& run) {
                        if (run.status != 0 || run.out.rfind(expected_stats, 0) != 0) {
                          throw std::runtime_error("veltrano-dict stats: " + run.out + run.err);
                        }
                      }};
  };
  const std::vector<Figure> figures = MeasureProcessesInTurn(
      context.process_runs,
      {stats_of(file),
       {[&] { fs::remove(xlf); },
        {tool, "export", file.string(), "--to", "2", "-o", xlf.string()},
        {},
        [&](const ProcessRun& run) {
          if (run.status != 0 || run.out.rfind(expected_units, 0) != 0 ||
              Text(xlf).find("</xliff>") == std::string::npos) {
            throw std::runtime_error("veltrano-dict export: " + run.out + run.err);
          }
        }},
       {[&] {
          fs::copy_file(file, copy, fs::copy_options::overwrite_existing);
          if (!fs::exists(changed)) WriteText(changed, Changed(Text(xlf)));
        },
        {tool, "import", copy.string(), changed.string(), "--overwrite"},
        {},
        [&](const ProcessRun& run) {
          if (run.status != 0 || run.out.rfind(expected_written, 0) != 0) {
            throw std::runtime_error("veltrano-dict import: " + run.out + run.err);
          }
        }},
       stats_of(tenth),
       FillJob(tool, tenth, file, filled, 10),
       stats_of(half),
       FillJob(tool, half, file, filled, 2)},
      context.scratch);
  const auto both = [&](const Figure& other) {
    return Figure{figures[0].wall + other.wall, figures[0].cpu + other.cpu, figures[0].runs};
  };

  const fs::path po = context.cache / ("dict-" + std::to_string(kFullRows) + ".po");
  if (!fs::exists(po)) {
    const fs::path part = po.string() + ".part";
    RunChecked({"/usr/bin/xliff2po", "--progress=none", xlf.string(), part.string()},
               context.scratch);
    fs::rename(part, po);
  }
  std::vector<ProcessJob> msgfmt = {
      {[] {},
       {"/usr/bin/msgfmt", "--statistics", "-o", "/dev/null", po.string()},
       {},
       [&](const ProcessRun& run) {
         const std::string counted = std::to_string(kFullRows) + " translated messages";
         if (run.status != 0 || run.err.find(counted) == std::string::npos) {
           throw std::runtime_error("msgfmt --statistics: " + run.err);
         }
       }}};
  const Figure gettext = MeasureProcessesInTurn(context.process_runs, msgfmt, context.scratch)[0];

  char note[200];
  std::snprintf(note, sizeof note,
                "%zu rows x %d languages written by our engine, %.1f MiB; whole processes; the "
                "export %.1f MiB of XLIFF",
                kFullRows, kFullLanguages, FileMb(file), FileMb(xlf));
  const auto fill_note = [](std::size_t every) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "fill: %zu of %zu rows without translations, filled from the other (%zu cells)",
                  UntranslatedRows(every), kFullRows,
                  UntranslatedRows(every) * (kFullLanguages - 1));
    return std::string(text);
  };
  const Figure one_second{1.0, 1.0, 1};
  const std::string name = "9 dict";
  return {
      {name, "veltrano-dict stats", "one second", figures[0], one_second, "s", UnderTimes(1), note},
      {name, "veltrano-dict export", "one second", figures[1], one_second, "s", UnderTimes(1), ""},
      {name, "veltrano-dict stats", "msgfmt --statistics", figures[0], gettext, "s", std::nullopt,
       ""},
      {name, "veltrano-dict import --overwrite", "one second", figures[2], one_second, "s",
       std::nullopt, ""},
      {name, "veltrano-dict fill, 1 row in 10", "stats of both workbooks", figures[4],
       both(figures[3]), "s", AtMostTimes(3), fill_note(10)},
      {name, "veltrano-dict fill, 1 row in 2", "stats of both workbooks", figures[6],
       both(figures[5]), "s", std::nullopt, fill_note(2)},
  };
}

}  // namespace vt::bench
