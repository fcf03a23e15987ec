#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "platform/ui/configure.h"
#include "platform/ui/msgbox.h"
#include "platform/ui/terminal_backend_posix.h"

namespace vt::ui {
namespace {

// The terminal back end talking through two pipes: what the user types goes
// in one, what the box prints comes out of the other.
class UiTerminalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::pipe(in_), 0);
    ASSERT_EQ(::pipe(out_), 0);
    ::fcntl(out_[0], F_SETFL, O_NONBLOCK);
    backend_ = std::make_unique<TerminalBackend>(in_[0], out_[1], false);
  }
  void TearDown() override {
    backend_.reset();
    for (int fd : {in_[0], in_[1], out_[0], out_[1]}) {
      if (fd >= 0) ::close(fd);
    }
  }

  void Type(const std::string& keys) {
    ASSERT_EQ(::write(in_[1], keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }
  void EndInput() {
    ::close(in_[1]);
    in_[1] = -1;
  }
  std::string Printed() {
    std::string all;
    char buf[4096];
    for (ssize_t n; (n = ::read(out_[0], buf, sizeof buf)) > 0;) {
      all.append(buf, static_cast<std::size_t>(n));
    }
    return all;
  }
  Answer Show(std::string_view text, int style, std::string_view title = " Veltrano - WARNING") {
    return backend_->ShowMessage(MessageRequest{text, title, style, DecodeStyle(style)});
  }

  int in_[2] = {-1, -1};
  int out_[2] = {-1, -1};
  std::unique_ptr<TerminalBackend> backend_;
};

TEST_F(UiTerminalTest, ShowsTitleTextWithLineBreaksAndButtons) {
  Type("ok\n");
  EXPECT_EQ(Show("The file \"x\" does not exist:\r\nVeltrano cannot start.\r\n\r\nCall !", 16),
            Answer::Ok);
  EXPECT_EQ(Printed(),
            "\n[critical]  Veltrano - WARNING\n"
            "The file \"x\" does not exist:\nVeltrano cannot start.\n\nCall !\n"
            "OK [OK]? ");
}

TEST_F(UiTerminalTest, WordsInitialsAndEnterForTheDefault) {
  Type("YES\nn\n\n  Cancel \n");
  EXPECT_EQ(Show("q", 36), Answer::Yes);
  EXPECT_EQ(Show("q", 36), Answer::No);
  EXPECT_EQ(Show("q", 36 + 256), Answer::No);  // second button is the default
  EXPECT_EQ(Show("q", 65), Answer::Cancel);
}

TEST_F(UiTerminalTest, AnswerNotOnTheBoxAsksAgain) {
  Type("yes\nmaybe\nc\n");
  EXPECT_EQ(Show("Go on?", 65, " Veltrano - Information"), Answer::Cancel);
  const std::string printed = Printed();
  EXPECT_NE(printed.find("[information]  Veltrano - Information\nGo on?\n"), std::string::npos);
  EXPECT_NE(printed.find("OK/Cancel [OK]? Please answer OK/Cancel.\nOK/Cancel [OK]? Please "
                         "answer OK/Cancel.\nOK/Cancel [OK]? "),
            std::string::npos)
      << printed;
}

TEST_F(UiTerminalTest, EndOfInputTakesTheSafeAnswer) {
  Type("y");  // an unfinished line still counts
  EndInput();
  EXPECT_EQ(Show("q", 36), Answer::Yes);
  EXPECT_EQ(Show("q", 36), Answer::No);
  EXPECT_EQ(Show("q", 65), Answer::Cancel);
  EXPECT_EQ(Show("q", 48), Answer::Ok);
  EXPECT_NE(Printed().find("(end of input: No)\n"), std::string::npos);
}

TEST_F(UiTerminalTest, ReadsOnlyItsOwnLine) {
  Type("y\nrest of input\n");
  EXPECT_EQ(Show("q", 36), Answer::Yes);
  char buf[64] = {};
  EXPECT_EQ(::read(in_[0], buf, sizeof buf), 14);
  EXPECT_STREQ(buf, "rest of input\n");
}

TEST_F(UiTerminalTest, BeepRingsTheBell) {
  backend_->Beep();
  EXPECT_EQ(Printed(), "\a");
}

// A child process on its own pseudo-terminal, as FIX.exe started from a shell.
TEST(UiTerminalControlling, NoGuiOnATerminalPromptsThere) {
  int master = -1;
  const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    Options options;
    options.mode = Mode::NoGui;
    Configure(options);
    if (CurrentBackend().Name() != "terminal") ::_exit(100);
    ::_exit(MsgBox("Overwrite ?", 36, " Veltrano - Confirmation request"));
  }
  std::string seen;
  char buf[256];
  while (seen.find("? ") == std::string::npos) {
    const ssize_t n = ::read(master, buf, sizeof buf);
    if (n <= 0) break;
    seen.append(buf, static_cast<std::size_t>(n));
  }
  EXPECT_NE(seen.find("[question]  Veltrano - Confirmation request"), std::string::npos) << seen;
  EXPECT_NE(seen.find("Overwrite ?"), std::string::npos);
  ASSERT_EQ(::write(master, "y\n", 2), 2);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ::close(master);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), kYes);
}

// No terminal and no display: nobody can answer, so the list (or the safe answer) does.
TEST(UiTerminalControlling, WithoutTerminalFallsToBatch) {
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::setsid();  // no controlling terminal any more
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, STDIN_FILENO);
    ::dup2(null, STDERR_FILENO);
    Options options;
    options.mode = Mode::NoGui;
    options.answers = {Answer::Yes};
    Configure(options);
    if (CurrentBackend().Name() != "batch") ::_exit(100);
    if (MsgBox("q", 36, "T") != kYes) ::_exit(101);
    ::_exit(MsgBox("q", 36, "T"));
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), kNo);
}

}  // namespace
}  // namespace vt::ui
