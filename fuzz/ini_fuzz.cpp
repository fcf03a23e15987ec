// libFuzzer target for the private-profile (INI) reader and writer. The
// input's first three lines name a section, a key and a value; the rest is
// the file, served from memory. Every read keeps to its buffer and never
// splits a character; the line locators agree with the reader; a write that
// succeeds reads back as written and leaves the other keys as they were.

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/base/utf8.h"
#include "platform/system/env.h"
#include "platform/system/private_profile.h"

namespace {

using namespace vt::system;
using vt::base::FindInvalidUtf8;

constexpr const char* kPath = "/fuzz/Veltrano.ini";

class MemoryEnv : public EnvWrapper {
 public:
  MemoryEnv() : EnvWrapper(Env::Default()) {}
  bool FileExists(const std::string& path) override { return path == kPath; }
  std::string ReadFile(const std::string& path) override {
    if (path != kPath) throw SystemError(ENOENT, "cannot read " + path);
    return file;
  }
  void WriteFileAtomic(const std::string& path, std::string_view contents) override {
    if (path != kPath) throw SystemError(EACCES, "cannot write " + path);
    file.assign(contents);
  }
  std::string file;
};

std::string_view TakeLine(std::string_view& input) {
  const std::size_t end = input.find('\n');
  const std::string_view line = input.substr(0, end);
  input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  return line;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// What reading gives back for a written value: trimmed, one pair of quotes off.
std::string Expected(std::string_view value) {
  while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
  while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

// Names as the reader matches them: trimmed, ASCII letters without case.
bool SameName(std::string_view a, std::string_view b) {
  auto trim = [](std::string_view t) {
    while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
    while (!t.empty() && IsBlank(t.back())) t.remove_suffix(1);
    return t;
  };
  a = trim(a);
  b = trim(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

std::string Read(std::string_view section, std::string_view key, std::size_t size,
                 std::string_view default_value = "\x01") {
  return GetPrivateProfileString(section, key, default_value, size, kPath);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string section(TakeLine(input));
  const std::string key(TakeLine(input));
  const std::string value(TakeLine(input));
  MemoryEnv env;
  env.file.assign(input);
  ScopedEnvOverride scope(&env);

  const bool well_formed = !FindInvalidUtf8(env.file);
  for (const std::size_t buffer :
       {std::size_t{0}, std::size_t{1}, std::size_t{7}, std::size_t{100}, std::size_t{397}}) {
    const std::string seen = Read(section, key, buffer);
    if (buffer > 0 && seen.size() > buffer - 1) std::abort();
    if (well_formed && FindInvalidUtf8(seen)) std::abort();
  }
  const std::size_t line = PrivateProfileLine(section, key, kPath);
  // Two defaults tell a missing key from a value that equals one of them.
  const bool missing =
      Read(section, key, 100000) == "\x01" && Read(section, key, 100000, "\x02") == "\x02";
  if ((line == 0) != missing) std::abort();
  const ProfileLineProblem problem = FirstUnreadProfileLine(kPath);
  if ((problem.line == 0) != problem.reason.empty()) std::abort();

  constexpr std::string_view kOtherSection = "PARAMETERS";
  constexpr std::string_view kOtherKey = "DevelopmentLanguageNumber";
  const std::string other = Read(kOtherSection, kOtherKey, 100000);
  const std::string before = env.file;
  if (!WritePrivateProfileString(section, key, value, kPath)) {
    if (env.file != before) std::abort();  // a refused write changes nothing
    return 0;
  }
  if (Read(section, key, 100000) != Expected(value)) std::abort();
  if (PrivateProfileLine(section, key, kPath) == 0) std::abort();
  // Every other key keeps its value.
  if (!SameName(section, kOtherSection) || !SameName(key, kOtherKey)) {
    if (Read(kOtherSection, kOtherKey, 100000) != other) std::abort();
  }
  return 0;
}
