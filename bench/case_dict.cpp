// veltrano-dict on a dictionary of every row the format allows, as a whole
// process each: stats, and the export of one language pair to XLIFF, each
// held to one second; the import of every unit of that export, changed, back
// into a copy (--overwrite: 65,535 cells, one save), for the record. Beside stats, gettext's msgfmt
// --statistics over the same texts as a PO file (made once from the export by translate-toolkit's
// xliff2po and kept in the cache).
#include <cstdio>
#include <stdexcept>

#include "bench/inputs.h"
#include "bench/suite.h"

namespace vt::bench {
namespace {

namespace fs = std::filesystem;

std::string Text(const fs::path& file) { return fs::exists(file) ? ReadText(file) : std::string(); }

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
  const std::vector<Figure> figures = MeasureProcessesInTurn(
      context.process_runs,
      {{[] {},
        {tool, "stats", file.string()},
        {},
        [&](const ProcessRun& run) {
          if (run.status != 0 || run.out.rfind(expected_stats, 0) != 0) {
            throw std::runtime_error("veltrano-dict stats: " + run.out + run.err);
          }
        }},
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
        }}},
      context.scratch);

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
  const Figure one_second{1.0, 1.0, 1};
  const std::string name = "9 dict";
  return {
      {name, "veltrano-dict stats", "one second", figures[0], one_second, "s", UnderTimes(1), note},
      {name, "veltrano-dict export", "one second", figures[1], one_second, "s", UnderTimes(1), ""},
      {name, "veltrano-dict stats", "msgfmt --statistics", figures[0], gettext, "s", std::nullopt,
       ""},
      {name, "veltrano-dict import --overwrite", "one second", figures[2], one_second, "s",
       std::nullopt, ""},
  };
}

}  // namespace vt::bench
