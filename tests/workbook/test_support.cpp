#include "tests/workbook/test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <stdexcept>

#include "platform/system/env.h"
#include "platform/system/utf8_path.h"

namespace vt::workbook::test {

using vt::testing::RunShell;
using vt::testing::ShellQuote;

std::filesystem::path Fixture(const std::string& name) {
  std::filesystem::path file = BinaryDir() / "tests" / "workbook" / "fixtures" / name;
  return std::filesystem::exists(file) ? file : std::filesystem::path();
}

std::filesystem::path Tool() { return BinaryDir() / "bin" / "workbook_tool"; }

bool HaveLibreOffice() { return HaveXlrd() && RunShell("command -v soffice >/dev/null 2>&1") == 0; }

bool HaveXlrd() { return VT_HAVE_XLRD; }

std::uint64_t FileIdOf(const std::filesystem::path& file) {
  const auto stamp = system::Env::Default()->StatFile(system::Utf8FromPath(file));
  EXPECT_TRUE(stamp.has_value()) << system::Utf8FromPath(file);
  return stamp ? stamp->file_id : 0;
}

std::map<std::string, std::map<std::string, std::string>> LibreOfficeCsv(
    const std::vector<std::filesystem::path>& files, const std::filesystem::path& work) {
  std::filesystem::path out = work / "csv";
  std::filesystem::create_directories(out);
  std::string command = "soffice -env:UserInstallation=file://" + (work / "profile").string() +
                        " --headless --convert-to " +
                        ShellQuote(
                            "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,"
                            "false,false,-1") +
                        " --outdir " + ShellQuote(out.string());
  for (const auto& f : files) command += " " + ShellQuote(f.string());
  command += " >/dev/null 2>&1";
  RunShell(command);
  std::map<std::string, std::map<std::string, std::string>> result;
  for (const auto& f : files) {
    std::string stem = f.stem().string() + "-";
    for (const auto& entry : std::filesystem::directory_iterator(out)) {
      std::string name = entry.path().stem().string();
      if (name.rfind(stem, 0) != 0) continue;
      result[f.string()][name.substr(stem.size())] = vt::testing::ReadFile(entry.path());
    }
  }
  return result;
}

nlohmann::json XlrdDump(const std::filesystem::path& file) {
  std::string out;
  int status = RunShell("/usr/bin/python3 " +
                            ShellQuote((SourceDir() / "tests/workbook/xls_dump.py").string()) +
                            " " + ShellQuote(file.string()) + " 2>&1",
                        &out);
  if (status != 0) throw std::runtime_error("xlrd could not read " + file.string() + ": " + out);
  return nlohmann::json::parse(out);
}

std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::vector<std::string> row;
  std::string field;
  bool quoted = false, any = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    any = true;
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      row.push_back(std::move(field));
      field.clear();
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      row.push_back(std::move(field));
      field.clear();
      rows.push_back(std::move(row));
      row.clear();
      any = false;
    } else {
      field += c;
    }
  }
  if (any) {
    row.push_back(std::move(field));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& data) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

}  // namespace vt::workbook::test
