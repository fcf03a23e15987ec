#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>

#include "platform/system/date_time.h"
#include "platform/system/env.h"
#include "platform/system/process_list_linux.h"
#include "tests/support/local_time.h"
#include "tests/support/temp_dir.h"

extern char** environ;

namespace vt::system {
namespace {

using vt::testing::LocalTime;
using vt::testing::ReadFile;
using vt::testing::TempDir;
using vt::testing::WriteFile;

std::string OwnExecutableName() {
  char target[4096];
  const ssize_t length = ::readlink("/proc/self/exe", target, sizeof target - 1);
  std::string path(target, static_cast<std::size_t>(std::max<ssize_t>(length, 0)));
  return path.substr(path.rfind('/') + 1);
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Waits for a file that a detached program writes; the limit only guards
// against a hang.
bool WaitForFile(const std::string& path) {
  for (int i = 0; i < 200; ++i) {
    if (!ReadFile(path).empty()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

bool HasChildren() { return ::waitpid(-1, nullptr, WNOHANG) != -1 || errno != ECHILD; }

TEST(ProcessList, FindsThisTestsOwnExecutable) {
  const auto names = Env::Default()->RunningProcessExecutableNames();
  EXPECT_TRUE(Contains(names, OwnExecutableName()));
  for (const auto& name : names) EXPECT_EQ(name.find('/'), std::string::npos) << name;
}

TEST(ProcessList, FindsAProgramStartedUnderTheHostsName) {
  TempDir dir;
  const std::string fix = dir / "FIX.exe";
  WriteFile(fix, ReadFile("/bin/sleep"));
  ASSERT_EQ(::chmod(fix.c_str(), 0755), 0);
  std::string arg0 = fix;
  std::string arg1 = "30";
  char* argv[] = {arg0.data(), arg1.data(), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(::posix_spawn(&pid, fix.c_str(), nullptr, nullptr, argv, environ), 0);
  const auto names = Env::Default()->RunningProcessExecutableNames();
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
  EXPECT_TRUE(Contains(names, "FIX.exe"));
}

TEST(ProcessList, ReadsExeLinksAndSkipsWhatCannotBeRead) {
  TempDir proc;
  for (const char* id : {"1", "22", "333", "4444", "self", "sys"}) {
    ASSERT_EQ(::mkdir((proc / id).c_str(), 0755), 0);
  }
  ASSERT_EQ(::symlink("/opt/ifix/FIX.exe", (proc / "1/exe").c_str()), 0);
  ASSERT_EQ(::symlink("/usr/bin/editor (deleted)", (proc / "22/exe").c_str()), 0);
  // 333 has no exe link (a kernel thread); "self" and "sys" are not processes.
  ASSERT_EQ(::symlink("/bin/x", (proc / "self/exe").c_str()), 0);
  ASSERT_EQ(::symlink("FIX.EXE.BAK", (proc / "4444/exe").c_str()), 0);
  auto names = ReadProcessExecutableNames(proc.path());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"FIX.EXE.BAK", "FIX.exe", "editor"}));
  EXPECT_THROW(ReadProcessExecutableNames(proc / "missing"), SystemError);
}

class Launching : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* path = std::getenv("PATH");
    saved_path_ = path != nullptr ? path : "";
    for (const char* name : {"VISUAL", "EDITOR"}) {
      const char* value = std::getenv(name);
      saved_editors_.emplace_back(
          name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
    }
  }
  void TearDown() override {
    ::setenv("PATH", saved_path_.c_str(), 1);
    for (const auto& [name, value] : saved_editors_) {
      if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
  }
  // A program that records its arguments, one a line, into `out`.
  void MakeRecorder(const std::string& program, const std::string& out) {
    WriteFile(program, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" + out +
                           ".part'\nmv '" + out + ".part' '" + out + "'\n");
    ASSERT_EQ(::chmod(program.c_str(), 0755), 0);
  }

  TempDir dir_;
  std::string saved_path_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_editors_;
};

TEST_F(Launching, StartProgramReturnsAtOnceAndLeavesNoChild) {
  const std::string out = dir_ / "out";
  Env::Default()->StartProgram("sleep 0.3; echo started > '" + out + "'", ShowCommand::Maximized);
  EXPECT_TRUE(ReadFile(out).empty());  // not waited for
  EXPECT_FALSE(HasChildren());
  ASSERT_TRUE(WaitForFile(out));
  EXPECT_EQ(ReadFile(out), "started\n");
}

TEST_F(Launching, NotepadCommandLineStartsTheUsersEditor) {
  const std::string editor = dir_ / "my editor";
  const std::string out = dir_ / "args";
  MakeRecorder(editor, out);
  ::setenv("VISUAL", ("'" + editor + "' --new").c_str(), 1);
  const std::string ini = dir_ / "My Pictures/Veltrano/Veltrano.ini";
  Env::Default()->StartProgram("Notepad.exe " + ini, ShowCommand::Maximized);
  ASSERT_TRUE(WaitForFile(out));
  EXPECT_EQ(ReadFile(out), "--new\n" + ini + "\n");
  EXPECT_FALSE(HasChildren());
}

TEST_F(Launching, MissingEditorIsAnErrorNamingIt) {
  ::unsetenv("VISUAL");
  ::setenv("EDITOR", "no-such-editor-vt-4711", 1);
  try {
    Env::Default()->StartProgram("Notepad.exe /x/Veltrano.ini", ShowCommand::Maximized);
    FAIL() << "expected an error";
  } catch (const SystemError& error) {
    EXPECT_NE(std::string(error.what()).find("no-such-editor-vt-4711"), std::string::npos);
  }
}

TEST_F(Launching, OpenWithDefaultProgramUsesXdgOpen) {
  const std::string out = dir_ / "opened";
  ASSERT_EQ(::mkdir((dir_ / "bin").c_str(), 0755), 0);
  ::setenv("PATH", (dir_ / "bin").c_str(), 1);
  EXPECT_THROW(Env::Default()->OpenWithDefaultProgram(dir_ / "guide.pdf", ShowCommand::Maximized),
               SystemError);
  MakeRecorder(dir_ / "bin/xdg-open", out);
  ::setenv("PATH", ((dir_ / "bin").string() + ":" + saved_path_).c_str(), 1);
  const std::string document = dir_ / "User Guide; $(rm -rf x).pdf";
  Env::Default()->OpenWithDefaultProgram(document, ShowCommand::Maximized);
  ASSERT_TRUE(WaitForFile(out));
  EXPECT_EQ(ReadFile(out), document + "\n");
}

TEST(EnvOverride, ReplacesOneServiceAndNests) {
  struct FixedClock : EnvWrapper {
    explicit FixedClock(std::chrono::system_clock::time_point when)
        : EnvWrapper(Env::Default()), when_(when) {}
    std::chrono::system_clock::time_point Now() override { return when_; }
    std::chrono::system_clock::time_point when_;
  };
  const std::chrono::system_clock::time_point epoch{};
  FixedClock first(epoch);
  FixedClock second(epoch + std::chrono::hours(1));
  EXPECT_EQ(&CurrentEnv(), Env::Default());
  {
    ScopedEnvOverride outer(&first);
    EXPECT_EQ(CurrentEnv().Now(), epoch);
    EXPECT_TRUE(CurrentEnv().FileExists("/bin/sh"));  // forwarded
    {
      ScopedEnvOverride inner(&second);
      EXPECT_EQ(CurrentEnv().Now(), epoch + std::chrono::hours(1));
    }
    EXPECT_EQ(CurrentEnv().Now(), epoch);
  }
  EXPECT_EQ(&CurrentEnv(), Env::Default());
}

TEST(FormatDateTime, ShortDateLongTimeAndMidnightWithoutTime) {
  const std::locale c = std::locale::classic();
  EXPECT_EQ(FormatDateTime(LocalTime(2024, 3, 5, 14, 7, 9), c), "03/05/24 14:07:09");
  EXPECT_EQ(FormatDateTime(LocalTime(2024, 3, 5, 0, 0, 0), c), "03/05/24");
  EXPECT_EQ(FormatDateTime(LocalTime(2024, 3, 5, 0, 0, 1), c), "03/05/24 00:00:01");
  EXPECT_FALSE(FormatDateTime(LocalTime(2024, 3, 5, 14, 7, 9)).empty());
}

}  // namespace
}  // namespace vt::system
