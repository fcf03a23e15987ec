// Several FIX.exe processes on one dictionary at once, and maintenance runs
// killed at random points: no text lost or appended twice, every workbook
// and picture whole, no temporary file left once the files were saved again.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/automation/temp_registry.h"
#include "tests/host/process.h"
#include "tests/host/system_app.h"

namespace vt::host {
namespace {

namespace fs = std::filesystem;
using testing::EngineColumn;
using testing::MakeSystemApp;
using testing::Numbered;
using testing::Occurrences;
using testing::ReadFile;
using testing::SystemApp;
using testing::Temporaries;
using testing::WriteFile;
using Clock = std::chrono::steady_clock;

class CrowdTest : public TempRegistryTest {
 protected:
  void SetUp() override {
    TempRegistryTest::SetUp();
    fs::create_directories(scratch());
    ASSERT_EQ(testing::RunProcess(VT_FIX_EXE, {"regsvr", VT_SERVER_LIBRARY}, scratch()).status, 0);
  }

  fs::path scratch() const { return dir() / "scratch"; }

  pid_t Start(const SystemApp& app, const std::string& name,
              const std::vector<std::string>& command) {
    std::vector<std::string> args{"--batch", "--pictures", app.pictures.string()};
    args.insert(args.end(), command.begin(), command.end());
    return testing::StartProgram(VT_FIX_EXE, args, scratch() / (name + ".out"),
                                 scratch() / (name + ".err"));
  }
  std::string Err(const std::string& name) { return ReadFile(scratch() / (name + ".err")); }
};

// How often each text of the dictionary's first column is there, by both
// readers (which must agree).
std::map<std::string, int> Counted(const fs::path& dictionary) {
  const auto texts = EngineColumn(dictionary, 0);
  EXPECT_EQ(testing::XlrdColumn(dictionary, 0), texts);
  std::map<std::string, int> seen;
  for (const auto& text : texts) ++seen[text];
  return seen;
}

TEST_F(CrowdTest, TranslatorsAtOnceAppendEachTextOnce) {
  constexpr int kProcesses = 4, kWaves = 3, kNew = 8;
  std::map<std::string, std::vector<std::string>> pictures;
  for (int w = 0; w < kWaves; ++w) {
    for (int p = 0; p < kProcesses; ++p) {
      const std::string name = "W" + std::to_string(w) + "P" + std::to_string(p);
      auto texts = Numbered("Text of " + name + " ", kNew);
      // Missing for all four processes at once: still appended once.
      texts.push_back("New to wave " + std::to_string(w));
      texts.push_back("Known " + std::to_string(p));
      pictures[name] = texts;
    }
  }
  const SystemApp app = MakeSystemApp(dir() / "app", 200, pictures);
  int runs = 0;
  for (int w = 0; w < kWaves; ++w) {
    std::vector<std::pair<pid_t, std::string>> running;
    for (int p = 0; p < kProcesses; ++p) {
      const std::string name = "W" + std::to_string(w) + "P" + std::to_string(p);
      running.emplace_back(Start(app, name, {"translate-picture", name, "--lang", "2", "--save"}),
                           name);
    }
    for (const auto& [pid, name] : running) {
      ASSERT_GT(pid, 0);
      EXPECT_EQ(testing::WaitFor(pid), 0) << name << ": " << Err(name);
      EXPECT_EQ(Err(name), "") << name;
      ++runs;
    }
  }

  const auto seen = Counted(app.dictionary());
  std::set<std::string> appended;
  for (const auto& [name, texts] : pictures) {
    for (const auto& text : texts) {
      EXPECT_EQ(seen.count(text) ? seen.at(text) : 0, 1) << text;
      if (text.rfind("Known ", 0) != 0) appended.insert(text);
    }
    // Saved whole, the known text translated.
    const auto picture = nlohmann::json::parse(ReadFile(app.pictures / (name + ".grf")));
    ASSERT_EQ(picture["ContainedObjects"].size(), texts.size()) << name;
    EXPECT_EQ(picture["ContainedObjects"].back()["Caption"], "Bekannt " + texts.back().substr(6))
        << name;
  }
  std::size_t rows = 0;
  for (const auto& [text, n] : seen) rows += static_cast<std::size_t>(n);
  EXPECT_EQ(rows, 200 + appended.size());
  EXPECT_EQ(Temporaries(app.pictures), std::vector<std::string>{});
  std::cout << "concurrent translators: " << runs << " FIX.exe runs, " << kProcesses << " at once; "
            << appended.size() << " texts appended, each present once; " << pictures.size()
            << " pictures and 1 dictionary checked (engine and xlrd); "
            << "losses: 0\n";
}

// Kills a run of the maintenance command `kills` times, each at a random point
// (a fixed seed) between the two percentages of `span`, the length of a whole
// run, calling `after_kill` after each; returns how many were killed running.
template <typename AfterKill>
int KillAtRandom(const std::function<pid_t(const std::string&)>& start, Clock::duration span,
                 int from_percent, int to_percent, int kills, unsigned seed, AfterKill after_kill) {
  std::mt19937 random(seed);
  int killed = 0;
  for (int k = 0; k < kills; ++k) {
    const std::string name = "killed-" + std::to_string(k);
    const auto delay =
        std::chrono::duration_cast<std::chrono::microseconds>(span) *
        (from_percent +
         static_cast<int>(random() % static_cast<unsigned>(to_percent - from_percent))) /
        100;
    const pid_t pid = start(name);
    EXPECT_GT(pid, 0);
    std::this_thread::sleep_for(delay);
    const bool was_running = ::kill(pid, SIGKILL) == 0;
    if (testing::WaitFor(pid) == -1 && was_running) ++killed;
    after_kill(k);
  }
  return killed;
}

TEST_F(CrowdTest, AKilledDictionaryUpdateLosesNothingAndAppendsNothingTwice) {
  constexpr int kPictures = 5, kNew = 12, kKills = 5;
  std::map<std::string, std::vector<std::string>> pictures;
  std::vector<std::string> all;
  for (int p = 0; p < kPictures; ++p) {
    const std::string name = "Pic" + std::to_string(p);
    pictures[name] = Numbered("Picture " + std::to_string(p) + " text ", kNew);
    all.insert(all.end(), pictures[name].begin(), pictures[name].end());
  }
  const SystemApp app = MakeSystemApp(dir() / "app", 300, pictures);
  const auto originals = [&] {
    std::map<std::string, std::string> bytes;
    for (const auto& [name, texts] : pictures)
      bytes[name] = ReadFile(app.pictures / (name + ".grf"));
    return bytes;
  }();
  const std::vector<std::string> command{"--select",  "*",  "--lang-number",    "2",
                                         "--answers", "ok", "update-dictionary"};

  // The span of a whole run, on a copy.
  fs::copy(dir() / "app", dir() / "measure", fs::copy_options::recursive);
  const SystemApp measure{dir() / "measure"};
  const auto began = Clock::now();
  ASSERT_EQ(testing::WaitFor(Start(measure, "measure", command)), 0) << Err("measure");
  const Clock::duration span = Clock::now() - began;

  std::size_t appended_by_killed = 0;
  const int killed =
      KillAtRandom([&](const std::string& name) { return Start(app, name, command); }, span, 5, 95,
                   kKills, 20240607u,
                   [&](int k) {
                     SCOPED_TRACE("after kill " + std::to_string(k));
                     const auto texts = EngineColumn(app.dictionary(), 0);
                     const auto known = Numbered("Known ", 300);
                     ASSERT_GE(texts.size(), known.size());
                     EXPECT_TRUE(std::equal(known.begin(), known.end(), texts.begin()));
                     std::map<std::string, int> seen;
                     for (std::size_t i = known.size(); i < texts.size(); ++i) ++seen[texts[i]];
                     appended_by_killed = texts.size() - known.size();
                     for (const auto& [text, n] : seen) {
                       EXPECT_EQ(n, 1) << text;
                       EXPECT_NE(std::find(all.begin(), all.end(), text), all.end()) << text;
                     }
                     for (const auto& [name, bytes] : originals) {
                       EXPECT_EQ(ReadFile(app.pictures / (name + ".grf")), bytes) << name;
                     }
                   });
  EXPECT_GT(killed, 0) << "no run was killed while it ran";

  // One picture more, so that the clean run saves the dictionary.
  WriteFile(app.pictures / "Late.grf", testing::PictureJson({"Late text"}));
  all.push_back("Late text");
  ASSERT_EQ(testing::WaitFor(Start(app, "clean", command)), 0) << Err("clean");
  EXPECT_EQ(Occurrences(Err("clean"), "FIX.exe: error in "), 0u) << Err("clean");
  const auto seen = Counted(app.dictionary());
  for (const auto& text : all) EXPECT_EQ(seen.count(text) ? seen.at(text) : 0, 1) << text;
  EXPECT_EQ(seen.size(), 300 + all.size());
  EXPECT_EQ(Temporaries(app.pictures), std::vector<std::string>{});
  std::cout << "killed dictionary update: " << killed << " of " << kKills
            << " runs killed while running (" << appended_by_killed
            << " texts saved before the last kill), " << all.size()
            << " texts appended, each present once; " << pictures.size() + 1
            << " pictures and 1 dictionary checked; losses: 0\n";
}

TEST_F(CrowdTest, AKilledDevelopmentLanguageChangeLeavesEachPictureOldOrNew) {
  constexpr int kPictures = 6, kKills = 5;
  std::map<std::string, std::vector<std::string>> pictures;
  for (int p = 0; p < kPictures; ++p) {
    std::vector<std::string> texts;
    for (int i = 0; i < 15; ++i) texts.push_back("Known " + std::to_string(p * 15 + i));
    pictures["Pic" + std::to_string(p)] = texts;
  }
  const SystemApp app = MakeSystemApp(dir() / "app", 300, pictures);
  const std::vector<std::string> command{"--select",  "*",          "--lang-number",  "2",
                                         "--answers", "yes,yes,ok", "change-dev-lang"};
  auto state = [&](const SystemApp& of) {
    std::map<std::string, std::string> bytes;
    for (const auto& [name, texts] : pictures)
      bytes[name] = ReadFile(of.pictures / (name + ".grf"));
    bytes["ini"] = ReadFile(of.ini());
    bytes["dictionary"] = ReadFile(of.dictionary());
    return bytes;
  };
  const auto old_state = state(app);

  // What a whole run makes, on a copy, and how long it takes: the shorter of
  // two runs, since a first one from a cold cache would let every kill come
  // after the end.
  Clock::duration span = Clock::duration::max();
  for (const char* copy : {"warm-up", "reference"}) {
    fs::copy(dir() / "app", dir() / copy, fs::copy_options::recursive);
    const auto began = Clock::now();
    ASSERT_EQ(testing::WaitFor(Start(SystemApp{dir() / copy}, copy, command)), 0) << Err(copy);
    span = std::min(span, Clock::now() - began);
  }
  const SystemApp reference{dir() / "reference"};
  const auto new_state = state(reference);
  for (const auto& [name, bytes] : new_state) {
    if (name != "dictionary") {
      ASSERT_NE(bytes, old_state.at(name)) << name << " unchanged";
    }
  }

  std::size_t files_checked = 0, found_new = 0;
  const int killed =
      KillAtRandom([&](const std::string& name) { return Start(app, name, command); }, span, 50,
                   100, kKills, 4711u,
                   [&](int k) {
                     SCOPED_TRACE("after kill " + std::to_string(k));
                     for (const auto& [name, bytes] : state(app)) {
                       EXPECT_TRUE(bytes == old_state.at(name) || bytes == new_state.at(name))
                           << name << " is neither the old nor the new file";
                       ++files_checked;
                       if (bytes != old_state.at(name)) ++found_new;
                     }
                     // Back to the old files, so that each run starts alike; what the
                     // killed one left aside stays.
                     for (const auto& [name, bytes] : old_state) {
                       if (name == "ini") {
                         WriteFile(app.ini(), bytes);
                       } else if (name != "dictionary") {
                         WriteFile(app.pictures / (name + ".grf"), bytes);
                       }
                     }
                   });
  EXPECT_GT(killed, 0) << "no run was killed while it ran";

  // A clean run writes every file again and so clears what the killed ones left.
  ASSERT_EQ(testing::WaitFor(Start(app, "clean", command)), 0) << Err("clean");
  EXPECT_EQ(state(app), new_state);
  EXPECT_EQ(Temporaries(app.pictures), std::vector<std::string>{});
  EXPECT_NO_THROW(EngineColumn(app.dictionary(), 0));
  EXPECT_EQ(testing::XlrdColumn(app.dictionary(), 0), EngineColumn(app.dictionary(), 0));
  std::cout << "killed development-language change: " << killed << " of " << kKills
            << " runs killed while running; " << files_checked + new_state.size()
            << " files checked old or new (" << found_new << " new after a kill); losses: 0\n";
}

}  // namespace
}  // namespace vt::host
