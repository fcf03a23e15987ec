#include "tests/ui/test_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <fstream>
#include <random>
#include <sstream>

namespace vt::ui::test {

TempDir::TempDir() {
  std::random_device rd;
  path_ = std::filesystem::temp_directory_path() /
          ("vtui-test-" + std::to_string(::getpid()) + "-" + std::to_string(rd()));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

Options BatchOptions(std::vector<Answer> answers, std::string transcript_path) {
  Options options;
  options.batch = true;
  options.answers = std::move(answers);
  options.transcript_path = std::move(transcript_path);
  options.program_name = "FIX.exe";
  return options;
}

Options ModeOptions(Mode mode, bool batch) {
  Options options;
  options.mode = mode;
  options.batch = batch;
  return options;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

Answer RecordingBackend::ShowMessage(const MessageRequest& request) {
  shown.push_back({std::string(request.text), std::string(request.title), request.style});
  return answer_;
}

namespace {

// One QApplication for the whole test program, on the offscreen platform
// that veltrano_test sets.
class QtEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "vtui_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] const auto* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

}  // namespace vt::ui::test
