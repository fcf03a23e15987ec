// Saves through the real FIX.exe when the system refuses them: a full disk, a
// read-only pictures folder, a dictionary replaced while an object holds it.
// Each save completes or leaves the old file byte for byte, leaves no
// temporary file, and each failure is reported once.
//
// The disk and the read-only folder are mounts in a user and mount namespace
// of the test's own (unshare -rm): even root meets them, and they vanish with
// the namespace. Where the system allows no such namespace the tests skip.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/automation/temp_registry.h"
#include "tests/host/process.h"
#include "tests/host/system_app.h"
#include "tests/support/shell.h"

namespace vt::host {
namespace {

namespace fs = std::filesystem;
using testing::EngineColumn;
using testing::MakeSystemApp;
using testing::Numbered;
using testing::Occurrences;
using testing::ReadFile;
using testing::ShellQuote;
using testing::SystemApp;
using testing::Temporaries;
using testing::WriteFile;

constexpr const char* kUnshare = "/usr/bin/unshare";

std::map<fs::path, std::string> Files(const fs::path& root) {
  std::map<fs::path, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) files[fs::relative(entry.path(), root)] = ReadFile(entry.path());
  }
  return files;
}

class FaultTest : public TempRegistryTest {
 protected:
  void SetUp() override {
    TempRegistryTest::SetUp();
    fs::create_directories(scratch());
    ASSERT_EQ(testing::RunProcess(VT_FIX_EXE, {"regsvr", VT_SERVER_LIBRARY}, scratch()).status, 0);
  }

  fs::path scratch() const { return dir() / "scratch"; }

  // "" when a script may mount a tmpfs in a namespace of its own, else why
  // not.
  std::string CannotIsolate() {
    if (!fs::exists(kUnshare)) return std::string(kUnshare) + " is not installed";
    const fs::path probe = dir() / "probe";
    fs::create_directories(probe);
    const auto r = Isolated("mount -t tmpfs -o size=64k tmpfs " + ShellQuote(probe.string()));
    if (r.status != 0) return "no user and mount namespace with a tmpfs here: " + r.err;
    return "";
  }

  testing::ProcessResult Isolated(const std::string& script) {
    return testing::RunProcess(kUnshare, {"-rm", "/bin/sh", "-c", "set -e\n" + script}, scratch());
  }

  // A shell command running FIX.exe in batch mode on `app`, its output in
  // `name`.out, .err, .status and its boxes in `name`.jsonl (in scratch).
  std::string FixLine(const SystemApp& app, const std::string& name,
                      const std::vector<std::string>& command) {
    std::string line = ShellQuote(VT_FIX_EXE) + " --batch --pictures " +
                       ShellQuote(app.pictures.string()) + " --transcript " +
                       ShellQuote((scratch() / (name + ".jsonl")).string());
    for (const auto& arg : command) line += " " + ShellQuote(arg);
    const std::string out = ShellQuote((scratch() / name).string());
    return line + " >" + out + ".out 2>" + out + ".err && echo 0 >" + out + ".status || echo $? >" +
           out + ".status\n";
  }

  struct Outcome {
    int status;
    std::string err;
    std::size_t boxes;  // critical boxes in the transcript
  };
  Outcome Result(const std::string& name) {
    const std::string base = (scratch() / name).string();
    return {std::stoi(ReadFile(base + ".status")), ReadFile(base + ".err"),
            Occurrences(ReadFile(base + ".jsonl"), "A critical error has occurred")};
  }
};

// The dictionary after a step: as before, or the old rows followed by each
// of `added` once; read by our engine and by xlrd alike.
void ExpectOldOrAppended(const fs::path& before, const fs::path& after,
                         const std::vector<std::string>& added, bool* changed) {
  *changed = ReadFile(before) != ReadFile(after);
  if (!*changed) return;
  std::vector<std::string> expected = EngineColumn(before, 0);
  expected.insert(expected.end(), added.begin(), added.end());
  EXPECT_EQ(EngineColumn(after, 0), expected);
  EXPECT_EQ(testing::XlrdColumn(after, 0), expected);
}

TEST_F(FaultTest, AFullDiskLeavesEveryFileOldOrNewAndReportsOnce) {
  if (const std::string why = CannotIsolate(); !why.empty()) GTEST_SKIP() << why;
  const std::vector<std::string> fresh = Numbered("A text the dictionary lacks, number ", 40);
  const SystemApp app = MakeSystemApp(dir() / "app", 300, {{"Fresh", fresh}});
  // Free room on the full disk, in pages: none, for a few sectors, for all.
  const int free_pages[] = {0, 1, 2, 4, 64};
  int failed_saves = 0, completed_saves = 0;
  for (const int pages : free_pages) {
    SCOPED_TRACE("free pages: " + std::to_string(pages));
    const std::string level = std::to_string(pages);
    const fs::path disk = dir() / ("disk-" + level);
    fs::create_directories(disk);
    const SystemApp mounted{disk / "pictures"};
    auto snapshot = [&](int step) {
      const std::string to =
          ShellQuote((dir() / ("snap-" + level + "-" + std::to_string(step))).string());
      return "mkdir " + to + " && cp -a " + ShellQuote(disk.string()) + "/pictures " + to + "/\n";
    };
    std::string script = "mount -t tmpfs -o size=1m tmpfs " + ShellQuote(disk.string()) +
                         "\ncp -a " + ShellQuote(app.pictures.string()) + " " +
                         ShellQuote(disk.string()) + "/pictures\n" +
                         "dd if=/dev/zero of=" + ShellQuote((disk / "fill").string()) +
                         " bs=4096 2>/dev/null || true\n";
    if (pages > 0) {
      script += "truncate -s -" + std::to_string(pages * 4096) + " " +
                ShellQuote((disk / "fill").string()) + "\n";
    }
    script += snapshot(0);
    script += FixLine(mounted, "picture-" + level,
                      {"translate-picture", "Fresh", "--lang", "2", "--save"});
    script += snapshot(1);
    script +=
        FixLine(mounted, "string-" + level, {"translate-string", "One text more", "--lang", "2"});
    script += snapshot(2);
    const auto run = Isolated(script);
    ASSERT_EQ(run.status, 0) << run.err;

    struct Step {
      std::string name;
      std::vector<std::string> added;
      bool writes_picture;
    };
    const Step steps[] = {{"picture-" + level, fresh, true},
                          {"string-" + level, {"One text more"}, false}};
    for (int s = 1; s <= 2; ++s) {
      const Step& step = steps[s - 1];
      SCOPED_TRACE(step.name);
      const SystemApp before{dir() / ("snap-" + level + "-" + std::to_string(s - 1)) / "pictures"};
      const SystemApp after{dir() / ("snap-" + level + "-" + std::to_string(s)) / "pictures"};
      const Outcome outcome = Result(step.name);
      bool saved = false;
      ExpectOldOrAppended(before.dictionary(), after.dictionary(), step.added, &saved);
      saved ? ++completed_saves : ++failed_saves;
      // A failed save is one report naming the dictionary, on stderr and in
      // the transcript; a completed one none.
      const std::size_t reports = Occurrences(outcome.err, "FIX.exe: error in ");
      EXPECT_EQ(reports, saved ? 0u : 1u) << outcome.err;
      EXPECT_EQ(outcome.boxes, reports);
      if (!saved) {
        EXPECT_NE(outcome.err.find(mounted.dictionary().string()), std::string::npos)
            << outcome.err;
      }
      // The log shares the full disk: at most one line a report.
      const std::size_t logged =
          Occurrences(ReadFile(after.log()), "\n") - Occurrences(ReadFile(before.log()), "\n");
      EXPECT_LE(logged, reports);

      auto old_files = Files(before.pictures), new_files = Files(after.pictures);
      for (const char* written : {"Veltrano/Veltrano.xls", "Veltrano/Veltrano.log", "Fresh.grf"}) {
        old_files.erase(written);
        new_files.erase(written);
      }
      EXPECT_EQ(new_files, old_files) << "a file changed that the step does not write";
      EXPECT_EQ(Temporaries(after.pictures), std::vector<std::string>{});

      const std::string old_picture = ReadFile(before.pictures / "Fresh.grf");
      const std::string new_picture = ReadFile(after.pictures / "Fresh.grf");
      if (!step.writes_picture || new_picture == old_picture) {
        EXPECT_EQ(new_picture, old_picture);
        if (step.writes_picture) {
          // The host's own failure, said once, naming the picture.
          EXPECT_EQ(outcome.status, 1) << outcome.err;
          EXPECT_EQ(Occurrences(outcome.err, (mounted.pictures / "Fresh.grf").string()), 1u)
              << outcome.err;
        }
      } else {
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_TRUE(nlohmann::json::accept(new_picture)) << new_picture;
      }
    }
  }
  // Both ends were met: the test proves nothing otherwise.
  EXPECT_GT(failed_saves, 0);
  EXPECT_GT(completed_saves, 0);
  std::cout << "full disk: " << std::size(free_pages) << " free-room levels, "
            << failed_saves + completed_saves << " saves (" << failed_saves << " refused, "
            << completed_saves << " completed), every file old or new, losses: 0\n";
}

TEST_F(FaultTest, AReadOnlyPicturesFolderKeepsThePictureAndReportsOnce) {
  if (const std::string why = CannotIsolate(); !why.empty()) GTEST_SKIP() << why;
  const std::vector<std::string> fresh = Numbered("Not yet in the dictionary ", 5);
  struct Case {
    const char* what;
    bool dictionary_writable;  // the Veltrano folder mounted writable again
  };
  for (const Case c : {Case{"pictures read-only, Veltrano writable", true},
                       Case{"pictures and Veltrano read-only", false}}) {
    SCOPED_TRACE(c.what);
    const std::string name = c.dictionary_writable ? "writable" : "read-only";
    const SystemApp app = MakeSystemApp(dir() / name, 20, {{"Fresh", fresh}});
    const auto before = Files(app.pictures);
    const std::string p = ShellQuote(app.pictures.string());
    std::string script = "mount --bind " + p + " " + p + "\nmount -o remount,bind,ro " + p + "\n";
    if (c.dictionary_writable) {
      script += "mount --bind " + p + "/Veltrano " + p + "/Veltrano\nmount -o remount,bind,rw " +
                p + "/Veltrano\n";
    }
    script += FixLine(app, name, {"translate-picture", "Fresh", "--lang", "2", "--save"});
    const auto run = Isolated(script);
    ASSERT_EQ(run.status, 0) << run.err;
    const Outcome outcome = Result(name);

    // The picture is not written: the host says so once and fails.
    EXPECT_EQ(outcome.status, 1) << outcome.err;
    EXPECT_EQ(Occurrences(outcome.err, (app.pictures / "Fresh.grf").string()), 1u) << outcome.err;
    EXPECT_EQ(ReadFile(app.pictures / "Fresh.grf"), before.at("Fresh.grf"));
    EXPECT_EQ(Temporaries(app.pictures), std::vector<std::string>{});
    if (c.dictionary_writable) {
      std::vector<std::string> expected = Numbered("Known ", 20);
      expected.insert(expected.end(), fresh.begin(), fresh.end());
      EXPECT_EQ(EngineColumn(app.dictionary(), 0), expected);
      EXPECT_EQ(Occurrences(outcome.err, "FIX.exe: error in "), 0u) << outcome.err;
      EXPECT_EQ(outcome.boxes, 0u);
    } else {
      EXPECT_EQ(Files(app.pictures), before);
      EXPECT_EQ(Occurrences(outcome.err, "FIX.exe: error in "), 1u) << outcome.err;
      EXPECT_NE(outcome.err.find(app.dictionary().string()), std::string::npos) << outcome.err;
      EXPECT_EQ(outcome.boxes, 1u);
    }
  }
}

// The script appends, waits for the test to put another file in the
// dictionary's place, appends again and looks one text up.
constexpr const char* kHoldingScript = R"(
local veltrano = CreateObject("Veltrano.VeltranoModule")
print(veltrano:TranslateString("Before the swap", Nothing, Integer(2), false))
local workspace = GetObject("", "Workspace.Application")
local signal = workspace.System:FixPath(1) .. "/Go.grf"
local started = os.time()
while not pcall(function() workspace.Documents:Open(signal, 2) end) do
  if os.time() - started > 30 then error("no signal to go on") end
end
print(veltrano:TranslateString("After the swap", Nothing, Integer(2), false))
print(veltrano:TranslateString("Known 1", Nothing, Integer(2), false))
)";

TEST_F(FaultTest, ADictionaryReplacedWhileHeldIsNeitherLostNorOverwritten) {
  struct Case {
    const char* what;
    std::string replacement;  // the bytes renamed over the dictionary
    bool workbook;            // a dictionary the second append goes into
  };
  testing::TempDir made;
  testing::WriteWorkbook(made / "other.xls", testing::ThreeLanguages(),
                         {{"Translator's 1", "Des Übersetzers 1", ""}, {"Translator's 2", "", ""}});
  const Case cases[] = {
      {"another dictionary", ReadFile(made / "other.xls"), true},
      {"a file that is not a workbook", std::string(3000, 'x'), false},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const SystemApp app = MakeSystemApp(dir() / ("held-" + std::to_string(++n)), 5, {});
    WriteFile(dir() / "hold.lua", kHoldingScript);
    const fs::path out = scratch() / "held.out", err = scratch() / "held.err";
    const pid_t pid =
        testing::StartProgram(VT_FIX_EXE,
                              {"--batch", "--pictures", app.pictures.string(), "--transcript",
                               (scratch() / ("held-" + std::to_string(n) + ".jsonl")).string(),
                               "run", (dir() / "hold.lua").string()},
                              out, err);
    ASSERT_GT(pid, 0);
    // The first append is saved when its call returns.
    bool appended = false;
    for (int i = 0; i < 3000 && !appended; ++i) {
      try {
        const auto texts = EngineColumn(app.dictionary(), 0);
        appended = !texts.empty() && texts.back() == "Before the swap";
      } catch (const std::exception&) {
      }
      if (!appended) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!appended) ::kill(pid, SIGKILL);
    ASSERT_TRUE(appended) << ReadFile(err);
    WriteFile(app.pictures / "Veltrano" / "replacement", c.replacement);
    fs::rename(app.pictures / "Veltrano" / "replacement", app.dictionary());
    WriteFile(dir() / "go", testing::PictureJson({}));
    fs::rename(dir() / "go", app.pictures / "Go.grf");
    ASSERT_EQ(testing::WaitFor(pid), 0) << ReadFile(err);

    const std::string errors = ReadFile(err);
    const std::size_t boxes = Occurrences(
        ReadFile(scratch() / ("held-" + std::to_string(n) + ".jsonl")), "A critical error");
    if (c.workbook) {
      // The other program's rows stay and the pending one follows them;
      // the lookup then reads the new dictionary, which lacks its text.
      const std::vector<std::string> expected{"Translator's 1", "Translator's 2", "After the swap",
                                              "Known 1"};
      EXPECT_EQ(EngineColumn(app.dictionary(), 0), expected);
      EXPECT_EQ(testing::XlrdColumn(app.dictionary(), 0), expected);
      EXPECT_EQ(EngineColumn(app.dictionary(), 1)[0], "Des Übersetzers 1");
      EXPECT_EQ(Occurrences(errors, "FIX.exe: error in "), 0u) << errors;
      EXPECT_EQ(boxes, 0u);
    } else {
      EXPECT_EQ(ReadFile(app.dictionary()), c.replacement);
      EXPECT_EQ(Occurrences(errors, "FIX.exe: error in "), 1u) << errors;
      EXPECT_NE(errors.find(app.dictionary().string()), std::string::npos) << errors;
      EXPECT_EQ(boxes, 1u);
    }
    EXPECT_EQ(Temporaries(app.pictures), std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace vt::host
