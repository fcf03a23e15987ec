// The shared test helpers themselves: a fault here would let every suite
// that uses them pass for the wrong reason.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/system/private_profile.h"
#include "platform/ui/backend.h"
#include "tests/support/fake_host.h"
#include "tests/support/library_files.h"
#include "tests/support/message_log.h"
#include "tests/support/shell.h"
#include "tests/support/temp_dir.h"

namespace vt::testing {
namespace {

namespace fs = std::filesystem;

TEST(SupportTempDir, IsFreshPerObjectAndGoesWithEverythingInIt) {
  fs::path kept;
  {
    TempDir a("vt-support");
    TempDir b("vt-support");
    EXPECT_NE(a.path(), b.path());
    EXPECT_TRUE(fs::is_directory(a.path()));
    EXPECT_EQ(a.path().filename().string().rfind("vt-support-", 0), 0u);
    fs::create_directories(a / "locked" / "inner");
    WriteFile(a / "locked" / "inner" / "f.txt", "x");
    ASSERT_EQ(::chmod((a / "locked").c_str(), 0), 0);
    kept = a.path();
  }
  EXPECT_FALSE(fs::exists(kept));
}

TEST(SupportFiles, ReadWriteAndLines) {
  TempDir dir;
  WriteFile(dir / "f", std::string("a\0b\r\nsecond\nthird\r\n", 19));
  EXPECT_EQ(ReadFile(dir / "f").size(), 19u);
  EXPECT_EQ(ReadLines(dir / "f"),
            (std::vector<std::string>{std::string("a\0b", 3), "second", "third"}));
  EXPECT_EQ(SplitLines("no end"), std::vector<std::string>{"no end"});
  EXPECT_EQ(SplitLines("\n\n"), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(ReadFile(dir / "missing"), "");
  try {
    WriteFile(dir / "no-folder" / "f", "x");
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find((dir / "no-folder" / "f").string()), std::string::npos);
  }
}

TEST(SupportShell, QuotedTextReachesTheCommandUnchanged) {
  const std::string tricky = "it's \"$HOME\" `x` \\ ; | * \n end";
  std::string out;
  EXPECT_EQ(RunShell("printf %s " + ShellQuote(tricky), &out), 0);
  EXPECT_EQ(out, tricky);
  EXPECT_EQ(RunShell("exit 3"), 3);
}

TEST(SupportShell, ScopedEnvVarPutsBackWhatWasThere) {
  unsetenv("VT_SUPPORT_PROBE");
  {
    ScopedEnvVar outer("VT_SUPPORT_PROBE", "one");
    {
      ScopedEnvVar inner("VT_SUPPORT_PROBE", "two");
      EXPECT_STREQ(getenv("VT_SUPPORT_PROBE"), "two");
    }
    EXPECT_STREQ(getenv("VT_SUPPORT_PROBE"), "one");
  }
  EXPECT_EQ(getenv("VT_SUPPORT_PROBE"), nullptr);
  EXPECT_TRUE(fs::is_directory(SourceDir() / "tests" / "support"));
}

TEST(SupportReadyIni, ReadsBackAsWrittenThroughThePrivateProfile) {
  TempDir dir;
  const std::string ini = (dir / "Veltrano.ini").string();
  WriteFile(ini, ReadyIni({{"StartingLanguageNumber", "3"}, {"ObjectsTargetPrefix", "txt"}},
                          {{"OPERATOR", 2}, {"anna", 5}}));
  auto get = [&](const char* section, const char* key) {
    return system::GetPrivateProfileString(section, key, "(none)", 256, ini);
  };
  EXPECT_EQ(get("PARAMETERS", "InterpreterEnabled"), "Y");
  EXPECT_EQ(get("PARAMETERS", "DevelopmentLanguageNumber"), "1");
  EXPECT_EQ(get("PARAMETERS", "StartingLanguageNumber"), "3");
  EXPECT_EQ(get("PARAMETERS", "ObjectsTargetPrefix"), "txt");
  EXPECT_EQ(get("USERSLANG", "UserName_001"), "OPERATOR");
  EXPECT_EQ(get("USERSLANG", "UserLang_002"), "5");
  EXPECT_NE(ReadFile(ini).find("\r\n"), std::string::npos);
  EXPECT_EQ(ReadyIni().find("[USERSLANG]"), std::string::npos);
  EXPECT_THROW(ReadyIni({{"NoSuchKey", "1"}}), std::invalid_argument);
}

TEST(SupportWorkbook, RowsReachTheIndependentReader) {
  TempDir dir;
  const fs::path file = dir / "Veltrano.xls";
  WriteWorkbook(file, ThreeLanguages(), {{"Start", "", "Avvio"}, {"", " Stop ", ""}});
  const auto rows = ReadWithXlrd(file);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0][2], Text("Language_3"));
  EXPECT_EQ(rows[1], (std::vector<XlrdCell>{Text("Start"), Empty(), Text("Avvio")}));
  EXPECT_EQ(XlrdRow(file, 2, 3), (std::vector<XlrdCell>{Empty(), Text(" Stop "), Empty()}));
  EXPECT_EQ(XlrdRow(file, 9, 2), (std::vector<XlrdCell>{Empty(), Empty()}));
  EXPECT_THROW(WriteWorkbook(file, ThreeLanguages(), {{"", "", ""}}), std::invalid_argument);
  EXPECT_THROW(ReadWithXlrd(file, "NoSuchSheet"), std::runtime_error);
}

TEST(SupportHost, ProcessListSwitchesAndFails) {
  HostEnv env;
  auto has_fix = [&] {
    const auto names = env.RunningProcessExecutableNames();
    return std::find(names.begin(), names.end(), "FIX.exe") != names.end();
  };
  EXPECT_TRUE(has_fix());
  env.SetFixRunning(false);
  EXPECT_FALSE(has_fix());
  env.SetFixRunning(true);
  env.SetFixRunning(true);
  EXPECT_EQ(std::count(env.processes.begin(), env.processes.end(), "FIX.exe"), 1);
  env.process_list_error = "no /proc";
  EXPECT_THROW(env.RunningProcessExecutableNames(), std::runtime_error);
  EXPECT_EQ(env.process_list_calls, 3);
}

TEST(SupportMessages, RecordingBackendAnswersInOrderThenFallsBack) {
  RecordingBackend backend(ui::Answer::No);
  backend.answers = {ui::Answer::Yes, ui::Answer::Cancel};
  auto show = [&](const char* text) {
    return backend.ShowMessage({.text = text, .title = "T", .style = 36, .decoded = {}});
  };
  EXPECT_EQ(show("1"), ui::Answer::Yes);
  EXPECT_EQ(show("2"), ui::Answer::Cancel);
  EXPECT_EQ(show("3"), ui::Answer::No);
  const auto taken = backend.Take();
  ASSERT_EQ(taken.size(), 3u);
  EXPECT_EQ(taken[2].text, "3");
  EXPECT_EQ(taken[2].style, 36);
  EXPECT_TRUE(backend.Take().empty());
}

TEST(SupportMessages, TranscriptReaderTakesOnlyWhatIsNew) {
  TempDir dir;
  TranscriptReader reader(dir / "t.jsonl");
  EXPECT_TRUE(reader.Take().empty());
  WriteFile(reader.file(), R"({"title": "A", "style": 48, "text": "one\r\ntwo", "answer": "ok"})"
                           "\n");
  auto taken = reader.Take();
  ASSERT_EQ(taken.size(), 1u);
  EXPECT_EQ(taken[0].text, "one\r\ntwo");
  EXPECT_EQ(taken[0].title, "A");
  EXPECT_TRUE(reader.Take().empty());
  WriteFile(reader.file(), ReadFile(reader.file()) +
                               R"({"title": "B", "style": 0, "text": "", "answer": "ok"})"
                               "\nnot json\n");
  EXPECT_THROW(reader.Take(), std::exception);
}

}  // namespace
}  // namespace vt::testing
