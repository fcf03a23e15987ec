#include "tests/ui/test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace vt::ui::test {

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
