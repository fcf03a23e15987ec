// Every test program finds the source and build trees through the
// environment, whether ctest or a developer starts it.
#include <cstdlib>

namespace {

const bool kTestEnvironment = [] {
  setenv("VELTRANO_SOURCE_DIR", VELTRANO_TEST_SOURCE_DIR, 0);
  setenv("VELTRANO_BINARY_DIR", VELTRANO_TEST_BINARY_DIR, 0);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  return true;
}();

}  // namespace
