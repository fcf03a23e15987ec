// The real Rostavel program, unattended, run from a copy of its folder (the
// templates and the log beside it).
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "platform/system/env.h"
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
  // The same, stopped after a minute: a run held up by a FIFO must fail, not hang.
  vt::testing::ProcessResult RostavelTimed(std::vector<std::string> args,
                                           const std::vector<std::string>* environment = nullptr) {
    vt::testing::ScopedEnvVar libraries("LD_LIBRARY_PATH",
                                        (vt::testing::BinaryDir() / "lib").string());
    fs::remove(transcript());
    args.insert(args.begin(), {"60", (program() / "Rostavel").string()});
    return RunProcess("/usr/bin/timeout", args, dir(), environment);
  }
  fs::path transcript() const { return dir() / "transcript.jsonl"; }
  std::vector<std::string> Batch(const std::vector<std::string>& more) const {
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
  // Nobody reads the box in batch mode, and the log beside an installed
  // program may not be writable: the failure is told on stderr too.
  EXPECT_NE(run.err.find("Rostavel: error in frmRostavel.cmdConfirm_Click: Cannot copy the file '" +
                         (kelmora() / "modInterpreter.bas").string() + "'"),
            std::string::npos)
      << run.err;
}

TEST_F(RostavelExeTest, FilesWordsAreTrimmedAndWithoutRegardToCase) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases{
      {"module,Configuration", {"Veltrano.ini", "modInterpreter.bas"}},
      {"ALL", {"Veltrano.ini", "Veltrano.xls", "Veltrano_Alm.xls", "modInterpreter.bas"}},
      {" dictionary", {"Veltrano.xls"}},
      {"Dictionary , ALARMS", {"Veltrano.xls", "Veltrano_Alm.xls"}},
  };
  for (const auto& [files, made] : cases) {
    fs::remove_all(veltrano());
    const auto run = Rostavel(Batch({"--files", files}));
    EXPECT_EQ(run.status, 0) << files << ": " << run.err;
    EXPECT_EQ(Listing(veltrano()), made) << files;
  }
}

TEST_F(RostavelExeTest, AFileInUseOrReadOnlyIsNotReplacedAndTheFailureIsReported) {
  // What a host holds while it reads or saves the dictionary: the writers'
  // lock, here held by this test's process.
  struct Case {
    const char* what;
    const char* file;
    std::string err;
  };
  const std::vector<Case> cases{
      {"a workbook a host is writing", "Veltrano.xls", "it is in use by another program"},
      {"a read-only configuration", "Veltrano.ini", "it is read-only"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(veltrano());
    fs::create_directories(veltrano());
    for (const std::string& name : kTemplates) WriteFile(veltrano() / name, "old");
    std::unique_ptr<system::FileLock> lock;
    if (std::string(c.file) == "Veltrano.xls") {
      lock = system::Env::Default()->LockForWriting((veltrano() / c.file).string());
    } else {
      fs::permissions(veltrano() / c.file, fs::perms::owner_read | fs::perms::group_read);
    }
    const auto run = Rostavel(Batch({"--answers", "yes,yes,yes,yes"}));
    lock.reset();
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("error in frmRostavel.cmdConfirm_Click: Cannot "), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find((veltrano() / c.file).string() + "': " + c.err), std::string::npos)
        << run.err;
    EXPECT_EQ(ReadFile(veltrano() / c.file), "old");
    EXPECT_EQ(ReadFile(veltrano() / "modInterpreter.bas"), "old");  // later rows untouched
  }
}

TEST_F(RostavelExeTest, AReplacedFileKeepsItsModeAndOwner) {
  fs::create_directories(veltrano());
  const fs::path ini = veltrano() / "Veltrano.ini";
  WriteFile(ini, "old");
  ASSERT_EQ(::chmod(ini.c_str(), 0640), 0);
  // Root may give the file to anyone; another user keeps its own.
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(ini.c_str(), 4321, 4322), 0);
  }
  struct stat before {};
  ASSERT_EQ(::stat(ini.c_str(), &before), 0);
  const auto run = Rostavel(Batch({"--files", "configuration", "--answers", "yes"}));
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ReadFile(ini), ReadFile(kelmora() / "Veltrano.ini"));
  struct stat after {};
  ASSERT_EQ(::stat(ini.c_str(), &after), 0);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
}

TEST_F(RostavelExeTest, ALogOrTranscriptThatIsNoOrdinaryFileNeverHoldsTheRunUp) {
  fs::remove(kelmora() / "modInterpreter.bas");  // a failure to log
  ASSERT_EQ(::mkfifo(log_path().c_str(), 0666), 0);
  const auto logged = RostavelTimed(Batch({}));
  EXPECT_EQ(logged.status, 1) << logged.err;
  EXPECT_NE(logged.err.find("Cannot append to the file '" + log_path().string() +
                            "': not an ordinary file"),
            std::string::npos)
      << logged.err;

  const fs::path fifo = dir() / "fifo.jsonl";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  const auto transcribed =
      RostavelTimed({"--batch", "--folder", pictures().string(), "--transcript", fifo.string()});
  EXPECT_EQ(transcribed.status, 2) << transcribed.err;
  EXPECT_NE(transcribed.err.find("not an ordinary file"), std::string::npos) << transcribed.err;
}

TEST_F(RostavelExeTest, WrongCommandLinesExitWith2) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{"--batch"}, "--folder"},
      {{"--batch", "--folder", (dir() / "missing").string()}, "missing"},
      {Batch({"--files", "dictionary,pictures"}), "\"pictures\" is not a file"},
      {Batch({"--files", "module,"}), "--files: an empty word in \"module,\""},
      {Batch({"--files", " "}), "--files: an empty word"},
      {Batch({"--files", ",Configuration"}), "--files: an empty word"},
      {{"--batch", "--folder", pictures().string(), "--transcript",
        (dir() / "missing" / "t.jsonl").string()},
       "--transcript: cannot open transcript"},
      {{"--batch", "--folder", pictures().string(), "--transcript", "/dev/full"},
       "--transcript: cannot open transcript \"/dev/full\": not an ordinary file"},
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
