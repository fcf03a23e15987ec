#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "tests/automation/temp_registry.h"
#include "tests/host/host_files.h"
#include "tests/host/process.h"

// FIX.exe's picture and form commands, end to end with the real library and
// the sample application's pictures, forms and dictionaries.
namespace vt::host {
namespace {

namespace fs = std::filesystem;
using vt::testing::Contains;
using vt::testing::Flatten;
using vt::testing::ReadJson;
using vt::testing::ReadText;
using vt::testing::RunProcess;
using vt::testing::WriteText;

class PictureCommandsTest : public TempRegistryTest {
 protected:
  void SetUp() override {
    TempRegistryTest::SetUp();
    const fs::path examples = VT_EXAMPLES_DIR;
    fs::copy(examples / "pictures", pictures(), fs::copy_options::recursive);
    fs::copy(examples / "forms", forms(), fs::copy_options::recursive);
    fs::create_directories(dir() / "scratch");
    for (const char* name : {"Veltrano", "Veltrano_Alm"}) {
      auto made = RunProcess(VT_MAKE_DICTIONARY,
                             {(examples / "source" / (std::string(name) + ".csv")).string(),
                              (pictures() / "Veltrano" / (std::string(name) + ".xls")).string()},
                             dir() / "scratch");
      ASSERT_EQ(made.status, 0) << made.err;
    }
    auto registered = Fix({"regsvr", VT_SERVER_LIBRARY}, false);
    ASSERT_EQ(registered.status, 0) << registered.err;
  }

  fs::path pictures() const { return dir() / "pictures"; }
  fs::path forms() const { return dir() / "forms"; }
  fs::path transcript() const { return dir() / "transcript.jsonl"; }

  vt::testing::ProcessResult Fix(std::vector<std::string> args, bool host_options = true) {
    if (host_options) {
      args.insert(args.begin(), {"--batch", "--pictures", pictures().string(), "--transcript",
                                 transcript().string()});
    }
    return RunProcess(VT_FIX_EXE, args, dir() / "scratch");
  }

  // Starts the interpreter objects in `language` (GlobalLangNum).
  void SetStartingLanguage(int language) {
    const fs::path ini = pictures() / "Veltrano" / "Veltrano.ini";
    std::string text = ReadText(ini);
    text = std::regex_replace(text, std::regex("StartingLanguageNumber=\\d+"),
                              "StartingLanguageNumber=" + std::to_string(language));
    WriteText(ini, text);
  }
};

// Every leaf of `after` is the leaf of `before` at the same place, except
// those whose key is in `changeable`; returns the places that changed.
std::vector<std::string> ChangedLeaves(const std::vector<std::string>& before,
                                       const std::vector<std::string>& after,
                                       const std::vector<std::string>& changeable) {
  std::vector<std::string> changed;
  EXPECT_EQ(before.size(), after.size());
  for (std::size_t i = 0; i < before.size() && i < after.size(); ++i) {
    if (before[i] == after[i]) continue;
    const std::string place = before[i].substr(0, before[i].find('='));
    EXPECT_EQ(after[i].substr(0, after[i].find('=')), place) << "order changed at " << place;
    const std::string key = place.substr(place.rfind('/') + 1);
    EXPECT_NE(std::find(changeable.begin(), changeable.end(), key), changeable.end())
        << before[i] << " became " << after[i];
    changed.push_back(place);
  }
  return changed;
}

TEST_F(PictureCommandsTest, TranslatePicturePrintsTheTreeAndLeavesTheFile) {
  const std::string before = ReadText(pictures() / "Main.grf");
  auto r = Fix({"translate-picture", "Main", "--lang", "2"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("Comments=2\n"
                        "Fix2DText txtTitle caption=\"  Übersicht Kessel \" description=\"\" "
                        "visible=true\n"
                        "CommandButton cmdStart caption=\"Starten\" "
                        "description=\"Startet die Speisepumpe\" visible=true\n",
                        0),
            0U)
      << r.out;
  EXPECT_TRUE(Contains(r.out, "\n    Fix2DText txtFlow caption=\"Durchfluss\""));
  EXPECT_TRUE(Contains(r.out, "\n  Fix2DText txtSteam caption=\"Steam drum temperature\""));
  EXPECT_TRUE(
      Contains(r.out, "AlarmSummary1 caption=\"\" description=\"Language_1\" visible=false"));
  EXPECT_TRUE(
      Contains(r.out, "AlarmSummary2 caption=\"\" description=\"Language_2\" visible=true"));
  EXPECT_TRUE(Contains(r.out, "AlarmSummaryAll caption=\"\" description=\"Alarms\" visible=true"));
  EXPECT_EQ(ReadText(pictures() / "Main.grf"), before);
}

TEST_F(PictureCommandsTest, SavedPictureKeepsEveryKeyAndObjectInOrder) {
  const auto before = Flatten(ReadJson(pictures() / "Main.grf"));
  // As on the real platform, the name finds the file whatever its letter case.
  auto r = Fix({"translate-picture", "MAIN.GRF", "--lang", "3", "--save"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("Comments=3\n", 0), 0U) << r.out;
  const auto after = Flatten(ReadJson(pictures() / "Main.grf"));
  const auto changed =
      ChangedLeaves(before, after, {"Comments", "Caption", "Description", "Visible"});
  EXPECT_EQ(changed, (std::vector<std::string>{
                         "/Comments",
                         "/ContainedObjects/0/Caption",
                         "/ContainedObjects/1/Caption",
                         "/ContainedObjects/1/Description",
                         "/ContainedObjects/2/Caption",
                         "/ContainedObjects/2/Description",
                         "/ContainedObjects/3/ContainedObjects/0/Caption",
                         "/ContainedObjects/3/ContainedObjects/1/ContainedObjects/0/Caption",
                         "/ContainedObjects/3/ContainedObjects/1/ContainedObjects/1/Caption",
                         "/ContainedObjects/4/Visible",
                         "/ContainedObjects/6/Visible",
                     }));
  const auto saved = ReadJson(pictures() / "Main.grf");
  EXPECT_EQ(saved["Comments"], 3);
  EXPECT_EQ(saved["ContainedObjects"][0]["Caption"], "  Panoramica caldaia ");
  EXPECT_EQ(saved["ContainedObjects"][6]["Visible"], true);  // Language_3
  // "Drum level" has no Language_3: it stays.
  EXPECT_EQ(saved["ContainedObjects"][3]["ContainedObjects"][1]["ContainedObjects"][2]["Caption"],
            "Drum level");
}

TEST_F(PictureCommandsTest, PictureNamesMatchWithoutRegardToLetterCase) {
  fs::copy_file(pictures() / "Main.grf", pictures() / "Twin.grf");
  fs::copy_file(pictures() / "Main.grf", pictures() / "TWIN.grf");
  struct Case {
    const char* name;
    int status;
    const char* saved;  // the file translated and saved, or the error's words
  };
  const Case cases[] = {
      {"main", 0, "Main.grf"},
      {"mAIN.grf", 0, "Main.grf"},
      {"Twin", 0, "Twin.grf"},
      {"twin", 2, "\"TWIN.grf\", \"Twin.grf\""},
      {"Nowhere", 2, "there is no picture \"Nowhere\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::map<std::string, std::string> before;
    for (const char* file : {"Main.grf", "Twin.grf", "TWIN.grf"}) {
      before[file] = ReadText(pictures() / file);
    }
    auto r = Fix({"translate-picture", c.name, "--lang", "2", "--save"});
    ASSERT_EQ(r.status, c.status) << r.err;
    if (c.status != 0) {
      EXPECT_TRUE(Contains(r.err, c.saved)) << r.err;
      EXPECT_TRUE(r.out.empty()) << r.out;
    } else {
      EXPECT_TRUE(Contains(r.out, "cmdStart caption=\"Starten\"")) << r.out;
    }
    for (const auto& [file, text] : before) {
      EXPECT_EQ(ReadText(pictures() / file) != text, file == c.saved) << file;
    }
    // Back to the development language for the next name.
    if (c.status == 0) {
      ASSERT_EQ(Fix({"translate-picture", c.name, "--lang", "1", "--save"}).status, 0);
    }
  }
}

TEST_F(PictureCommandsTest, TheWalkStopsBelowTenLevels) {
  auto r = Fix({"translate-picture", "Deep", "--lang", "2"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "Fix2DText txtTop caption=\"Bedienerprotokoll\"")) << r.out;
  EXPECT_TRUE(Contains(r.out, "Fix2DText txtAtLimit caption=\"Temperatur\"")) << r.out;
  EXPECT_TRUE(Contains(r.out, "Fix2DText txtBelowLimit caption=\"Pressure\"")) << r.out;
}

TEST_F(PictureCommandsTest, TranslateFormWritesTheFormBack) {
  const fs::path file = forms() / "frmSettings.frm.json";
  const auto before = Flatten(ReadJson(file));
  auto r = Fix({"translate-form", file.string(), "--user", "OPERATOR"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("UserForm frmSettings caption=\"Einstellungen\" tag=\"2\"\n"
                        "  MultiPage mpgSettings caption=\"\" tip=\"Settings\"\n"
                        "    Page(0) caption=\"Allgemein\" tip=\"Allgemeine Einstellungen\"\n",
                        0),
            0U)
      << r.out;
  EXPECT_TRUE(Contains(r.out, "  TabStrip tabUnits caption=\"Units\" tip=\"Units\"\n")) << r.out;
  const auto after = Flatten(ReadJson(file));
  ChangedLeaves(before, after, {"Tag", "Caption", "ControlTipText"});
  const auto saved = ReadJson(file);
  EXPECT_EQ(saved["Tag"], "2");
  EXPECT_EQ(saved["Controls"][5]["Text"], "Level");  // a text box's value is the user's
  EXPECT_EQ(saved["Controls"][5]["ControlTipText"], "Trommelfüllstand");
}

TEST_F(PictureCommandsTest, TranslateAllSavesOnlyWhenAsked) {
  SetStartingLanguage(2);
  const std::string main_before = ReadText(pictures() / "Main.grf");
  const std::string login_before = ReadText(forms() / "frmLogin.frm.json");
  auto r = Fix({"translate-all", "--open", "Main", "--open", "Prefixed.grf", "--form",
                (forms() / "frmLogin.frm.json").string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("Picture Main\n  Comments=2\n", 0), 0U) << r.out;
  EXPECT_TRUE(Contains(r.out, "\nPicture Prefixed\n  Comments=2\n")) << r.out;
  EXPECT_TRUE(Contains(r.out, "\nUserForm frmLogin caption=\"Anmeldung\" tag=\"2\"\n")) << r.out;
  EXPECT_EQ(ReadText(pictures() / "Main.grf"), main_before);
  EXPECT_EQ(ReadText(forms() / "frmLogin.frm.json"), login_before);

  r = Fix({"translate-all", "--open", "Main", "--form", (forms() / "frmLogin.frm.json").string(),
           "--form", (forms() / "frmSettings.frm.json").string(), "--save"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadJson(pictures() / "Main.grf")["Comments"], 2);
  EXPECT_EQ(ReadJson(forms() / "frmLogin.frm.json")["Tag"], "2");
  EXPECT_EQ(ReadJson(forms() / "frmSettings.frm.json")["Caption"], "Einstellungen");

  // Without forms, only the pictures.
  r = Fix({"translate-all", "--open", "Deep"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("Picture Deep\n  Comments=2\n", 0), 0U) << r.out;
  EXPECT_FALSE(Contains(r.out, "UserForm"));
}

TEST_F(PictureCommandsTest, MarkersComeFromThePictureOrTheForm) {
  WriteText(pictures() / "Marked.grf", R"({"Comments": 3, "ContainedObjects": []})");
  auto r = Fix({"translate-string", "Start", "--picture", "Marked"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Avvia\n");
  EXPECT_EQ(ReadText(pictures() / "Marked.grf"), R"({"Comments": 3, "ContainedObjects": []})");

  WriteText(forms() / "marked.frm.json", R"({"Name": "f", "Tag": "2"})");
  r = Fix({"translate-string", "Start", "--form", (forms() / "marked.frm.json").string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Starten\n");

  r = Fix({"translate-alarms", (fs::path(VT_EXAMPLES_DIR) / "alarms.csv").string(), "--field", "2",
           "--picture", "Marked.grf"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "Pressione caldaia alta")) << r.out;

  r = Fix({"translate-string", "Start", "--picture", "Marked", "--form",
           (forms() / "marked.frm.json").string()});
  EXPECT_EQ(r.status, 2);
}

TEST_F(PictureCommandsTest, MalformedFilesAreHostFailures) {
  const std::string bad_picture = "{\n  \"ContainedObjects\": [\n    {\"Name\": \"x\"}\n  ]\n}";
  WriteText(pictures() / "Broken.grf", bad_picture);
  auto r = Fix({"translate-string", "Start", "--picture", "Broken"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "\"" + (pictures() / "Broken.grf").string() +
                                  "\", line 3, column 5: \"TypeName\" is missing"))
      << r.err;

  r = Fix({"translate-all", "--open", "Broken"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "line 3, column 5")) << r.err;

  const std::string bad_form = "{\"Name\": \"f\", \"Controls\": [{\"TypeName\": 3}]}";
  WriteText(forms() / "broken.frm.json", bad_form);
  r = Fix({"translate-form", (forms() / "broken.frm.json").string(), "--lang", "2"});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "line 1, column 41: \"TypeName\" must be a text")) << r.err;
  EXPECT_EQ(ReadText(forms() / "broken.frm.json"), bad_form);
}

}  // namespace
}  // namespace vt::host
