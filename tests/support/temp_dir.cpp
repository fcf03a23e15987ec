#include "tests/support/temp_dir.h"

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/system/utf8_path.h"

namespace vt::testing {

namespace fs = std::filesystem;

TempDir::TempDir(const std::string& prefix) {
  // A fresh name each time, made by create_directory alone (it fails on a
  // name that exists), as mkdtemp does, on every platform.
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device seed;
  std::mt19937 random(seed());
  std::error_code error;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = prefix + "-";
    for (int i = 0; i < 6; ++i) name += kLetters[random() % 36];
    const fs::path candidate = fs::temp_directory_path() / name;
    if (fs::create_directory(candidate, error)) {
      fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, error);
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot make a temporary folder in " +
                           system::Utf8FromPath(fs::temp_directory_path()) + ": " +
                           error.message());
}

TempDir::~TempDir() {
  // Tests take permissions away from folders; give them back or nothing
  // below could be removed.
  std::error_code ignored;
  for (const auto& entry : fs::recursive_directory_iterator(path_, ignored)) {
    if (entry.is_directory(ignored) && !entry.is_symlink(ignored)) {
      fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
  }
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteFile(const fs::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + system::Utf8FromPath(file));
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::string> ReadLines(const fs::path& file) { return SplitLines(ReadFile(file)); }

}  // namespace vt::testing
