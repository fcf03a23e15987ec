// Every test program finds the source and build trees through the
// environment, whether ctest or a developer starts it.
#include <cstdlib>
#include <string>

namespace {

void SetIfUnset(const char* name, const char* value) {
  if (std::getenv(name) != nullptr) return;  // unicode-ok: only whether it is set
#ifdef _WIN32
  _putenv_s(name, value);
#else
  setenv(name, value, 0);
#endif
}

const bool kTestEnvironment = [] {
  SetIfUnset("VELTRANO_SOURCE_DIR", VELTRANO_TEST_SOURCE_DIR);
  SetIfUnset("VELTRANO_BINARY_DIR", VELTRANO_TEST_BINARY_DIR);
  SetIfUnset("QT_QPA_PLATFORM", "offscreen");
  return true;
}();

}  // namespace
