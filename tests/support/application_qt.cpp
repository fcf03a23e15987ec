// Linked into the test programs that drive Qt widgets: one QApplication for
// the whole program, on the offscreen platform that the test environment sets.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace vt::testing {
namespace {

class QtEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "veltrano_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
    // Windows under test close and open again; that must not end the loop.
    QApplication::setQuitOnLastWindowClosed(false);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] const auto* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
}  // namespace vt::testing
