// The startup panel's form model, ShowStartupConfig and the panel during
// the object's creation.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "library/interpreter/session.h"
#include "library/maintenance/splash_form.h"
#include "platform/data/recordset.h"
#include "platform/system/utf8_path.h"
#include "tests/maintenance/maintenance_fixture.h"
#include "tests/support/shell.h"
#include "tests/support/temp_dir.h"

namespace vt::maintenance::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Every program the panel starts opens maximized and active.
nlohmann::json Launch(const std::string& kind, const std::string& path) {
  return {{"launch", kind}, {"path", path}, {"show", 3}};
}
constexpr system::ShowCommand kMaximized = system::ShowCommand::Maximized;

class SplashTest : public MaintenanceTest {
 protected:
  void SetUp() override {
    MaintenanceTest::SetUp();
    std::filesystem::create_directory(library_folder());
    backend_.attended = true;
  }
  std::filesystem::path library_folder() const { return dir() / "lib"; }
  SplashForm Panel(int major = 2, int minor = 4) {
    return SplashForm(
        {major, minor, system::Utf8FromPath(library_folder()), system::Utf8FromPath(pictures())},
        messages_, errors_);
  }
  std::string Beside(const std::string& name) const { return (library_folder() / name).string(); }
};

TEST_F(SplashTest, VersionLabel) {
  for (const auto& [major, minor, label] :
       {std::tuple{2, 4, "Ver. 2.4"}, std::tuple{2, 10, "Ver. 2.10"}}) {
    SplashForm panel = Panel(major, minor);
    panel.Form_Load();
    EXPECT_EQ(panel.lblRelease, label);
  }
}

TEST_F(SplashTest, TheLibrarysOwnFolderAndVersion) {
  // Linked into this test program, the library's objects lie in its file.
  const SplashSettings settings = LibrarySplashSettings(session_.configuration.strFixPath);
  EXPECT_EQ(settings.library_folder, (vt::testing::BinaryDir() / "bin").string());
  EXPECT_EQ(settings.fix_path, session_.configuration.strFixPath);
  SplashForm panel(settings, messages_, errors_);
  panel.Form_Load();
  EXPECT_THAT(panel.lblRelease, ::testing::MatchesRegex("Ver\\. [0-9]+\\.[0-9]+"));
}

TEST_F(SplashTest, GuidesOpenWhenPresentAndAMissingOneDoesNothing) {
  vt::testing::WriteFile(library_folder() / "Veltrano.UserGuide-EN.pdf", "%PDF-1.4");
  SplashForm panel = Panel();
  panel.cmdOpenUserGuide_IT_Click();
  panel.cmdOpenUserGuide_EN_Click();
  EXPECT_THAT(test_env_->opened, ElementsAre(Beside("Veltrano.UserGuide-EN.pdf")));
  EXPECT_THAT(test_env_->shows, ElementsAre(kMaximized));
  EXPECT_THAT(WindowsAndLaunches(),
              ElementsAre(Launch("document", Beside("Veltrano.UserGuide-EN.pdf"))));
  EXPECT_THAT(TakeMessages(), IsEmpty());
  EXPECT_FALSE(panel.closed);
}

TEST_F(SplashTest, TheAgreementIsTheFirstEulaOfTheListing) {
  SplashForm panel = Panel();
  panel.cmdOpenEula_Click();
  EXPECT_THAT(test_env_->opened, IsEmpty());
  for (const char* name : {"EULA-EN.txt", "EULA-IT.txt", "eula.pdf"}) {
    vt::testing::WriteFile(library_folder() / name, "terms");
  }
  panel.cmdOpenEula_Click();
  const auto listed = system::Env::Default()->ListFiles(library_folder().string(), "EULA*.txt");
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_THAT(test_env_->opened, ElementsAre(Beside(listed.front())));
  EXPECT_THAT(test_env_->shows, ElementsAre(kMaximized));
}

TEST_F(SplashTest, ConfigurationButtonStartsTheEditorOrNamesTheMissingFile) {
  const std::string ini = ini_path().string();
  SplashForm panel = Panel();
  panel.cmdOpenIniFile_Click();
  EXPECT_THAT(test_env_->started, ElementsAre("Notepad.exe " + ini));
  EXPECT_THAT(test_env_->shows, ElementsAre(kMaximized));
  EXPECT_THAT(WindowsAndLaunches(), ElementsAre(Launch("editor", ini)));
  std::filesystem::remove(ini_path());
  panel.cmdOpenIniFile_Click();
  EXPECT_THAT(TakeMessages(),
              ElementsAre(Message{"The file \"" + ini +
                                      "\" does not exist:\r\nthe \"Veltrano.dll\" cannot "
                                      "start.\r\n\r\nPlease call your supplier !",
                                  " Veltrano - WARNING", 16}));
  EXPECT_EQ(test_env_->started.size(), 1u);
  panel.cmdOk_Click();
  EXPECT_TRUE(panel.closed);
}

TEST_F(SplashTest, ShowStartupConfigStartsTheEditorEvenOnAMissingFileAndOnlyRecordsInBatch) {
  auto module = CreateReady();
  std::filesystem::remove(ini_path());
  module->ShowStartupConfig();
  backend_.attended = false;
  module->ShowStartupConfig();
  const std::string ini = ini_path().string();
  EXPECT_THAT(test_env_->started, ElementsAre("Notepad.exe " + ini));
  EXPECT_THAT(test_env_->shows, ElementsAre(kMaximized));
  EXPECT_THAT(WindowsAndLaunches(), ElementsAre(Launch("editor", ini), Launch("editor", ini)));
  EXPECT_THAT(TakeMessages(), IsEmpty());
}

TEST_F(SplashTest, CreationShowsThePanelThenReadsTheConfigurationAgain) {
  WriteIni({{"ShowInfoPanelOnStartup", "Y"}});
  auto module = CreateReady();
  EXPECT_THAT(WindowsAndLaunches(),
              ElementsAre(nlohmann::json{{"form", "frmSplash"}, {"caption", ""}}));
  EXPECT_EQ(session_.rsUsersLang->RecordCount(), 1) << "one list, read afresh";
  std::string user = "OPERATOR";
  EXPECT_EQ(module->GetUserLang(user), 3);
}

}  // namespace
}  // namespace vt::maintenance::testing
