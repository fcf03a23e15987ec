// A picture of 5,000 objects (groups of texts, buttons and data links, every
// text in the dictionary) translated by TranslatePicture and saved, against
// the same picture opened and saved by the host alone.
#include <cstdio>
#include <stdexcept>

#include "bench/host_process.h"
#include "bench/inputs.h"
#include "bench/suite.h"
#include "bench/texts.h"

namespace vt::bench {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kRows = 50000;
constexpr int kLanguages = 8;
constexpr std::size_t kGroups = 200;  // 25 objects each

struct BigPicture {
  Json file;
  std::size_t first_row = 0;  // the dictionary row of the first text
};

// Each group: 12 texts, 4 buttons with descriptions, 5 data links and a
// nested group of 2 texts.
BigPicture MakeBigPicture() {
  Rng rng(4);
  BigPicture picture;
  auto known = [&] {
    const std::size_t row = 1 + rng.Below(kRows);
    if (picture.first_row == 0) picture.first_row = row;
    return DictionaryText(row, 1);
  };
  Json objects = Json::array();
  std::size_t place = 0;
  for (std::size_t g = 0; g < kGroups; ++g) {
    const std::string id = std::to_string(g);
    Json members = Json::array();
    for (int i = 0; i < 12; ++i) {
      members.push_back(TextObject("txt" + id + "_" + std::to_string(i), known(), ++place));
    }
    for (int i = 0; i < 4; ++i) {
      members.push_back(
          ButtonObject("cmd" + id + "_" + std::to_string(i), known(), known(), ++place));
    }
    for (int i = 0; i < 5; ++i) {
      members.push_back(LinkObject("lnk" + id + "_" + std::to_string(i), ++place));
    }
    members.push_back(
        GroupObject("grpInner" + id, {TextObject("txtInner" + id + "_0", known(), ++place),
                                      TextObject("txtInner" + id + "_1", known(), ++place)}));
    objects.push_back(GroupObject("grp" + id, std::move(members)));
  }
  picture.file = PictureFile(std::move(objects));
  return picture;
}

}  // namespace

std::vector<Row> RunPictureCase(Context& context) {
  const fs::path file = OurDictionary(context, kRows, kLanguages);
  const fs::path pictures = MakePicturesFolder(context.scratch, file);
  const BigPicture picture = MakeBigPicture();
  const std::size_t objects = CountObjects(picture.file["ContainedObjects"]);
  const std::string text = picture.file.dump(2);
  const fs::path path = pictures / "Big.grf";

  InProcessHost host(pictures);
  auto object = host.CreateReady();
  host::pictures::Documents& documents = host.workspace().documents();
  // Every run starts from the file, no picture open.
  auto pristine = [&] {
    documents.CloseAll(host::pictures::CloseCode::Discard);
    WriteText(path, text);
  };

  // The first translation builds the index of the searched column: not
  // part of what a picture costs afterwards.
  pristine();
  {
    std::string name = "Big";
    std::int16_t language = 2;
    std::string user;
    object->TranslatePicture(name, language, user);
  }

  const std::vector<Figure> figures = MeasureInTurn(
      context.runs,
      {{pristine,
        [&] {
          std::string name = "Big";
          std::int16_t language = 2;
          std::string user;
          object->TranslatePicture(name, language, user);
          documents.Find("Big")->Close(host::pictures::CloseCode::Save);
        }},
       {pristine, [&] { documents.Open(path.string())->Close(host::pictures::CloseCode::Save); }},
       // The walk alone: the picture already open, so TranslatePicture's
       // Open hands back the open document.
       {[&] {
          pristine();
          documents.Open(path.string());
        },
        [&] {
          std::string name = "Big";
          std::int16_t language = 2;
          std::string user;
          object->TranslatePicture(name, language, user);
        }}});
  documents.CloseAll(host::pictures::CloseCode::Discard);
  host.ExpectQuiet("the picture's translation");

  // The last run left the host's save: translate once more and check it.
  pristine();
  {
    std::string name = "Big";
    std::int16_t language = 2;
    std::string user;
    object->TranslatePicture(name, language, user);
    documents.Find("Big")->Close(host::pictures::CloseCode::Save);
    const Json saved = Json::parse(ReadText(path));
    const Json& first = saved["ContainedObjects"][0]["ContainedObjects"][0];
    const std::string expected = DictionaryText(picture.first_row, 2);
    if (saved["Comments"] != 2 || first["Caption"] != expected) {
      throw std::runtime_error("the saved picture is not in Language_2");
    }
  }
  object.reset();
  host.ExpectQuiet("the picture's translation");

  char note[160];
  std::snprintf(note, sizeof note,
                "%zu objects, %.2f MiB of picture file; dictionary of %zu rows x %d languages, "
                "every text found",
                objects, static_cast<double>(text.size()) / (1024.0 * 1024.0), kRows, kLanguages);
  return {{"4 picture", "translated + saved", "opened + saved", figures[0], figures[1], "s",
           UnderTimes(1.1), note},
          {"4 picture", "translation alone", "opened + saved", figures[2], figures[1], "s",
           std::nullopt, ""}};
}

}  // namespace vt::bench
