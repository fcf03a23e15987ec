// What an update run leaves for the translators: the "Where used" sheet and
// the coverage report. Extras: whatever fails here is logged, and the run
// tells its user exactly what it would have told without them.
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "library/dictionary/connection.h"
#include "library/dictionary/row_set.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/mod_ini_handler.h"
#include "library/interpreter/module_state.h"
#include "library/interpreter/veltrano_module.h"
#include "library/maintenance/coverage.h"
#include "library/maintenance/coverage_report.h"
#include "library/maintenance/place_log.h"
#include "library/maintenance/where_used.h"
#include "platform/system/date_time.h"
#include "platform/system/env.h"
#include "platform/system/paths.h"
#include "platform/workbook/workbook.h"

namespace vt::interpreter {
namespace {

constexpr const char* kProcedure = "UpdateAndVerifyDictionary";

void Log(const std::string& strDescription) {
  LogError("VeltranoModule", kProcedure, strDescription);
}

}  // namespace

std::optional<maintenance::Coverage> VeltranoModule::RunCoverage(
    const maintenance::PlaceLog& places) noexcept {
  try {
    const ModuleState& module = Module();
    dictionary::RowSet& rows = Dictionary();
    if (!cnDictionary) return std::nullopt;
    const workbook::Sheet& sheet = cnDictionary->Sheet();
    std::vector<std::string> header;
    for (std::size_t column = 0; column < sheet.ColumnCount(); ++column) {
      header.emplace_back(sheet.CellText(0, column));
    }
    const std::vector<std::int16_t> languages =
        maintenance::ReportedLanguages(header, module.intDevLangNum);

    double ratio = kDefaultReportLengthRatio;
    try {
      ratio = ReadReportLengthRatio();
    } catch (const std::exception& e) {
      Log(std::string(e.what()) + "; the coverage report takes 1.5");
    }

    maintenance::Coverage coverage = maintenance::BuildCoverage(
        places, languages, ratio, [&](std::string_view text, std::int16_t language) {
          maintenance::DictionaryEntry entry{text, {}};
          try {
            const auto row = rows.FindExact(language, text);
            if (!row) return entry;  // not added: the sheet is full
            if (language != module.intDevLangNum) {
              try {
                const std::string_view original = rows.Value(*row, module.intDevLangNum);
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
    coverage.verified = module.intStartLangNum;
    coverage.development = module.intDevLangNum;
    if (const auto column = sheet.FindColumn("Language_" + std::to_string(module.intDevLangNum))) {
      const auto texts = sheet.ColumnTexts(*column);
      for (std::size_t row = 1; row < texts.size() && row < sheet.RowCount(); ++row) {
        if (!texts[row].empty()) ++coverage.dictionary_texts;
      }
    }
    coverage.dictionary = module.strFixPath + system::SystemPath("\\Veltrano\\Veltrano.xls");
    coverage.date = system::IsoDate(system::CurrentEnv().Now());
    return coverage;
  } catch (const std::exception& e) {
    Log(std::string("the coverage of the run could not be gathered: ") + e.what());
    return std::nullopt;
  }
}

void VeltranoModule::NoteWhereUsed(const maintenance::Coverage& coverage) noexcept {
  try {
    if (!cnDictionary) return;
    workbook::Sheet* sheet = cnDictionary->FindSheet(maintenance::kWhereUsedSheet);
    const std::vector<maintenance::WhereUsedRow> rows =
        maintenance::MergeWhereUsed(sheet ? maintenance::ReadWhereUsed(*sheet, coverage.development)
                                          : std::vector<maintenance::WhereUsedRow>{},
                                    coverage);
    if (rows.size() + 1 > workbook::kMaxRows) {
      throw workbook::Error("the sheet \"" + std::string(maintenance::kWhereUsedSheet) +
                            "\" would need " + std::to_string(rows.size() + 1) + " rows, " +
                            "more than the 65,536 a sheet holds: it is left as it was");
    }
    if (!sheet) sheet = cnDictionary->AddSheet(maintenance::kWhereUsedSheet);
    maintenance::WriteWhereUsed(*sheet, rows);
  } catch (const std::exception& e) {
    Log(e.what());
  }
}

void VeltranoModule::WriteCoverageReport(const maintenance::Coverage& coverage) noexcept {
  const std::string strFolder = Module().strFixPath + system::SystemPath("\\Veltrano\\");
  struct File {
    const char* name;
    std::string (*render)(const maintenance::Coverage&);
  };
  for (const File& file : {File{"Veltrano_Report.html", maintenance::CoverageHtml},
                           File{"Veltrano_Report.csv", maintenance::CoverageCsv}}) {
    try {
      system::CurrentEnv().WriteFileAtomic(strFolder + file.name, file.render(coverage));
    } catch (const std::exception& e) {
      Log(std::string("the coverage report was not written: ") + e.what());
    }
  }
}

}  // namespace vt::interpreter
