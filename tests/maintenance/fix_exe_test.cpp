// The maintenance commands end to end: the real FIX.exe in batch mode loads
// the registered library, which works on a real pictures folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>

#include "tests/maintenance/maintenance_fixture.h"
#include "tests/support/shell.h"

namespace vt::maintenance::testing {
namespace {

namespace fs = std::filesystem;
using vt::testing::BinaryDir;
using vt::testing::ShellQuote;

class MaintenanceFixExeTest : public MaintenanceTest {
 protected:
  void SetUp() override {
    MaintenanceTest::SetUp();
    WriteSampleApplication();
    registry_.emplace("VELTRANO_CLASS_REGISTRY", (dir() / "classes.json").string());
    ASSERT_EQ(Fix({"regsvr", Library().string()}), 0);
  }
  void TearDown() override {
    registry_.reset();
    MaintenanceTest::TearDown();
  }
  static fs::path Library() { return BinaryDir() / "lib/libveltrano.so"; }

  // FIX.exe --batch with these options and arguments; the exit status.
  int Fix(const std::vector<std::string>& args) {
    std::string command = ShellQuote((BinaryDir() / "bin/FIX.exe").string()) +
                          " --batch --transcript " + ShellQuote(transcript().string()) +
                          " --pictures " + ShellQuote(pictures().string());
    for (const auto& a : args) command += " " + ShellQuote(a);
    return vt::testing::RunShell(command + " </dev/null 2>/dev/null");
  }
  fs::path transcript() const { return dir() / "fix-transcript.jsonl"; }
  std::vector<nlohmann::json> Lines() const { return vt::testing::ReadTranscript(transcript()); }

 private:
  std::optional<vt::testing::ScopedEnvVar> registry_;
};

nlohmann::json Box(const Message& m, const char* answer) {
  return {{"title", m.title}, {"style", m.style}, {"text", m.text}, {"answer", answer}};
}

TEST_F(MaintenanceFixExeTest, UpdateDictionaryInBatch) {
  const std::string main = PictureBytes("Main");
  ASSERT_EQ(
      Fix({"--select", "Main,Pump", "--lang-number", "3", "--answers", "ok", "update-dictionary"}),
      0);
  EXPECT_THAT(
      Lines(),
      ::testing::ElementsAre(
          nlohmann::json{{"form", "frmUpdateDictionary"},
                         {"caption", " Veltrano - Update and verify dictionary (only pictures)"}},
          Box(UpdateNotice(), "ok"),
          Box(Warning("The dictionary of the development language was already updated,\r\n"
                      "but you have to insert translations to Language_3 !"),
              "ok")));
  EXPECT_EQ(PictureBytes("Main"), main);
}

TEST_F(MaintenanceFixExeTest, ChangeDevLangInBatch) {
  fs::remove(pictures() / "New.grf");
  ASSERT_EQ(
      Fix({"--select", "*", "--lang-number", "2", "--answers", "yes,yes,ok", "change-dev-lang"}),
      0);
  EXPECT_EQ(Lines().back()["style"], 64);
  EXPECT_EQ(Json::parse(PictureBytes("Pump"))["Comments"], 2);
  EXPECT_THAT(vt::testing::ReadFile(ini_path()),
              ::testing::HasSubstr("DevelopmentLanguageNumber=2\r\n"));
}

TEST_F(MaintenanceFixExeTest, ShowConfigAndThePanelInBatchStartNothing) {
  WriteIni({{"ShowInfoPanelOnStartup", "Y"}});
  ASSERT_EQ(Fix({"show-config"}), 0);
  EXPECT_THAT(Lines(), ::testing::ElementsAre(
                           nlohmann::json{{"form", "frmSplash"}, {"caption", ""}},
                           nlohmann::json{
                               {"launch", "editor"}, {"path", ini_path().string()}, {"show", 3}}));
}

TEST_F(MaintenanceFixExeTest, TheBuildPutsTheDocumentsBesideTheLibrary) {
  for (const char* name : {"Veltrano.UserGuide-EN.pdf", "Veltrano.GuidaUtente-IT.pdf"}) {
    const std::string pdf = vt::testing::ReadFile(Library().parent_path() / name);
    EXPECT_TRUE(pdf.starts_with("%PDF-")) << name;
    EXPECT_GT(pdf.size(), 20000u) << name;
  }
  EXPECT_THAT(vt::testing::ReadFile(Library().parent_path() / "EULA-EN.txt"),
              ::testing::HasSubstr("END-USER LICENCE AGREEMENT"));
}

}  // namespace
}  // namespace vt::maintenance::testing
