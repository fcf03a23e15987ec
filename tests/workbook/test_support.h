#pragma once

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace vt::workbook::test {

// A fresh folder under /tmp, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

std::filesystem::path SourceDir();
std::filesystem::path BinaryDir();
// A workbook LibreOffice made at build time from tests/workbook/fixtures/NAME.fods;
// empty when LibreOffice was not there.
std::filesystem::path Fixture(const std::string& name);
std::filesystem::path Tool();

// Runs a command through the shell; returns its exit status and fills `out`.
int Run(const std::string& command, std::string* out = nullptr);
std::string Quote(const std::string& text);

bool HaveLibreOffice();
// Converts every file to one CSV per sheet (UTF-8, values as displayed) in one
// LibreOffice run; returns, per file, sheet name -> CSV text.
std::map<std::string, std::map<std::string, std::string>> LibreOfficeCsv(
    const std::vector<std::filesystem::path>& files, const std::filesystem::path& work);

// What the independent reader (python3-xlrd) sees: see xls_dump.py.
nlohmann::json XlrdDump(const std::filesystem::path& file);

// RFC 4180 rows (quoted fields may hold commas, quotes and line breaks).
std::vector<std::vector<std::string>> ParseCsv(const std::string& text);

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& data);

}  // namespace vt::workbook::test
