#include "bench/inputs.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "bench/texts.h"
#include "platform/workbook/workbook.h"

namespace vt::bench {
namespace {

namespace fs = std::filesystem;

// Bump when the texts or the files' shape change, so that cached files made
// from the old ones are not used.
constexpr const char* kInputVersion = "v1";

std::string Shape(std::size_t rows, int languages) {
  return std::to_string(rows) + "x" + std::to_string(languages);
}

std::string CsvField(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

void WriteCsv(const fs::path& file, const std::vector<std::string>& headers, const Cells& cells) {
  std::ofstream out(file, std::ios::binary);
  auto line = [&](const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) out << (i ? "," : "") << CsvField(fields[i]);
    out << "\n";
  };
  line(headers);
  for (const auto& row : cells) line(row);
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

}  // namespace

void WriteText(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string ReadText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path OurDictionary(Context& context, std::size_t rows, int languages,
                       std::size_t untranslated_every) {
  const std::string untranslated =
      untranslated_every ? "-untranslated-every-" + std::to_string(untranslated_every) : "";
  const fs::path file = context.cache / ("ours-" + Shape(rows, languages) + untranslated + "-" +
                                         kInputVersion + ".xls");
  if (fs::exists(file)) return file;
  const fs::path part = file.string() + ".part";
  workbook::Workbook::CreateDictionary(part, "Dictionary", LanguageHeaders(languages));
  {
    workbook::Workbook book = workbook::Workbook::Open(part);
    workbook::Sheet& sheet = *book.FindSheet("Dictionary");
    const Cells cells = DictionaryCells(rows, languages, 0, kDictionarySeed);
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const std::size_t r = sheet.AppendRow(0, cells[i][0]);
      if (untranslated_every && i % untranslated_every == 0) continue;
      for (std::size_t c = 1; c < cells[i].size(); ++c) sheet.SetCellText(r, c, cells[i][c]);
    }
    book.Save();
  }
  fs::rename(part, file);
  return file;
}

ProcessRun RunLibreOffice(Context& context, const std::vector<std::string>& args) {
  std::vector<std::string> argv = {
      "/usr/bin/soffice",
      "-env:UserInstallation=file://" + (context.cache / "libreoffice-profile").string(),
      "--headless", "--norestore"};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunChecked(argv, context.scratch);
}

fs::path LibreOfficeDictionary(Context& context, std::size_t rows, int languages,
                               unsigned padded_percent) {
  const std::string padding =
      padded_percent ? "-padded" + std::to_string(padded_percent) : std::string();
  const fs::path file = context.cache / ("libreoffice-" + Shape(rows, languages) + padding + "-" +
                                         kInputVersion + ".xls");
  if (fs::exists(file)) return file;

  // The sheet takes its name from the CSV file's.
  const fs::path work = context.scratch / "libreoffice-input";
  fs::create_directories(work);
  const fs::path csv = work / "Dictionary.csv";
  WriteCsv(csv, LanguageHeaders(languages),
           DictionaryCells(rows, languages, padded_percent, kDictionarySeed));
  // Comma, double quote, UTF-8, from line 1, every column as text (so that
  // nothing is read as a number or a date and the spaces stay).
  std::string filter = "CSV:44,34,76,1,";
  for (int c = 1; c <= languages; ++c) filter += (c > 1 ? "/" : "") + std::to_string(c) + "/2";
  std::printf("  making %s with LibreOffice (kept for later runs)\n", file.filename().c_str());
  std::fflush(stdout);
  RunLibreOffice(context, {"--infilter=" + filter, "--convert-to", "xls:MS Excel 97", "--outdir",
                           work.string(), csv.string()});
  const fs::path made = work / "Dictionary.xls";
  if (!fs::exists(made)) throw std::runtime_error("LibreOffice did not write " + made.string());
  fs::rename(made, file);
  fs::remove_all(work);
  return file;
}

fs::path PaddedDictionary(Context& context) {
  return LibreOfficeDictionary(context, kFullRows, kFullLanguages, kPaddedPercent);
}

fs::path DictionaryIn(const fs::path& pictures) { return pictures / "Veltrano" / "Veltrano.xls"; }

void ResetDictionary(const fs::path& pictures, const fs::path& dictionary) {
  fs::copy_file(dictionary, DictionaryIn(pictures), fs::copy_options::overwrite_existing);
}

fs::path MakePicturesFolder(const fs::path& folder, const fs::path& dictionary,
                            int start_language) {
  const fs::path pictures = folder / "pictures";
  fs::create_directories(pictures / "Veltrano");
  WriteText(pictures / "Veltrano" / "Veltrano.ini",
            "[PARAMETERS]\r\nInterpreterEnabled=Y\r\nShowInfoPanelOnStartup=N\r\n"
            "ShowWarningsForMissingTranslations=Y\r\nTranslateInvisibleText=Y\r\n"
            "DevelopmentLanguageNumber=1\r\nStartingLanguageNumber=" +
                std::to_string(start_language) +
                "\r\nGetObjectsPrefix=N\r\nObjectsTargetPrefix=\r\n");
  ResetDictionary(pictures, dictionary);
  workbook::Workbook::CreateDictionary(pictures / "Veltrano" / "Veltrano_Alm.xls", "Dictionary",
                                       {"Language_1", "Language_2"});
  return pictures;
}

Json TextObject(const std::string& name, const std::string& caption, std::size_t place) {
  return {{"TypeName", "Fix2DText"},
          {"Name", name},
          {"Caption", caption},
          {"Left", 16 + place % 40 * 24},
          {"Top", 8 + place / 40 % 30 * 24},
          {"Font", {{"Face", "Arial"}, {"Size", 10}, {"Bold", place % 7 == 0}}}};
}

Json ButtonObject(const std::string& name, const std::string& caption,
                  const std::string& description, std::size_t place) {
  return {{"TypeName", "CommandButton"},
          {"Name", name},
          {"Caption", caption},
          {"Description", description},
          {"Left", 16 + place % 40 * 24},
          {"Top", 8 + place / 40 % 30 * 24},
          {"Script", "Sub " + name + "_Click()\n  WriteValue \"1\", \"FIX32.NODE." + name +
                         ".F_CV\"\nEnd Sub"}};
}

Json LinkObject(const std::string& name, std::size_t place) {
  return {{"TypeName", "FixDataLink"},
          {"Name", name},
          {"Source", "FIX32.NODE.TAG" + std::to_string(place) + ".F_CV"},
          {"Format", "%6.1f"},
          {"Left", 16 + place % 40 * 24},
          {"Top", 8 + place / 40 % 30 * 24}};
}

Json GroupObject(const std::string& name, Json members) {
  return {{"TypeName", "Fix2DGroup"}, {"Name", name}, {"ContainedObjects", std::move(members)}};
}

Json PictureFile(Json objects) {
  return {{"Comments", ""},
          {"Width", 1920},
          {"Height", 1080},
          {"BackgroundColor", "#202830"},
          {"ContainedObjects", std::move(objects)}};
}

std::size_t CountObjects(const Json& objects) {
  std::size_t count = 0;
  for (const Json& object : objects) {
    ++count;
    if (object.contains("ContainedObjects")) count += CountObjects(object["ContainedObjects"]);
  }
  return count;
}

}  // namespace vt::bench
