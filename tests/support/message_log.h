#pragma once

// What the system showed in message boxes: recorded in-process by a ui back
// end, or read back from a batch transcript.

#include <cstddef>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

#include "platform/ui/backend.h"

namespace vt::testing {

// One message box as the system asked for it.
struct Message {
  std::string text;
  std::string title;
  int style = 0;
  bool operator==(const Message&) const = default;
};
void PrintTo(const Message& message, std::ostream* os);

// Records every box; answers with `answers` in order, then with `otherwise`.
class RecordingBackend : public ui::Backend {
 public:
  explicit RecordingBackend(ui::Answer otherwise = ui::Answer::Ok) : otherwise_(otherwise) {}

  std::string_view Name() const override { return "recording"; }
  ui::Answer ShowMessage(const ui::MessageRequest& request) override;
  void Beep() override { ++beeps; }
  void DoEvents() override { ++events_pumped; }
  void RestoreDefaultMousePointer() override { ++pointer_restored; }
  bool ShowsQtWindows() const override { return qt_windows; }
  bool Attended() const override { return attended; }

  // The boxes shown since the last call, then forgotten.
  std::vector<Message> Take();

  std::vector<Message> shown;
  std::vector<ui::Answer> answers;
  std::size_t next = 0;
  int beeps = 0;
  int events_pumped = 0;
  int pointer_restored = 0;
  // The system's windows as Qt widgets (else their batch views); programs
  // started for real (else only recorded).
  bool qt_windows = false;
  bool attended = false;

 private:
  ui::Answer otherwise_;
};

// Every line of a transcript, each one JSON object (anything else throws);
// none when there is no file yet.
std::vector<nlohmann::json> ReadTranscript(const std::filesystem::path& file);

// Reads a growing transcript piece by piece.
class TranscriptReader {
 public:
  explicit TranscriptReader(std::filesystem::path file) : file_(std::move(file)) {}
  const std::filesystem::path& file() const { return file_; }

  // The boxes written since the last call (window and launch lines skipped).
  std::vector<Message> Take();

 private:
  std::filesystem::path file_;
  std::size_t lines_taken_ = 0;
};

}  // namespace vt::testing
