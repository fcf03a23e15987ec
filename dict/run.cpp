#include "dict/run.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "dict/dictionary_sheet.h"
#include "dict/failure.h"
#include "dict/import.h"
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
};

constexpr const char* kFooter =
    "Exit status: 0 done; 1 stats --check found a named language missing texts, export left "
    "out rows XML cannot hold, or import refused units (each told on stderr); 2 a wrong command "
    "line, or a file that cannot be read, written or used (nothing is written then).";

workbook::Workbook OpenBook(const std::string& path) {
  workbook::Workbook book = workbook::Workbook::Open(system::PathFromUtf8(path));
  return book;
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
  const Export result = WriteXliff(dictionary, ReadWhereUsed(book, options.from), export_options);
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
  const ImportCounts counts = ImportUnits(book, files, options.xliff, options.overwrite);
  for (const std::string& refusal : counts.refused) err << "veltrano-dict: " << refusal << "\n";
  out << "written " << counts.written << ", kept " << counts.kept
      << (counts.kept > 0 ? " (translated already; --overwrite replaces them)" : "")
      << ", unchanged " << counts.unchanged << ", untranslated " << counts.untranslated
      << ", refused " << counts.refused.size() << "\n";
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
  CLI::App app{"veltrano-dict: the dictionary workbook's statistics, and XLIFF 1.2 out and in",
               "veltrano-dict"};
  app.require_subcommand(1);
  app.footer(
      std::string(
          "Languages are the numbers n of the sheet Dictionary's columns Language_n. The texts "
          "are the rows with a text in the development language's column (--from, 1 unless "
          "given, as the configuration's DevelopmentLanguageNumber is by default). In XLIFF the "
          "column Language_n is the language tag x-lang-n.\n\n") +
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
    return RunImport(options, out, err);
  } catch (const std::exception& e) {
    err << "veltrano-dict: " << e.what() << "\n";
    return kWrongUse;
  }
}

}  // namespace vt::dict
