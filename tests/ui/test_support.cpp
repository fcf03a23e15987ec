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

}  // namespace vt::ui::test
