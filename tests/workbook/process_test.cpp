// Several processes on one workbook, and writers killed mid-save.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <random>
#include <set>
#include <thread>

#include "platform/workbook/workbook.h"
#include "tests/workbook/test_support.h"

namespace vt::workbook {
namespace {

using test::TempDir;

struct Child {
  pid_t pid = -1;
  int out = -1;  // its standard output
};

Child Spawn(const std::vector<std::string>& args) {
  int fds[2];
  if (::pipe(fds) != 0) throw std::runtime_error("pipe");
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(fds[1], 1);
    ::close(fds[0]);
    ::close(fds[1]);
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(fds[1]);
  return {pid, fds[0]};
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
    text.append(buffer, static_cast<std::size_t>(n));
  ::close(fd);
  return text;
}

int Wait(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> ColumnTexts(const std::filesystem::path& file, std::size_t col) {
  Workbook book = Workbook::Open(file);
  Sheet* sheet = book.FindSheet("Dictionary");
  std::vector<std::string> texts;
  for (std::size_t r = 1; r < sheet->RowCount(); ++r) texts.emplace_back(sheet->CellText(r, col));
  return texts;
}

TEST(Processes, ConcurrentAppendersLoseNothing) {
  TempDir dir;
  auto file = dir / "Veltrano.xls";
  Workbook::CreateDictionary(file, "Dictionary", {"Language_1", "Language_2"});
  constexpr int kWriters = 4, kRows = 15;
  std::vector<Child> children;
  for (int w = 0; w < kWriters; ++w) {
    children.push_back(
        Spawn({test::Tool().string(), "append", file.string(), "Dictionary", std::to_string(w % 2),
               "writer" + std::to_string(w) + "-", std::to_string(kRows)}));
  }
  for (auto& c : children) {
    std::string out = ReadAll(c.out);
    EXPECT_EQ(Wait(c.pid), 0) << out;
  }
  std::map<std::string, int> seen;
  Workbook book = Workbook::Open(file);
  Sheet* sheet = book.FindSheet("Dictionary");
  EXPECT_EQ(sheet->RowCount(), 1u + kWriters * kRows);
  for (std::size_t r = 1; r < sheet->RowCount(); ++r) {
    // Each row holds one text, in its writer's column.
    std::string a(sheet->CellText(r, 0)), b(sheet->CellText(r, 1));
    EXPECT_TRUE(a.empty() != b.empty()) << r;
    ++seen[a + b];
  }
  for (int w = 0; w < kWriters; ++w) {
    for (int i = 0; i < kRows; ++i) {
      EXPECT_EQ((seen["writer" + std::to_string(w) + "-" + std::to_string(i)]), 1) << w << " " << i;
    }
  }
  EXPECT_EQ(test::XlrdDump(file)["sheets"][0]["nrows"], 1 + kWriters * kRows);
  if (test::HaveLibreOffice()) {
    auto csv = test::LibreOfficeCsv({file}, dir.path());
    EXPECT_EQ(test::ParseCsv(csv[file.string()]["Dictionary"]).size(), 1u + kWriters * kRows);
  }
}

TEST(Processes, AWriterKilledMidSaveLeavesTheOldOrTheNewWorkbook) {
  TempDir dir;
  auto file = dir / "Veltrano.xls";
  Workbook::CreateDictionary(file, "Dictionary", {"Language_1"});
  {
    // Some bulk, so that a save takes long enough to be interrupted.
    Workbook book = Workbook::Open(file);
    for (int i = 0; i < 20000; ++i)
      book.FindSheet("Dictionary")->AppendRow(0, "bulk " + std::to_string(i));
    book.Save();
  }
  std::mt19937 random(12345);
  std::size_t expected_rows = 20000;
  for (int round = 0; round < 10; ++round) {
    std::string prefix = "round" + std::to_string(round) + "-";
    Child c = Spawn({test::Tool().string(), "churn", file.string(), "Dictionary", "0", prefix});
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + random() % 400));
    ::kill(c.pid, SIGKILL);
    std::string out = ReadAll(c.out);
    Wait(c.pid);
    long printed = -1;  // the last save the writer finished and reported
    for (std::size_t at = 0; at < out.size();) {
      std::size_t end = out.find('\n', at);
      if (end == std::string::npos) break;
      printed = std::stol(out.substr(at, end - at));
      at = end + 1;
    }
    std::vector<std::string> texts;
    ASSERT_NO_THROW(texts = ColumnTexts(file, 0)) << "round " << round;
    ASSERT_GE(texts.size(), expected_rows);
    // Every earlier row as it was; then this round's rows 0..n without a gap.
    std::size_t n = texts.size() - expected_rows;
    for (std::size_t i = 0; i < n; ++i) {
      EXPECT_EQ(texts[expected_rows + i], prefix + std::to_string(i)) << "round " << round;
    }
    EXPECT_GE(static_cast<long>(n), printed + 1) << "a reported save was lost";
    EXPECT_LE(static_cast<long>(n), printed + 2) << "rows from nowhere";
    expected_rows = texts.size();
  }
  // The next save clears what the killed writers left behind.
  {
    Workbook book = Workbook::Open(file);
    book.FindSheet("Dictionary")->AppendRow(0, "after");
    book.Save();
  }
  std::vector<std::string> leftovers;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
    if (e.path().filename() != "Veltrano.xls") leftovers.push_back(e.path().filename().string());
  }
  EXPECT_TRUE(leftovers.empty()) << leftovers.front();
  if (test::HaveLibreOffice()) {
    auto csv = test::LibreOfficeCsv({file}, dir.path());
    EXPECT_EQ(test::ParseCsv(csv[file.string()]["Dictionary"]).size(), expected_rows + 2);
  }
}

}  // namespace
}  // namespace vt::workbook
