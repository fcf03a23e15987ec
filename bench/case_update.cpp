// UpdateAndVerifyDictionary over 500 pictures of 40 texts each, 10 of them
// missing from the dictionary (5,000 texts appended), against opening and
// closing the same 500 pictures alone. In this process (the object created
// before the clock runs), and the same through the real FIX.exe from start
// to end.
#include <algorithm>
#include <cstdio>
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

constexpr std::size_t kRows = 50000;
constexpr int kLanguages = 8;
constexpr std::size_t kPictures = 500;
constexpr std::size_t kNewPerPicture = 10;

// 30 texts (10 of them in a group) and 5 buttons with descriptions: 40 texts,
// every fourth one missing from the dictionary; and 5 data links.
Json SmallPicture(std::size_t number) {
  Rng rng(600 + number);
  std::size_t fresh = 0;
  std::size_t text_index = 0;
  auto next_text = [&] {
    if (text_index++ % 4 == 3) return NewText("picture", number * kNewPerPicture + fresh++);
    return DictionaryText(1 + rng.Below(kRows), 1);
  };
  Json objects = Json::array();
  Json group = Json::array();
  for (std::size_t i = 0; i < 30; ++i) {
    Json text = TextObject("txt" + std::to_string(i), next_text(), i);
    (i < 10 ? group : objects).push_back(std::move(text));
  }
  objects.push_back(GroupObject("grpHeader", std::move(group)));
  for (std::size_t i = 0; i < 5; ++i) {
    const std::string caption = next_text();
    objects.push_back(ButtonObject("cmd" + std::to_string(i), caption, next_text(), 30 + i));
  }
  for (std::size_t i = 0; i < 5; ++i) objects.push_back(LinkObject("lnk" + std::to_string(i), i));
  return PictureFile(std::move(objects));
}

std::string PictureName(std::size_t number) {
  char name[32];
  std::snprintf(name, sizeof name, "Area%03zu", number);
  return name;
}

std::size_t DictionaryRows(const fs::path& file) {
  workbook::Workbook book = workbook::Workbook::Open(file);
  return book.FindSheet("Dictionary")->RowCount();
}

}  // namespace

std::vector<Row> RunUpdateCase(Context& context) {
  const fs::path file = OurDictionary(context, kRows, kLanguages);
  const fs::path pictures = MakePicturesFolder(context.scratch, file, 2);
  std::vector<std::string> names;
  for (std::size_t p = 0; p < kPictures; ++p) {
    names.push_back(PictureName(p));
    WriteText(pictures / (names.back() + ".grf"), SmallPicture(p).dump(2));
  }
  const std::size_t rows = DictionaryRows(file);
  const std::size_t expected_rows = rows + kPictures * kNewPerPicture;

  std::vector<Figure> in_process;
  {
    ui::BatchInputs inputs;
    inputs.select_all = true;
    inputs.lang_number = "2";
    InProcessHost host(pictures, inputs);
    std::shared_ptr<interpreter::VeltranoModule> object;
    bool ran = false;
    auto check_run = [&] {
      if (!ran) return;
      const std::vector<Box> boxes = host.TakeBoxes();
      if (boxes.size() != 2 || boxes[0].style != 65 || boxes[1].style != 48 ||
          boxes[1].text.find("has been UPDATED") == std::string::npos) {
        throw std::runtime_error("the update run did not end as expected" +
                                 (boxes.empty() ? std::string() : ": " + boxes.back().text));
      }
      if (DictionaryRows(DictionaryIn(pictures)) != expected_rows) {
        throw std::runtime_error("the update run did not append 5,000 rows");
      }
    };
    host::pictures::Documents& documents = host.workspace().documents();
    in_process =
        MeasureInTurn(context.runs, {{[&] {
                                        check_run();
                                        object.reset();
                                        ResetDictionary(pictures, file);
                                        object = host.CreateReady();
                                        ran = true;
                                      },
                                      [&] { object->UpdateAndVerifyDictionary(); }},
                                     {nullptr, [&] {
                                        for (const std::string& name : names) {
                                          documents.Open(host.workspace().PicturePath(name))
                                              ->Close(host::pictures::CloseCode::Discard);
                                        }
                                      }}});
    check_run();
    object.reset();
    host.ExpectQuiet("the update run");
  }

  const FixExe fix(context);
  std::vector<std::string> open_close = {
      "run", (context.source_dir / "bench/host_scripts/open_close.lua").string()};
  open_close.insert(open_close.end(), names.begin(), names.end());
  const std::vector<Figure> whole = MeasureProcessesInTurn(
      context.process_runs,
      {{[&] { ResetDictionary(pictures, file); },
        fix.Argv(pictures, {"--select", "*", "--lang-number", "2", "--answers", "ok,ok",
                            "update-dictionary"}),
        fix.Env(),
        [&](const ProcessRun&) {
          if (DictionaryRows(DictionaryIn(pictures)) != expected_rows) {
            throw std::runtime_error("FIX.exe update-dictionary did not append 5,000 rows");
          }
        }},
       {nullptr, fix.Argv(pictures, open_close), fix.Env(),
        [&](const ProcessRun& run) {
          if (run.out != std::to_string(kPictures) + "\n") {
            throw std::runtime_error("the open-close script said " + run.out + run.err);
          }
        }}},
      context.scratch);

  char note[200];
  std::snprintf(note, sizeof note,
                "%zu pictures of 40 texts, %zu texts appended to a %zu-row dictionary of %d "
                "languages; in this process the object is created before the clock runs",
                kPictures, kPictures * kNewPerPicture, kRows, kLanguages);
  return {
      {"6 update", "UpdateAndVerifyDictionary", "open + close the pictures", in_process[0],
       in_process[1], "s", UnderTimes(3), note},
      {"6 update", "FIX.exe update-dictionary", "FIX.exe open-close script", whole[0], whole[1],
       "s", std::nullopt, ""},
  };
}

}  // namespace vt::bench
