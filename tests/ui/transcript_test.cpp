#include "platform/ui/transcript.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/ui/test_support.h"

namespace vt::ui {
namespace {

TEST(UiTranscriptLine, FieldsInOrderWithTheirSpacing) {
  EXPECT_EQ(TranscriptLine(" Veltrano - WARNING", 48, "x", Answer::Ok),
            "{\"title\": \" Veltrano - WARNING\", \"style\": 48, \"text\": \"x\", \"answer\": "
            "\"ok\"}\n");
  EXPECT_EQ(TranscriptLine("", 65, "", Answer::Cancel),
            "{\"title\": \"\", \"style\": 65, \"text\": \"\", \"answer\": \"cancel\"}\n");
}

TEST(UiTranscriptLine, TextKeptExactlyThroughJson) {
  const std::string text = "A \"quoted\" back\\slash\r\nTab\there\r\n\r\nÉté ☃ \x01";
  const std::string line = TranscriptLine("T", 36, text, Answer::Yes);
  EXPECT_NE(line.find("\\r\\n"), std::string::npos);
  EXPECT_NE(line.find("Été ☃"), std::string::npos);  // not \u-escaped
  ASSERT_EQ(line.back(), '\n');
  EXPECT_EQ(line.find('\n'), line.size() - 1);  // one line, whatever the text holds
  const auto parsed = nlohmann::json::parse(line);
  EXPECT_EQ(parsed.at("text").get<std::string>(), text);
  EXPECT_EQ(parsed.at("answer"), "yes");
  EXPECT_EQ(parsed.at("style"), 36);
}

TEST(UiTranscriptLine, WindowAndLaunchLines) {
  EXPECT_EQ(WindowTranscriptLine("frmSplash", ""),
            "{\"form\": \"frmSplash\", \"caption\": \"\"}\n");
  EXPECT_EQ(LaunchTranscriptLine("editor", "/p/\"q\"/Veltrano.ini", 3),
            "{\"launch\": \"editor\", \"path\": \"/p/\\\"q\\\"/Veltrano.ini\", \"show\": 3}\n");
}

TEST(UiTranscriptLine, BrokenUtf8IsReplacedNotFatal) {
  const std::string line = TranscriptLine("T", 64,
                                          "a\xff"
                                          "b",
                                          Answer::Ok);
  EXPECT_EQ(nlohmann::json::parse(line).at("text"),
            "a\xEF\xBF\xBD"
            "b");
}

TEST(UiAppendTranscriptLine, CreatesThenAppends) {
  test::TempDir dir;
  const auto path = (dir.path() / "t.jsonl").string();
  EXPECT_EQ(AppendTranscriptLine(path, "one\n"), "");
  EXPECT_EQ(AppendTranscriptLine(path, "two\n"), "");
  EXPECT_EQ(test::ReadFile(path), "one\ntwo\n");
}

TEST(UiAppendTranscriptLine, FailureNamesTheFile) {
  test::TempDir dir;
  const auto path = (dir.path() / "missing" / "t.jsonl").string();
  EXPECT_EQ(AppendTranscriptLine(path, "x\n"),
            "cannot open transcript \"" + path + "\": No such file or directory");
}

TEST(UiAppendTranscriptLine, ProcessesSharingOneFileNeverInterleave) {
  test::TempDir dir;
  const auto path = (dir.path() / "shared.jsonl").string();
  constexpr int kProcesses = 4;
  constexpr int kLines = 300;
  // Long lines make a torn write likely if lines were written piecewise.
  const std::string filler(3000, 'x');
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      for (int i = 0; i < kLines; ++i) {
        const std::string text = std::to_string(p) + ":" + std::to_string(i) + filler;
        if (!AppendTranscriptLine(path, TranscriptLine("T", 48, text, Answer::Ok)).empty()) {
          ::_exit(1);
        }
      }
      ::_exit(0);
    }
  }
  for (int p = 0; p < kProcesses; ++p) {
    int status = 0;
    ::wait(&status);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  std::map<int, int> next;
  const auto lines = test::ReadLines(path);
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kProcesses * kLines));
  for (const auto& line : lines) {
    const std::string text = nlohmann::json::parse(line).at("text");
    const int p = std::stoi(text.substr(0, text.find(':')));
    const int i = std::stoi(text.substr(text.find(':') + 1));
    EXPECT_EQ(i, next[p]++) << "lines of one process out of order";
  }
}

}  // namespace
}  // namespace vt::ui
