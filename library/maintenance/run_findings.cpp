// What an update run leaves for the translators: the "Where used" sheet and
// the coverage report. Extras: whatever fails here is logged, and the run
// tells its user exactly what it would have told without them.
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "library/dictionary/connection.h"
#include "library/dictionary/dictionary.h"
#include "library/dictionary/row_set.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/mod_ini_handler.h"
#include "library/maintenance/coverage.h"
#include "library/maintenance/coverage_report.h"
#include "library/maintenance/maintenance.h"
#include "library/maintenance/place_log.h"
#include "library/maintenance/where_used.h"
#include "platform/system/date_time.h"
#include "platform/system/env.h"
#include "platform/workbook/workbook.h"

namespace vt::maintenance {
namespace {

constexpr const char* kProcedure = "UpdateAndVerifyDictionary";

}  // namespace

std::optional<Coverage> Maintenance::RunCoverage(const PlaceLog& places) noexcept {
  const auto log = [this](const std::string& description) {
    errors_.LogError("VeltranoModule", kProcedure, description);
  };
  try {
    const interpreter::Configuration& configuration = session_.configuration;
    dictionary::RowSet& rows = dictionary_.Lookup();
    if (!fields_.cnDictionary) return std::nullopt;
    const workbook::Sheet& sheet = fields_.cnDictionary->Sheet();
    std::vector<std::string> header;
    for (std::size_t column = 0; column < sheet.ColumnCount(); ++column) {
      header.emplace_back(sheet.CellText(0, column));
    }
    const std::vector<std::int16_t> languages =
        ReportedLanguages(header, configuration.intDevLangNum);

    double ratio = interpreter::kDefaultReportLengthRatio;
    try {
      ratio = interpreter::ReadReportLengthRatio(configuration);
    } catch (const std::exception& e) {
      log(std::string(e.what()) + "; the coverage report takes 1.5");
    }

    Coverage coverage =
        BuildCoverage(places, languages, ratio, [&](std::string_view text, std::int16_t language) {
          DictionaryEntry entry{text, {}};
          try {
            const auto row = rows.FindExact(language, text);
            if (!row) return entry;  // not added: the sheet is full
            if (language != configuration.intDevLangNum) {
              try {
                const std::string_view original = rows.Value(*row, configuration.intDevLangNum);
                if (!original.empty()) entry.original = original;
              } catch (const dictionary::MissingColumn&) {
                // No development-language column: the text stands for itself.
              }
            }
            for (const std::int16_t reported : languages) {
              entry.cells.push_back(rows.Value(*row, reported));
            }
          } catch (const dictionary::MissingColumn&) {
            // The column was told by the run; the text counts as missing.
          }
          return entry;
        });
    coverage.verified = configuration.intStartLangNum;
    coverage.development = configuration.intDevLangNum;
    if (const auto column =
            sheet.FindColumn("Language_" + std::to_string(configuration.intDevLangNum))) {
      const auto texts = sheet.ColumnTexts(*column);
      for (std::size_t row = 1; row < texts.size() && row < sheet.RowCount(); ++row) {
        if (!texts[row].empty()) ++coverage.dictionary_texts;
      }
    }
    coverage.dictionary = configuration.Files().Dictionary();
    coverage.date = system::IsoDate(system::CurrentEnv().Now());
    return coverage;
  } catch (const std::exception& e) {
    log(std::string("the coverage of the run could not be gathered: ") + e.what());
    return std::nullopt;
  }
}

void Maintenance::NoteWhereUsed(const Coverage& coverage) noexcept {
  try {
    if (!fields_.cnDictionary) return;
    workbook::Sheet* sheet = fields_.cnDictionary->FindSheet(kWhereUsedSheet);
    const std::vector<WhereUsedRow> rows = MergeWhereUsed(
        sheet ? ReadWhereUsed(*sheet, coverage.development) : std::vector<WhereUsedRow>{},
        coverage);
    if (rows.size() + 1 > workbook::kMaxRows) {
      throw workbook::Error("the sheet \"" + std::string(kWhereUsedSheet) + "\" would need " +
                            std::to_string(rows.size() + 1) + " rows, " +
                            "more than the 65,536 a sheet holds: it is left as it was");
    }
    if (!sheet) sheet = fields_.cnDictionary->AddSheet(kWhereUsedSheet);
    WriteWhereUsed(*sheet, rows);
  } catch (const std::exception& e) {
    errors_.LogError("VeltranoModule", kProcedure, e.what());
  }
}

void Maintenance::WriteCoverageReport(const Coverage& coverage) noexcept {
  const interpreter::ApplicationFiles files = session_.configuration.Files();
  struct File {
    std::string path;
    std::string (*render)(const Coverage&);
  };
  for (const File& file :
       {File{files.ReportHtml(), CoverageHtml}, File{files.ReportCsv(), CoverageCsv}}) {
    try {
      system::CurrentEnv().WriteFileAtomic(file.path, file.render(coverage));
    } catch (const std::exception& e) {
      errors_.LogError("VeltranoModule", kProcedure,
                       std::string("the coverage report was not written: ") + e.what());
    }
  }
}

}  // namespace vt::maintenance
