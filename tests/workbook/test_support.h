#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/support/shell.h"
#include "tests/support/temp_dir.h"

namespace vt::workbook::test {

using vt::testing::BinaryDir;
using vt::testing::SourceDir;
using vt::testing::TempDir;

// A workbook LibreOffice made at build time from tests/workbook/fixtures/NAME.fods;
// empty when LibreOffice was not there.
std::filesystem::path Fixture(const std::string& name);
std::filesystem::path Tool();

bool HaveLibreOffice();
// python3-xlrd is part of the Linux set-up; the Windows build has no Python.
bool HaveXlrd();
// Converts every file to one CSV per sheet (UTF-8, values as displayed) in one
// LibreOffice run; returns, per file, sheet name -> CSV text.
std::map<std::string, std::map<std::string, std::string>> LibreOfficeCsv(
    const std::vector<std::filesystem::path>& files, const std::filesystem::path& work);

// What the independent reader (python3-xlrd) sees: see xls_dump.py.
nlohmann::json XlrdDump(const std::filesystem::path& file);

// RFC 4180 rows (quoted fields may hold commas, quotes and line breaks).
std::vector<std::vector<std::string>> ParseCsv(const std::string& text);

// The file's identity (its inode, or its file index on Windows); 0, and a
// test failure, when the file cannot be examined.
std::uint64_t FileIdOf(const std::filesystem::path& file);

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& data);

}  // namespace vt::workbook::test
