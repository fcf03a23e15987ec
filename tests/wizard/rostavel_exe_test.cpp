// The real Rostavel program, unattended, run from a copy of its folder (the
// templates and the log beside it).
#include "tests/host/process.h"
#include "tests/support/shell.h"
#include "tests/wizard/wizard_fixture.h"

namespace vt::wizard::testing {
namespace {

namespace fs = std::filesystem;
using vt::testing::ReadTranscript;
using vt::testing::RunProcess;

class RostavelExeTest : public WizardTest {
 protected:
  RostavelExeTest() {
    fs::copy_file(vt::testing::BinaryDir() / "bin" / "Rostavel", program() / "Rostavel");
  }

  vt::testing::ProcessResult Rostavel(std::vector<std::string> args,
                                      const std::vector<std::string>* environment = nullptr) {
    // The copy finds the platform libraries of the build tree.
    vt::testing::ScopedEnvVar libraries("LD_LIBRARY_PATH",
                                        (vt::testing::BinaryDir() / "lib").string());
    fs::remove(transcript());
    return RunProcess((program() / "Rostavel").string(), args, dir(), environment);
  }
  fs::path transcript() const { return dir() / "transcript.jsonl"; }
  std::vector<std::string> Batch(std::vector<std::string> more) const {
    std::vector<std::string> args{"--batch", "--folder", pictures().string(), "--transcript",
                                  transcript().string()};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  }
  // The transcript, a line each: the form's name or the box's text.
  std::vector<std::string> Shown() const {
    std::vector<std::string> shown;
    for (const auto& line : ReadTranscript(transcript())) {
      shown.push_back(line.contains("form")
                          ? line["form"].get<std::string>() + line["caption"].get<std::string>()
                          : line["text"].get<std::string>());
    }
    return shown;
  }
};

TEST_F(RostavelExeTest, DeploysIntoANewApplication) {
  const auto run = Rostavel(Batch({}));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Shown(),
            (std::vector<std::string>{"frmRostavel Rostavel", "Rostavel has completed !"}));
  for (const std::string& name : kTemplates) {
    EXPECT_EQ(ReadFile(veltrano() / name), ReadFile(kelmora() / name)) << name;
  }
  EXPECT_FALSE(fs::exists(log_path()));
}

TEST_F(RostavelExeTest, AnswersGoToTheQuestionsInOrder) {
  fs::create_directories(veltrano());
  for (const std::string& name : kTemplates) WriteFile(veltrano() / name, "old");
  const auto run = Rostavel(Batch({"--answers", "yes", "--files", "dictionary,module"}));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Shown(),
            (std::vector<std::string>{"frmRostavel Rostavel",
                                      "Do you wish to overwrite the file \"Veltrano.xls\" ?",
                                      "Do you wish to overwrite the file \"modInterpreter.bas\" ?",
                                      "Rostavel has completed !"}));
  EXPECT_EQ(ReadFile(veltrano() / "Veltrano.xls"), ReadFile(kelmora() / "Veltrano.xls"));
  EXPECT_EQ(ReadFile(veltrano() / "modInterpreter.bas"), "old");  // no answer left: No
  EXPECT_NE(run.err.find("taking No"), std::string::npos) << run.err;
}

TEST_F(RostavelExeTest, AlarmsAloneCannotGoOnAndIsAborted) {
  const auto run = Rostavel(Batch({"--files", "alarms"}));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Shown(),
            (std::vector<std::string>{"frmRostavel Rostavel", "Rostavel has been aborted !"}));
  EXPECT_NE(run.err.find("alarms dictionary alone does not count"), std::string::npos) << run.err;
  EXPECT_TRUE(Listing(pictures()).empty());
}

TEST_F(RostavelExeTest, FailureIsLoggedBesideTheProgramThenTheRunIsClosed) {
  fs::remove(kelmora() / "modInterpreter.bas");
  const auto run = Rostavel(Batch({}));
  EXPECT_EQ(run.status, 1);
  const auto shown = Shown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_NE(shown[1].find("Procedure: cmdConfirm_Click"), std::string::npos) << shown[1];
  EXPECT_EQ(shown[2], "Rostavel has been aborted !");
  const auto log = ReadLines(log_path());
  ASSERT_EQ(log.size(), 1u);
  EXPECT_NE(log[0].find(";frmRostavel;cmdConfirm_Click;Cannot copy the file '" +
                        (kelmora() / "modInterpreter.bas").string() + "'"),
            std::string::npos)
      << log[0];
  EXPECT_EQ(Listing(veltrano()),
            (std::vector<std::string>{"Veltrano.ini", "Veltrano.xls", "Veltrano_Alm.xls"}));
}

TEST_F(RostavelExeTest, WrongCommandLinesExitWith2) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{"--batch"}, "--folder"},
      {{"--batch", "--folder", (dir() / "missing").string()}, "missing"},
      {Batch({"--files", "dictionary,pictures"}), "\"pictures\" is not a file"},
      {Batch({"--answers", "maybe"}), "\"maybe\" is not an answer"},
      {{"--frobnicate"}, "--frobnicate"}};
  for (const auto& [args, message] : cases) {
    const auto run = Rostavel(args);
    EXPECT_EQ(run.status, 2) << message;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
  }
  EXPECT_TRUE(Listing(pictures()).empty());
}

// The window needs a display: none named, or one named that is not there,
// is a clear error with status 1 (Qt would abort the process).
TEST_F(RostavelExeTest, NoDisplayIsAClearError) {
  std::vector<std::string> bare;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("WAYLAND_DISPLAY=", 0) != 0 &&
        entry.rfind("QT_QPA_PLATFORM=", 0) != 0) {
      bare.push_back(entry);
    }
  }
  bare.push_back("LD_LIBRARY_PATH=" + (vt::testing::BinaryDir() / "lib").string());
  auto run = Rostavel({}, &bare);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_NE(run.err.find("Rostavel: no display"), std::string::npos) << run.err;
  bare.push_back("DISPLAY=:97");
  run = Rostavel({}, &bare);
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.err.rfind("Rostavel: cannot show windows: ", 0), 0u) << run.err;
}

TEST_F(RostavelExeTest, HelpDescribesTheUnattendedMode) {
  const auto run = Rostavel({"--help"});
  EXPECT_EQ(run.status, 0);
  for (const char* part :
       {"--batch", "--folder", "--files", "--answers", "--transcript", "Exit status: 0"}) {
    EXPECT_NE(run.out.find(part), std::string::npos) << part;
  }
}

}  // namespace
}  // namespace vt::wizard::testing
