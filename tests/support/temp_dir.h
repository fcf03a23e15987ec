#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vt::testing {

// A fresh folder under the temporary folder (TMPDIR honoured), removed with
// everything in it when the object goes, folders a test locked included.
class TempDir {
 public:
  explicit TempDir(const std::string& prefix = "vt-test");
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// The bytes of a file; empty when it cannot be read (a log not written yet).
std::string ReadFile(const std::filesystem::path& file);
// Replaces the file with `bytes`; throws, naming the file, when it cannot.
void WriteFile(const std::filesystem::path& file, std::string_view bytes);

// Lines split at LF, a CR before it dropped; no empty last line for a final
// line end.
std::vector<std::string> SplitLines(const std::string& text);
std::vector<std::string> ReadLines(const std::filesystem::path& file);

}  // namespace vt::testing
