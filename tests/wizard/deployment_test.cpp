// Confirm: the Veltrano folder and the four rows, questions, failures, and a
// copy that fails half way.
#include <sys/resource.h>

#include <csignal>

#include "platform/system/env.h"
#include "tests/wizard/wizard_fixture.h"

namespace vt::wizard::testing {
namespace {

namespace fs = std::filesystem;

const std::string kQuestionTitle = " Veltrano - Confirmation request";

std::string Question(const std::string& file) {
  return "Do you wish to overwrite the file \"" + file + "\" ?";
}

class WizardDeploymentTest : public WizardTest {
 protected:
  // Every message shown is one of `texts`, in order.
  void ExpectMessages(const std::vector<std::string>& texts) {
    const auto shown = TakeMessages();
    ASSERT_EQ(shown.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(shown[i].text, texts[i]) << i;
  }
  void ExpectCompleted() {
    EXPECT_TRUE(form().Completed());
    EXPECT_TRUE(form().Unloaded());
    EXPECT_FALSE(view().isVisible());
  }
  // Still open on the last page, one failure reported under cmdConfirm_Click.
  void ExpectFailure(const std::string& description_part) {
    EXPECT_FALSE(form().Completed());
    EXPECT_FALSE(form().Unloaded());
    EXPECT_TRUE(view().isVisible());
    EXPECT_EQ(form().bytStep, 3);
    const auto lines = ReadLines(log_path());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(";frmRostavel;cmdConfirm_Click;"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find(description_part), std::string::npos) << lines[0];
    const auto shown = TakeMessages();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().title, " WARNING");
    EXPECT_NE(shown.back().text.find("Procedure: cmdConfirm_Click"), std::string::npos);
  }
  void Deploy(const std::vector<bool>& boxes = {true, true, true, true}) {
    OpenWindow();
    ToFilesPage(pictures().string());
    ConfirmWith(boxes);
  }
  std::string Deployed(const std::string& name) { return ReadFile(veltrano() / name); }
  std::string Template(const std::string& name) { return ReadFile(kelmora() / name); }
};

TEST_F(WizardDeploymentTest, NewApplicationGetsTheFolderAndAllFilesWithoutQuestions) {
  Deploy();
  ExpectMessages({"Rostavel has completed !"});
  ExpectCompleted();
  EXPECT_EQ(Listing(veltrano()),
            (std::vector<std::string>{"Veltrano.ini", "Veltrano.xls", "Veltrano_Alm.xls",
                                      "modInterpreter.bas"}));
  for (const std::string& name : kTemplates) EXPECT_EQ(Deployed(name), Template(name)) << name;
  EXPECT_FALSE(fs::exists(log_path()));
}

TEST_F(WizardDeploymentTest, SecondRunAsksOncePerFileAndNoKeepsEveryFile) {
  fs::create_directories(veltrano());
  for (const std::string& name : kTemplates) WriteFile(veltrano() / name, "translated " + name);
  backend_.answers = {ui::Answer::No, ui::Answer::No, ui::Answer::No, ui::Answer::No};
  Deploy();
  const auto shown = TakeMessages();
  ASSERT_EQ(shown.size(), 5u);
  for (std::size_t i = 0; i < kTemplates.size(); ++i) {
    EXPECT_EQ(shown[i].text, Question(kTemplates[i]));
    EXPECT_EQ(shown[i].title, kQuestionTitle);
    EXPECT_EQ(shown[i].style, 36);
  }
  EXPECT_EQ(shown[4].text, "Rostavel has completed !");
  EXPECT_EQ(shown[4].title, " Veltrano - Information");
  EXPECT_EQ(shown[4].style, 64);
  ExpectCompleted();
  for (const std::string& name : kTemplates) EXPECT_EQ(Deployed(name), "translated " + name);
}

TEST_F(WizardDeploymentTest, ConfigurationAloneMakesTheFolderAndOnlyThatFile) {
  Deploy({false, false, true, false});
  ExpectMessages({"Rostavel has completed !"});
  EXPECT_EQ(Listing(veltrano()), (std::vector<std::string>{"Veltrano.ini"}));
}

TEST_F(WizardDeploymentTest, GreyBoxIsNotCopied) {
  OpenWindow();
  ToFilesPage(pictures().string());
  form().chkDictionary.Value = 2;
  ConfirmWith({});
  EXPECT_EQ(Listing(veltrano()),
            (std::vector<std::string>{"Veltrano.ini", "Veltrano_Alm.xls", "modInterpreter.bas"}));
}

TEST_F(WizardDeploymentTest, UnwritableTargetIsReportedAndLaterRowsUntouched) {
  fs::create_directories(veltrano() / "Veltrano_Alm.xls");  // a folder stands in the way
  Deploy();
  ExpectFailure("Veltrano_Alm.xls");
  EXPECT_EQ(Deployed("Veltrano.xls"), Template("Veltrano.xls"));
  EXPECT_EQ(Listing(veltrano()), (std::vector<std::string>{"Veltrano.xls", "Veltrano_Alm.xls"}));

  // The window stays open: the cause corrected, Confirm again completes.
  fs::remove(veltrano() / "Veltrano_Alm.xls");
  backend_.answers = {ui::Answer::No};
  Click("cmdConfirm");
  ExpectMessages({Question("Veltrano.xls"), "Rostavel has completed !"});
  EXPECT_EQ(Listing(veltrano()).size(), 4u);
}

TEST_F(WizardDeploymentTest, MissingTemplateIsReportedAfterTheEarlierRows) {
  fs::remove(kelmora() / "Veltrano.ini");
  Deploy();
  ExpectFailure("Kelmora/Veltrano.ini");
  EXPECT_EQ(Listing(veltrano()), (std::vector<std::string>{"Veltrano.xls", "Veltrano_Alm.xls"}));
}

TEST_F(WizardDeploymentTest, VanishedPicturesFolderIsReported) {
  OpenWindow();
  ToFilesPage(pictures().string());
  fs::remove_all(pictures());
  ConfirmWith({true, true, true, true});
  ExpectFailure("Cannot create the folder");
  EXPECT_FALSE(fs::exists(pictures()));
}

// The real copy, its writes cut off by a file-size limit past half the
// template: as a full disk would.
class HalfWayEnv : public system::EnvWrapper {
 public:
  HalfWayEnv() : EnvWrapper(system::Env::Default()) {}
  void CopyFile(const std::string& from, const std::string& to) override {
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = static_cast<rlim_t>(fs::file_size(from) / 2);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    try {
      target()->CopyFile(from, to);
    } catch (...) {
      setrlimit(RLIMIT_FSIZE, &saved);
      std::signal(SIGXFSZ, previous);
      throw;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
  }
};

TEST_F(WizardDeploymentTest, CopyFailingHalfWayLeavesTheOldFileAndNoTemporary) {
  fs::create_directories(veltrano());
  const std::string translated(4000, 'x');  // the translators' work
  WriteFile(veltrano() / "Veltrano.xls", translated);
  HalfWayEnv env;
  system::ScopedEnvOverride scope(&env);
  backend_.answers = {ui::Answer::Yes};
  Deploy();
  ExpectFailure("File too large");
  EXPECT_EQ(Deployed("Veltrano.xls"), translated);
  EXPECT_EQ(Listing(veltrano()), (std::vector<std::string>{"Veltrano.xls"}));
}

}  // namespace
}  // namespace vt::wizard::testing
