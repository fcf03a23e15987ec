#include "dict/run.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "dict/dictionary_sheet.h"
#include "dict/failure.h"
#include "dict/fill.h"
#include "dict/import.h"
#include "dict/reused.h"
#include "dict/stats.h"
#include "dict/where_used.h"
#include "dict/xliff_reader.h"
#include "dict/xliff_writer.h"
#include "platform/system/env.h"
#include "platform/system/utf8_path.h"
#include "platform/workbook/workbook.h"

namespace vt::dict {
namespace {

struct Options {
  std::string workbook;
  std::int16_t from = 1;  // the library's development language unless configured
  std::int16_t to = 2;
  std::vector<std::int16_t> check;
  std::string output;
  std::string xliff;
  double ratio = 1.5;
  bool overwrite = false;
  std::vector<std::string> accepted_states;
  std::vector<std::string> sources;   // fill's other workbooks
  std::vector<std::int16_t> targets;  // fill's --to
};

constexpr const char* kFooter =
    "Exit status: 0 done; 1 stats --check found a named language missing texts, export left "
    "out rows XML cannot hold, import refused units, or fill found translations a cell cannot "
    "take (each told on stderr); 2 a wrong command line, or a file that cannot be read, written "
    "or used (nothing is written then).";

workbook::Workbook OpenBook(const std::string& path) {
  workbook::Workbook book = workbook::Workbook::Open(system::PathFromUtf8(path));
  return book;
}

// A command never writes over a file it reads, whatever path names it.
void RefuseSameFile(const std::string& workbook, const std::string& what,
                    const std::string& other) {
  bool same = false;
  try {
    same = system::CurrentEnv().IsSameFile(workbook, other);
  } catch (const std::exception& e) {
    throw Failure(std::string(e.what()));
  }
  if (same) {
    throw Failure(what + " " + other + " is the workbook " + workbook + " itself: nothing written");
  }
}

int RunStats(const Options& options, std::ostream& out, std::ostream& err) {
  workbook::Workbook book = OpenBook(options.workbook);
  const DictionarySheet dictionary(book);
  if (!book.Damage().empty()) {
    err << "veltrano-dict: warning: " << options.workbook << ": the workbook is damaged ("
        << book.Damage() << "); the figures are those of what reads\n";
  }
  for (const std::int16_t language : options.check) dictionary.Column(language);
  const Stats stats = CountTexts(dictionary, options.from);
  out << FormatStats(stats);
  int status = kDone;
  for (const std::int16_t language : options.check) {
    for (const LanguageStats& entry : stats.languages) {
      if (entry.language != language || entry.translated == stats.texts) continue;
      err << "veltrano-dict: Language_" << language << " misses " << stats.texts - entry.translated
          << " of " << stats.texts << " texts\n";
      status = kIncomplete;
    }
  }
  return status;
}

int RunExport(const Options& options, std::ostream& out, std::ostream& err) {
  workbook::Workbook book = OpenBook(options.workbook);
  const DictionarySheet dictionary(book);
  if (!book.Damage().empty()) {
    err << "veltrano-dict: warning: " << options.workbook << ": the workbook is damaged ("
        << book.Damage() << "); what reads is exported\n";
  }
  if (options.from == options.to) {
    throw Failure("--from and --to name the same column Language_" + std::to_string(options.to));
  }
  ExportOptions export_options;
  export_options.from = options.from;
  export_options.to = options.to;
  export_options.length_ratio = options.ratio;
  export_options.original = system::Utf8FromPath(book.Path().filename());
  RefuseSameFile(options.workbook, "the output", options.output);
  const ReusedCells reused(book, dictionary);
  const Export result =
      WriteXliff(dictionary, ReadWhereUsed(book, options.from), &reused, export_options);
  try {
    system::Env::Default()->WriteFileAtomic(options.output, result.xml);
  } catch (const std::exception& e) {
    throw Failure(options.output + ": not written: " + e.what());
  }
  for (const std::string& row : result.left_out) {
    err << "veltrano-dict: left out " << row << ", which XML cannot hold\n";
  }
  out << result.units << " units from Language_" << options.from << " to Language_" << options.to
      << " written to " << options.output << "\n";
  return result.left_out.empty() ? kDone : kIncomplete;
}

int RunImport(const Options& options, std::ostream& out, std::ostream& err) {
  RefuseSameFile(options.workbook, "the XLIFF file", options.xliff);
  std::string bytes;
  try {
    bytes = system::Env::Default()->ReadFile(options.xliff);
  } catch (const std::exception& e) {
    throw Failure(options.xliff + ": cannot be read: " + e.what());
  }
  const std::vector<XliffFile> files = ReadXliff(bytes, options.xliff);
  workbook::Workbook book = OpenBook(options.workbook);
  if (!book.Damage().empty()) {
    throw Failure(options.workbook + ": the workbook is damaged (" + std::string(book.Damage()) +
                  "): nothing written");
  }
  ImportOptions import_options;
  import_options.overwrite = options.overwrite;
  import_options.accepted_states = options.accepted_states;
  const ImportCounts counts = ImportUnits(book, files, options.xliff, import_options);
  for (const std::string& unit : counts.unreviewed) err << "veltrano-dict: " << unit << "\n";
  for (const std::string& refusal : counts.refused) err << "veltrano-dict: " << refusal << "\n";
  out << "written " << counts.written << ", kept " << counts.kept
      << (counts.kept > 0 ? " (translated already; --overwrite replaces them)" : "")
      << ", unchanged " << counts.unchanged << ", untranslated " << counts.untranslated
      << ", unreviewed " << counts.unreviewed.size()
      << (counts.unreviewed.empty() ? ""
                                    : " (marked new or needs-translation; --accept-state takes "
                                      "them)")
      << ", refused " << counts.refused.size() << "\n";
  return counts.refused.empty() ? kDone : kIncomplete;
}

int RunFill(const Options& options, std::ostream& out, std::ostream& err) {
  for (const std::string& source : options.sources) {
    RefuseSameFile(options.workbook, "--from-workbook", source);
  }
  workbook::Workbook book = OpenBook(options.workbook);
  if (!book.Damage().empty()) {
    throw Failure(options.workbook + ": the workbook is damaged (" + std::string(book.Damage()) +
                  "): nothing written");
  }
  std::vector<workbook::Workbook> others;
  others.reserve(options.sources.size());
  std::vector<FillSource> sources;
  for (const std::string& name : options.sources) {
    others.push_back(OpenBook(name));
    if (!others.back().Damage().empty()) {
      err << "veltrano-dict: warning: " << name << ": the workbook is damaged ("
          << others.back().Damage() << "); what reads is reused\n";
    }
    sources.push_back({name, &others.back()});
  }
  FillOptions fill_options;
  fill_options.from = options.from;
  fill_options.to = options.targets;
  fill_options.overwrite = options.overwrite;
  const FillCounts counts = FillFromWorkbooks(book, sources, fill_options);
  for (const std::string& refusal : counts.refused) {
    err << "veltrano-dict: " << refusal << ", which a cell cannot take: not reused\n";
  }
  std::vector<std::size_t> per_source(sources.size(), 0);
  std::size_t kept = 0, unchanged = 0, not_found = 0;
  for (const LanguageFill& language : counts.languages) {
    std::size_t filled = 0;
    std::string from;
    for (std::size_t k = 0; k < sources.size(); ++k) {
      filled += language.filled[k];
      per_source[k] += language.filled[k];
      if (language.filled[k] > 0) {
        from += (from.empty() ? " (" : ", ") + std::to_string(language.filled[k]) + " from " +
                sources[k].name;
      }
    }
    out << "Language_" << language.language << ": filled " << filled << from
        << (from.empty() ? "" : ")") << ", kept " << language.kept << ", unchanged "
        << language.unchanged << ", not found " << language.not_found << "\n";
    kept += language.kept;
    unchanged += language.unchanged;
    not_found += language.not_found;
  }
  out << "filled " << counts.written;
  for (std::size_t k = 0; k < sources.size(); ++k) {
    out << (k == 0 ? " (" : ", ") << per_source[k] << " from " << sources[k].name
        << (k + 1 == sources.size() ? ")" : "");
  }
  out << ", kept " << kept << (kept > 0 ? " (translated already; --overwrite replaces them)" : "")
      << ", unchanged " << unchanged << ", not found " << not_found << ", refused "
      << counts.refused.size() << "\n";
  return counts.refused.empty() ? kDone : kIncomplete;
}

CLI::App* AddCommand(CLI::App& app, const char* name, const char* description) {
  CLI::App* command = app.add_subcommand(name, description);
  command->footer(kFooter);
  return command;
}

}  // namespace

int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  Options options;
  CLI::App app{
      "veltrano-dict: the dictionary workbook's statistics, XLIFF 1.2 out and in, and "
      "translations reused from other dictionaries",
      "veltrano-dict"};
  app.require_subcommand(1);
  app.footer(
      std::string(
          "Languages are the numbers n of the sheet Dictionary's columns Language_n. The texts "
          "are the rows with a text in the development language's column (--from, 1 unless "
          "given, as the configuration's DevelopmentLanguageNumber is by default). In XLIFF the "
          "column Language_n is the language tag x-lang-n. No command writes over a file it "
          "reads. fill notes the cells it filled in a sheet Reused beside Dictionary; export "
          "marks them state-qualifier=\"exact-match\" while they hold what fill wrote.\n\n") +
      kFooter);

  CLI::App* stats = AddCommand(app, "stats", "per language column: texts, translated, missing");
  stats->add_option("WORKBOOK", options.workbook, "the dictionary workbook (.xls)")->required();
  stats->add_option("--from", options.from, "the development language's number (default 1)")
      ->type_name("N");
  stats->add_option("--check", options.check, "exit 1 when one of these languages misses a text")
      ->type_name("LANG")
      ->expected(1, -1);

  CLI::App* out_xliff =
      AddCommand(app, "export", "XLIFF 1.2 for translators' tools, one trans-unit per text");
  out_xliff->add_option("WORKBOOK", options.workbook, "the dictionary workbook (.xls)")->required();
  out_xliff->add_option("--from", options.from, "the source language's number (default 1)")
      ->type_name("N");
  out_xliff->add_option("--to", options.to, "the target language's number")
      ->type_name("M")
      ->required();
  out_xliff->add_option("-o,--output", options.output, "the XLIFF file to write")
      ->type_name("FILE.xlf")
      ->required();
  out_xliff
      ->add_option("--length-ratio", options.ratio,
                   "maxwidth: the source's characters times this (default 1.5, as "
                   "ReportLengthRatio)")
      ->type_name("R")
      ->check(CLI::Range(1.0, 100.0));

  CLI::App* in_xliff = AddCommand(app, "import", "translations from XLIFF into Language_M");
  in_xliff->add_option("WORKBOOK", options.workbook, "the dictionary workbook (.xls)")->required();
  in_xliff
      ->add_option("FILE.xlf", options.xliff,
                   "the XLIFF file, as export wrote it and a "
                   "translator's tool filled it")
      ->required();
  in_xliff->add_flag("--overwrite", options.overwrite,
                     "replace translations the workbook holds already (default: fill empty "
                     "cells only)");
  in_xliff
      ->add_option("--accept-state", options.accepted_states,
                   "take filled targets marked with these states too (left out and told "
                   "otherwise)")
      ->type_name("STATE")
      ->delimiter(',')
      ->check(CLI::IsMember({"new", "needs-translation"}));

  CLI::App* fill = AddCommand(app, "fill",
                              "empty cells filled from other applications' dictionaries that "
                              "hold the same source text");
  fill->add_option("WORKBOOK", options.workbook, "the dictionary workbook to fill (.xls)")
      ->required();
  fill->add_option("--from-workbook", options.sources,
                   "a dictionary to take translations from; several: the first that translates "
                   "a text wins")
      ->type_name("OTHER.xls")
      ->required()
      ->expected(1, -1);
  fill->add_option("--from", options.from,
                   "the source texts' language, matched in every workbook (default 1)")
      ->type_name("N");
  fill->add_option("--to", options.targets,
                   "the languages to fill (default: every other column that a source has)")
      ->type_name("M")
      ->expected(1, -1);
  fill->add_flag("--overwrite", options.overwrite,
                 "replace translations the workbook holds already (default: empty cells only)");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    out << app.help();  // the chosen command's, when one was given
    return kDone;
  } catch (const CLI::ParseError& e) {
    err << "veltrano-dict: " << e.what() << "\n\n" << app.help();
    return kWrongUse;
  }

  try {
    if (stats->parsed()) return RunStats(options, out, err);
    if (out_xliff->parsed()) return RunExport(options, out, err);
    if (fill->parsed()) return RunFill(options, out, err);
    return RunImport(options, out, err);
  } catch (const std::exception& e) {
    err << "veltrano-dict: " << e.what() << "\n";
    return kWrongUse;
  }
}

}  // namespace vt::dict
