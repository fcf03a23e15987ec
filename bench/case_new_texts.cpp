// A host script that meets 20 texts in 20 TranslateString calls, run by the
// real FIX.exe from start to end: 20 texts the dictionary lacks (each call
// appends one and saves) against 20 it holds. Beside it, the 20 calls alone
// on an object already created, in this process.
#include <cstdio>
#include <sstream>
#include <stdexcept>

#include "bench/fix_exe.h"
#include "bench/host_process.h"
#include "bench/inputs.h"
#include "bench/suite.h"
#include "bench/texts.h"
#include "platform/workbook/workbook.h"

namespace vt::bench {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kRows = 60000;
constexpr int kLanguages = 8;
constexpr std::size_t kCalls = 20;

std::vector<std::string> KnownTexts() {
  Rng rng(5);
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < kCalls; ++i) texts.push_back(DictionaryText(1 + rng.Below(kRows), 1));
  return texts;
}

std::vector<std::string> NewTexts(std::size_t run) {
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < kCalls; ++i) texts.push_back(NewText("call", run * kCalls + i));
  return texts;
}

// The lines the script printed: one result per call.
std::vector<std::string> Lines(const std::string& out) {
  std::vector<std::string> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::size_t DictionaryRows(const fs::path& file) {
  workbook::Workbook book = workbook::Workbook::Open(file);
  return book.FindSheet("Dictionary")->RowCount();
}

void TranslateAll(interpreter::VeltranoModule& object, const std::vector<std::string>& texts) {
  for (std::string text : texts) {
    std::int16_t language = 2;
    bool warn = false;
    object.TranslateString(text, nullptr, language, warn);
  }
}

}  // namespace

std::vector<Row> RunNewTextsCase(Context& context) {
  const fs::path file = OurDictionary(context, kRows, kLanguages);
  const fs::path pictures = MakePicturesFolder(context.scratch, file);
  const fs::path script = context.source_dir / "bench/host_scripts/translate_strings.lua";
  const std::size_t rows = DictionaryRows(file);
  const FixExe fix(context);

  const std::vector<std::string> known = KnownTexts();
  std::vector<std::string> known_args = {"run", script.string()};
  known_args.insert(known_args.end(), known.begin(), known.end());
  std::vector<std::string> new_args = {"run", script.string()};
  const std::vector<std::string> unlisted = NewTexts(0);
  new_args.insert(new_args.end(), unlisted.begin(), unlisted.end());

  auto reset = [&] { ResetDictionary(pictures, file); };
  const std::vector<Figure> scripts = MeasureProcessesInTurn(
      context.process_runs,
      {{reset, fix.Argv(pictures, new_args), fix.Env(),
        [&](const ProcessRun& run) {
          if (Lines(run.out) != unlisted ||
              DictionaryRows(DictionaryIn(pictures)) != rows + kCalls) {
            throw std::runtime_error("the script did not append its 20 texts: " + run.out +
                                     run.err);
          }
        }},
       {reset, fix.Argv(pictures, known_args), fix.Env(),
        [&](const ProcessRun& run) {
          const std::vector<std::string> lines = Lines(run.out);
          for (std::size_t i = 0; i < kCalls; ++i) {
            const std::size_t row = std::stoul(known[i].substr(known[i].rfind(' ') + 1));
            if (i >= lines.size() || lines[i] != DictionaryText(row, 2)) {
              throw std::runtime_error("the script did not translate \"" + known[i] +
                                       "\": " + run.out + run.err);
            }
          }
        }}},
      context.scratch);

  // The calls alone: the object made once, every run's new texts its own.
  reset();
  std::vector<Figure> calls;
  {
    InProcessHost host(pictures);
    auto object = host.CreateReady();
    std::size_t run = 0;
    calls = MeasureInTurn(context.runs, {{nullptr, [&] { TranslateAll(*object, NewTexts(++run)); }},
                                         {nullptr, [&] { TranslateAll(*object, known); }}});
    object.reset();
    host.ExpectQuiet("the calls");
    if (DictionaryRows(DictionaryIn(pictures)) != rows + run * kCalls) {
      throw std::runtime_error("the calls did not append their texts");
    }
  }

  char note[200];
  std::snprintf(note, sizeof note,
                "dictionary of %zu rows x %d languages, %.1f MiB; one new text costs %.3f s more "
                "than a known one (whole script)",
                kRows, kLanguages, FileMb(file),
                (scripts[0].wall - scripts[1].wall) / static_cast<double>(kCalls));
  return {
      {"5 new texts", "FIX.exe script, 20 new", "FIX.exe script, 20 known", scripts[0], scripts[1],
       "s", UnderTimes(2), note},
      {"5 new texts", "20 calls alone, new", "20 calls alone, known", calls[0], calls[1], "s",
       std::nullopt, ""},
  };
}

}  // namespace vt::bench
