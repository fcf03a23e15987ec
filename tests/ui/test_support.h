#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/ui/backend.h"
#include "platform/ui/configure.h"

namespace vt::ui::test {

// A fresh folder for one test, removed with everything in it afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// --batch as FIX.exe gives it, its notices starting with "FIX.exe".
Options BatchOptions(std::vector<Answer> answers = {}, std::string transcript_path = {});
Options ModeOptions(Mode mode, bool batch = false);

std::string ReadFile(const std::filesystem::path& path);
std::vector<std::string> ReadLines(const std::filesystem::path& path);

// Answers with a fixed answer and remembers what it was shown.
class RecordingBackend final : public Backend {
 public:
  explicit RecordingBackend(Answer answer) : answer_(answer) {}
  std::string_view Name() const override { return "recording"; }
  Answer ShowMessage(const MessageRequest& request) override;
  void Beep() override { ++beeps; }
  void DoEvents() override { ++pumps; }

  struct Shown {
    std::string text;
    std::string title;
    int style;
  };
  std::vector<Shown> shown;
  int beeps = 0;
  int pumps = 0;

 private:
  Answer answer_;
};

}  // namespace vt::ui::test
