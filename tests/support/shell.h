#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace vt::testing {

// Runs `command` through /bin/sh (cmd.exe on Windows); returns its exit status (-1 when it did
// not exit normally); `out` gets its standard output.
int RunShell(const std::string& command, std::string* out = nullptr);
// `text` as one shell word, whatever it holds.
std::string ShellQuote(std::string_view text);

// The source and build trees (VELTRANO_SOURCE_DIR / VELTRANO_BINARY_DIR,
// which every test program sets at start-up).
std::filesystem::path SourceDir();
std::filesystem::path BinaryDir();

// The platform's object runtime joined for the life of what it returns: a
// single-threaded COM apartment on Windows, nothing on Linux.
std::shared_ptr<void> JoinObjectRuntime();

// The process's environment, as getenv sees it.
void SetEnv(const std::string& name, const std::string& value);
void UnsetEnv(const std::string& name);

// Sets an environment variable for the life of this object, then puts back
// what was there (or nothing).
class ScopedEnvVar {
 public:
  ScopedEnvVar(std::string name, const std::string& value);
  ~ScopedEnvVar();
  ScopedEnvVar(const ScopedEnvVar&) = delete;
  ScopedEnvVar& operator=(const ScopedEnvVar&) = delete;

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

}  // namespace vt::testing
