#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/batch_backend.h"
#include "platform/ui/configure.h"
#include "platform/ui/msgbox.h"
#include "tests/ui/test_support.h"

namespace vt::ui {
namespace {

MessageRequest Request(int style, std::string_view title = " Veltrano - WARNING") {
  return MessageRequest{"text", title, style, DecodeStyle(style)};
}

class UiBatchBackendTest : public ::testing::Test {
 protected:
  BatchBackend Make(std::vector<Answer> answers) {
    return BatchBackend(std::move(answers),
                        [this](const std::string& line) { notices.push_back(line); });
  }
  std::vector<std::string> notices;
};

TEST_F(UiBatchBackendTest, AnswersInOrder) {
  auto batch = Make({Answer::Yes, Answer::Cancel, Answer::Ok, Answer::No});
  EXPECT_EQ(batch.ShowMessage(Request(36)), Answer::Yes);
  EXPECT_EQ(batch.ShowMessage(Request(65)), Answer::Cancel);
  EXPECT_EQ(batch.ShowMessage(Request(48)), Answer::Ok);
  EXPECT_EQ(batch.ShowMessage(Request(36)), Answer::No);
  EXPECT_EQ(batch.remaining(), 0u);
  EXPECT_TRUE(notices.empty());
}

TEST_F(UiBatchBackendTest, UsedUpListTakesSafeAnswerPerStyleAndSaysSo) {
  auto batch = Make({});
  const std::vector<std::pair<int, Answer>> cases{
      {16, Answer::Ok}, {36, Answer::No}, {48, Answer::Ok}, {64, Answer::Ok}, {65, Answer::Cancel}};
  for (const auto& [style, safe] : cases) {
    SCOPED_TRACE(style);
    EXPECT_EQ(batch.ShowMessage(Request(style)), safe);
  }
  EXPECT_EQ(notices, (std::vector<std::string>{
                         "no answer left for message box \" Veltrano - WARNING\"; taking OK",
                         "no answer left for message box \" Veltrano - WARNING\"; taking No",
                         "no answer left for message box \" Veltrano - WARNING\"; taking OK",
                         "no answer left for message box \" Veltrano - WARNING\"; taking OK",
                         "no answer left for message box \" Veltrano - WARNING\"; taking Cancel",
                     }));
}

TEST_F(UiBatchBackendTest, AnswerThatDoesNotFitTakesSafeAnswerAndKeepsLaterPlaces) {
  auto batch = Make({Answer::Yes, Answer::Ok, Answer::Cancel});
  EXPECT_EQ(batch.ShowMessage(Request(48)), Answer::Ok);  // "yes" on an OK box
  EXPECT_EQ(batch.ShowMessage(Request(36, " Veltrano - Confirmation request")), Answer::No);
  EXPECT_EQ(batch.ShowMessage(Request(65)), Answer::Cancel);  // third answer, third box
  EXPECT_EQ(notices, (std::vector<std::string>{
                         "answer \"yes\" does not fit message box \" Veltrano - WARNING\" (OK); "
                         "taking OK",
                         "answer \"ok\" does not fit message box \" Veltrano - Confirmation "
                         "request\" (Yes/No); taking No",
                     }));
}

// Through the process's own back end, as FIX.exe --batch sets it up.
class UiConfiguredBatch : public ::testing::Test {
 protected:
  void TearDown() override { Configure(test::BatchOptions()); }
  test::TempDir dir;
};

TEST_F(UiConfiguredBatch, MsgBoxReturnsValuesAndPrintsTheSafeAnswerLine) {
  Configure(test::BatchOptions(ParseAnswers("yes,cancel")));
  EXPECT_EQ(CurrentBackend().Name(), "batch");
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(MsgBox("Overwrite?", 36, " Veltrano - Confirmation request"), kYes);
  EXPECT_EQ(MsgBox("Go on?", 65, " Veltrano - Information"), kCancel);
  EXPECT_EQ(MsgBox("Failed", 48, " Veltrano - WARNING"), kOk);
  EXPECT_EQ(MsgBox("Sure?", 36, " Veltrano - Confirmation request"), kNo);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "FIX.exe: no answer left for message box \" Veltrano - WARNING\"; taking OK\n"
            "FIX.exe: no answer left for message box \" Veltrano - Confirmation request\"; "
            "taking No\n");
}

TEST_F(UiConfiguredBatch, EveryBoxGoesToTheTranscriptExactly) {
  const auto transcript = dir.path() / "transcript.jsonl";
  Configure(test::BatchOptions({Answer::Ok}, transcript.string()));
  ::testing::internal::CaptureStderr();
  MsgBox("The file \"/p/Veltrano/Veltrano.xls\" does not exist:\r\nVeltrano cannot start.", 16,
         " Veltrano - WARNING");
  MsgBox("Übersetzung fehlt – 翻訳", 36, " Veltrano - Confirmation request");
  ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(test::ReadFile(transcript),
            "{\"title\": \" Veltrano - WARNING\", \"style\": 16, \"text\": \"The file "
            "\\\"/p/Veltrano/Veltrano.xls\\\" does not exist:\\r\\nVeltrano cannot start.\", "
            "\"answer\": \"ok\"}\n"
            "{\"title\": \" Veltrano - Confirmation request\", \"style\": 36, \"text\": "
            "\"Übersetzung fehlt – 翻訳\", \"answer\": \"no\"}\n");
}

TEST_F(UiConfiguredBatch, TranscriptThatCannotBeWrittenIsToldAndTheBoxStillAnswers) {
  const auto missing = dir.path() / "no-such-folder" / "t.jsonl";
  Configure(test::BatchOptions({Answer::Yes}, missing.string()));
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(MsgBox("Sure?", 36, "t"), kYes);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(err.rfind("FIX.exe: cannot open transcript \"" + missing.string() + "\": ", 0), 0u)
      << err;
}

TEST(UiScopedBackend, SubstitutesAndRestores) {
  Configure(test::BatchOptions());
  test::RecordingBackend outer(Answer::Yes);
  {
    ScopedBackend scope_outer(outer);
    test::RecordingBackend inner(Answer::Cancel);
    {
      ScopedBackend scope_inner(inner);
      EXPECT_EQ(MsgBox("a\r\nb", 65, "T"), kCancel);
      Beep();
      DoEvents();
    }
    EXPECT_EQ(MsgBox("q", 36, "T"), kYes);
    ASSERT_EQ(inner.shown.size(), 1u);
    EXPECT_EQ(inner.shown[0].text, "a\r\nb");
    EXPECT_EQ(inner.shown[0].style, 65);
    EXPECT_EQ(inner.beeps, 1);
    EXPECT_EQ(inner.events_pumped, 1);
  }
  EXPECT_EQ(outer.shown.size(), 1u);
  EXPECT_EQ(CurrentBackend().Name(), "batch");
}

TEST(UiMsgBox, AnswerOutsideTheBoxButtonsBecomesTheSafeOne) {
  Configure(test::BatchOptions());
  test::RecordingBackend wrong(Answer::Retry);
  ScopedBackend scope(wrong);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(MsgBox("q", 36, "T"), kNo);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "FIX.exe: the answer to message box \"T\" is not one of its buttons; taking No\n");
}

class ThrowingBackend final : public Backend {
 public:
  std::string_view Name() const override { return "throwing"; }
  Answer ShowMessage(const MessageRequest&) override { throw std::runtime_error("boom"); }
  void Beep() override { throw std::runtime_error("no speaker"); }
};

TEST(UiMsgBox, FailingBackendNeverThrowsAndTakesTheSafeAnswer) {
  Configure(test::BatchOptions());
  ThrowingBackend throwing;
  ScopedBackend scope(throwing);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(MsgBox("q", 65, "T"), kCancel);
  Beep();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "FIX.exe: message box \"T\" could not be shown (boom); taking Cancel\n"
            "FIX.exe: beep failed: no speaker\n");
}

}  // namespace
}  // namespace vt::ui
