// The Windows back end of Env on what the Linux tests cannot reach: file
// attributes, the LockFileEx lock, ReplaceFileW saves and stamps, the show
// command of the programs it starts.

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/system/env.h"
#include "platform/ui/transcript.h"
#include "tests/support/temp_dir.h"

namespace vt::system {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::vector<std::string> EntriesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

using Names = std::vector<std::string>;

TEST(WindowsFiles, HiddenAndSystemFilesCountAsMissing) {
  TempDir dir;
  struct Case {
    const char* name;
    DWORD attributes;
    bool counts;
  };
  const Case cases[] = {{"plain.grf", FILE_ATTRIBUTE_NORMAL, true},
                        {"readonly.grf", FILE_ATTRIBUTE_READONLY, true},
                        {"hidden.grf", FILE_ATTRIBUTE_HIDDEN, false},
                        {"system.grf", FILE_ATTRIBUTE_SYSTEM, false}};
  for (const Case& c : cases) {
    WriteFile(dir / c.name, "x");
    ASSERT_TRUE(::SetFileAttributesW((dir / c.name).wstring().c_str(), c.attributes));
  }
  Env& env = CurrentEnv();
  std::vector<std::string> expected;
  for (const Case& c : cases) {
    EXPECT_EQ(env.FileExists((dir / c.name).string()), c.counts) << c.name;
    if (c.counts) expected.push_back(c.name);
  }
  auto listed = env.ListFiles(dir.path().string(), "*.grf");
  std::sort(listed.begin(), listed.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(listed, expected);
  for (const Case& c : cases) {
    ::SetFileAttributesW((dir / c.name).wstring().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST(WindowsFiles, AtomicWritesReplaceAndLeaveNothingBehind) {
  TempDir dir;
  const auto file = (dir / "Veltrano.ini").string();
  Env& env = CurrentEnv();
  EXPECT_FALSE(env.StatFile(file));
  env.WriteFileAtomic(file, "first");
  const auto first = env.StatFile(file);
  ASSERT_TRUE(first);
  env.WriteFileAtomic(file, "second, longer");
  EXPECT_EQ(ReadFile(file), "second, longer");
  const auto second = env.StatFile(file);
  ASSERT_TRUE(second);
  EXPECT_NE(*first, *second);
  EXPECT_EQ(second->size, 14U);
  FileStamp read;
  EXPECT_EQ(env.ReadFileStamped(file, read), "second, longer");
  EXPECT_EQ(read, *second);
  {
    auto abandoned = env.NewAtomicFile(file);
    abandoned->Append("never committed");
  }
  EXPECT_EQ(ReadFile(file), "second, longer");
  EXPECT_EQ(EntriesIn(dir.path()), Names{"Veltrano.ini"});
  // A folder in the file's place cannot be replaced: an error, nothing left.
  std::filesystem::create_directory(dir / "folder.xls");
  EXPECT_THROW(env.WriteFileAtomic((dir / "folder.xls").string(), "x"), SystemError);
  EXPECT_EQ(EntriesIn(dir.path()), (Names{"Veltrano.ini", "folder.xls"}));
}

TEST(WindowsFiles, OneFileHoweverItIsNamed) {
  TempDir dir;
  WriteFile(dir / "Book.xls", "x");
  WriteFile(dir / "Copy.xls", "x");
  std::filesystem::create_directory(dir / "sub");
  const std::string book = (dir / "Book.xls").string();
  ASSERT_TRUE(::CreateHardLinkW((dir / "Hard.xls").wstring().c_str(),
                                std::filesystem::path(book).wstring().c_str(), nullptr));
  const struct {
    std::string other;
    bool same;
  } cases[] = {
      {book, true},
      {(dir / "BOOK.XLS").string(), true},
      {(dir / "sub\\..\\book.xls").string(), true},
      {(dir / "Hard.xls").string(), true},
      {(dir / "Copy.xls").string(), false},
      {(dir / "Missing.xls").string(), false},
      {(dir / "gone\\Book.xls").string(), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CurrentEnv().IsSameFile(book, c.other), c.same) << c.other;
    EXPECT_EQ(CurrentEnv().IsSameFile(c.other, book), c.same) << c.other;
  }
}

TEST(WindowsFiles, TheWritersLockTakenWithoutWaitingIsNoneWhileHeld) {
  TempDir dir;
  const auto file = (dir / "Veltrano.xls").string();
  Env& env = CurrentEnv();
  env.WriteFileAtomic(file, "v1");
  auto held = env.LockForWriting(file);
  EXPECT_EQ(env.TryLockForWriting(file), nullptr);
  held.reset();
  EXPECT_NE(env.TryLockForWriting(file), nullptr);
}

TEST(WindowsFiles, TheWritersLockWaitsAndSurvivesAReplacement) {
  TempDir dir;
  const auto file = (dir / "Veltrano.xls").string();
  Env& env = CurrentEnv();
  env.WriteFileAtomic(file, "v1");
  auto held = env.LockForWriting(file);
  std::atomic<bool> got{false};
  std::thread other([&] {
    auto lock = env.LockForWriting(file);
    got = true;
    // The holder replaced the file meanwhile: this lock is on the new one.
    EXPECT_EQ(ReadFile(file), "v2");
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(got);
  env.WriteFileAtomic(file, "v2");  // under the lock, as a save does
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_FALSE(got);
  held.reset();
  other.join();
  EXPECT_TRUE(got);
  EXPECT_EQ(EntriesIn(dir.path()), Names{"Veltrano.xls"});  // no lock file
}

// The transcript's Windows back end: whole lines appended, the file made
// when missing, a clear error for a folder that is not there.
TEST(WindowsTranscript, AppendsWholeLinesAndNamesTheFileOnFailure) {
  TempDir dir;
  const auto file = (dir / "transcript.jsonl").string();
  EXPECT_EQ(ui::AppendTranscriptLine(file, "{\"a\": 1}\n"), "");
  EXPECT_EQ(ui::AppendTranscriptLine(file, "{\"b\": \"\u00e9\"}\n"), "");
  EXPECT_EQ(ReadFile(file), "{\"a\": 1}\n{\"b\": \"\u00e9\"}\n");
  const auto missing = (dir / "no" / "t.jsonl").string();
  EXPECT_EQ(ui::AppendTranscriptLine(missing, "x\n"),
            "cannot open transcript \"" + missing + "\": No such file or directory");
}

TEST(WindowsProcesses, ThisProgramIsInTheList) {
  wchar_t path[MAX_PATH];
  ASSERT_GT(::GetModuleFileNameW(nullptr, path, MAX_PATH), 0U);
  const std::string self = std::filesystem::path(path).filename().string();
  const auto names = CurrentEnv().RunningProcessExecutableNames();
  EXPECT_NE(std::find(names.begin(), names.end(), self), names.end()) << self;
}

// Both ways of starting a program hand it the show command, which the probe
// beside this program writes down ("FLAGS SHOW" of its STARTUPINFO).
TEST(WindowsProcesses, StartedProgramsGetTheShowCommand) {
  TempDir dir;
  wchar_t self[MAX_PATH];
  ASSERT_GT(::GetModuleFileNameW(nullptr, self, MAX_PATH), 0U);
  const std::string probe = (std::filesystem::path(self).parent_path() / "show_probe.exe").string();
  struct Case {
    const char* name;
    bool as_document;
    ShowCommand show;
    const char* written;
  };
  const Case cases[] = {{"command-maximized", false, ShowCommand::Maximized, "1 3\n"},
                        {"command-normal", false, ShowCommand::Normal, "1 1\n"},
                        {"document-maximized", true, ShowCommand::Maximized, "1 3\n"},
                        {"document-normal", true, ShowCommand::Normal, "1 1\n"}};
  for (const Case& c : cases) {
    const auto written = dir / c.name;
    ASSERT_TRUE(::SetEnvironmentVariableW(L"VELTRANO_SHOW_PROBE", written.wstring().c_str()));
    if (c.as_document) {
      CurrentEnv().OpenWithDefaultProgram(probe, c.show);
    } else {
      CurrentEnv().StartProgram(probe, c.show);
    }
    // Not waited for by Env; a minute for a loaded machine.
    for (int tries = 0; tries < 600 && !std::filesystem::exists(written); ++tries) ::Sleep(100);
    EXPECT_EQ(ReadFile(written), c.written) << c.name;
  }
  ::SetEnvironmentVariableW(L"VELTRANO_SHOW_PROBE", nullptr);
}

}  // namespace
}  // namespace vt::system
