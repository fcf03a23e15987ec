#include "tests/dictionary/dictionary_fixture.h"

#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>
#include <stdexcept>

#include "library/interpreter/language_marker.h"
#include "library/interpreter/module_state.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "platform/workbook/workbook.h"

namespace vt::dictionary::testing {

namespace fs = std::filesystem;
using automation::Variant;

ui::Answer RecordingBackend::ShowMessage(const ui::MessageRequest& request) {
  shown.push_back({std::string(request.text), std::string(request.title), request.style});
  return ui::Answer::Ok;
}

namespace {

class FakeSystem : public automation::DispatchObject {
 public:
  explicit FakeSystem(std::string fix_path) {
    AddMethod("FixPath", [fix_path](std::span<Variant> args) {
      if (args.size() != 1 || args[0].ToInteger() != 1) {
        throw automation::errors::InvalidCall("FixPath wants the area number 1");
      }
      return Variant(fix_path);
    });
  }
  std::string TypeName() const override { return "System"; }
};

}  // namespace

FakeWorkspace::FakeWorkspace(std::string fix_path) {
  auto system = std::make_shared<FakeSystem>(std::move(fix_path));
  AddProperty("System", [system](std::span<Variant>) { return Variant(system); });
}

TestPicture::TestPicture(Variant marker) : comments(std::move(marker)) {
  AddProperty(
      "Comments", [this](std::span<Variant>) { return comments; },
      [this](std::span<Variant>, const Variant& value) { comments = value; });
}

TestForm::TestForm(Variant marker) : tag(std::move(marker)) {
  AddProperty(
      "Tag", [this](std::span<Variant>) { return tag; },
      [this](std::span<Variant>, const Variant& value) { tag = value; });
}

bool TestForm::QueryInterface(const automation::Guid& iid) const {
  return iid == automation::Guid::FromString(interpreter::kUserFormIid);
}

void WriteWorkbook(const fs::path& file, const std::vector<std::string>& headers, const Rows& rows,
                   const std::string& sheet_name) {
  workbook::Workbook::CreateDictionary(file, sheet_name, headers);
  if (rows.empty()) return;
  workbook::Workbook book = workbook::Workbook::Open(file);
  workbook::Sheet& sheet = *book.FindSheet(sheet_name);
  for (const auto& cells : rows) {
    std::size_t row = 0;
    for (std::size_t column = 0; column < cells.size(); ++column) {
      if (cells[column].empty()) continue;
      if (row == 0) {
        row = sheet.AppendRow(column, cells[column]);
      } else {
        sheet.SetCellText(row, column, cells[column]);
      }
    }
    // A row of empty cells still takes its place.
    if (row == 0) throw std::invalid_argument("WriteWorkbook: a row needs one filled cell");
  }
  book.Save();
}

XlrdCell Text(std::string text) { return {"text", std::move(text), 0}; }
XlrdCell Empty() { return {"empty", "", 0}; }
XlrdCell Number(double value) { return {"number", "", value}; }

void PrintTo(const XlrdCell& cell, std::ostream* os) {
  *os << cell.kind << ":";
  if (cell.kind == "number") {
    *os << cell.number;
  } else {
    *os << '"' << cell.text << '"';
  }
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

int RunCommand(const std::string& command, std::string* out) {
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("cannot run: " + command);
  std::string text;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
  const int status = pclose(pipe);
  if (out != nullptr) *out = std::move(text);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::vector<XlrdCell>> ReadWithXlrd(const fs::path& file) {
  const char* source = getenv("VELTRANO_SOURCE_DIR");
  const fs::path script =
      fs::path(source != nullptr ? source : VT_SOURCE_DIR) / "tests/dictionary/xls_cells.py";
  std::string out;
  const int status = RunCommand(
      "/usr/bin/python3 " + ShellQuote(script.string()) + " " + ShellQuote(file.string()), &out);
  if (status != 0) throw std::runtime_error("xlrd cannot read " + file.string() + ": " + out);
  const nlohmann::json dump = nlohmann::json::parse(out);
  std::vector<std::vector<XlrdCell>> rows;
  for (const auto& row : dump.at("rows")) {
    std::vector<XlrdCell>& cells = rows.emplace_back();
    for (const auto& cell : row) {
      const std::string kind = cell.at(0).get<std::string>();
      if (kind == "text") {
        cells.push_back(Text(cell.at(1).get<std::string>()));
      } else if (kind == "number") {
        cells.push_back(Number(cell.at(1).get<double>()));
      } else {
        cells.push_back({kind, "", 0});
      }
    }
  }
  return rows;
}

std::vector<XlrdCell> XlrdRow(const fs::path& file, std::size_t row, std::size_t columns) {
  const auto rows = ReadWithXlrd(file);
  std::vector<XlrdCell> cells = row < rows.size() ? rows[row] : std::vector<XlrdCell>{};
  cells.resize(columns, Empty());
  return cells;
}

std::string ReadFileText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFileText(const fs::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

const char* const kReadyIni =
    "[PARAMETERS]\r\n"
    "InterpreterEnabled=Y\r\n"
    "ShowInfoPanelOnStartup=N\r\n"
    "ShowWarningsForMissingTranslations=Y\r\n"
    "TranslateInvisibleText=Y\r\n"
    "DevelopmentLanguageNumber=1\r\n"
    "StartingLanguageNumber=1\r\n"
    "GetObjectsPrefix=N\r\n"
    "ObjectsTargetPrefix=\r\n";

std::vector<std::string> ThreeLanguages() { return {"Language_1", "Language_2", "Language_3"}; }

void DictionaryTest::SetUp() {
  std::string pattern = (fs::temp_directory_path() / "vt-dictionary-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  dir_ = pattern;
  fs::create_directories(veltrano_dir());
  WriteFileText(veltrano_dir() / "Veltrano.ini", kReadyIni);
  interpreter::Module() = interpreter::ModuleState{};
  backend_scope_ = std::make_unique<ui::ScopedBackend>(backend_);
  env_scope_ = std::make_unique<system::ScopedEnvOverride>(&env_);
  automation::RegisterActiveObject("Workspace.Application",
                                   std::make_shared<FakeWorkspace>(pictures().string()));
}

void DictionaryTest::TearDown() {
  automation::RevokeActiveObject("Workspace.Application");
  interpreter::Module() = interpreter::ModuleState{};
  env_scope_.reset();
  backend_scope_.reset();
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

void DictionaryTest::WriteIni(const std::string& key, const std::string& value) {
  std::string ini = kReadyIni;
  const std::size_t at = ini.find("\n" + key + "=");
  ASSERT_NE(at, std::string::npos) << key;
  const std::size_t start = at + 1 + key.size() + 1;
  ini.replace(start, ini.find('\r', start) - start, value);
  WriteFileText(veltrano_dir() / "Veltrano.ini", ini);
}

void DictionaryTest::WriteDictionary(const Rows& rows, const std::vector<std::string>& headers) {
  WriteWorkbook(dictionary_path(), headers, rows);
}

void DictionaryTest::WriteAlarms(const Rows& rows, const std::vector<std::string>& headers) {
  WriteWorkbook(alarm_path(), headers, rows);
}

std::shared_ptr<interpreter::VeltranoModule> DictionaryTest::CreateReady() {
  auto object = std::make_shared<interpreter::VeltranoModule>();
  EXPECT_EQ(object->lifecycle(), interpreter::Lifecycle::Ready);
  for (const auto& m : backend_.shown) ADD_FAILURE() << "unexpected message: " << m.text;
  backend_.shown.clear();
  return object;
}

std::vector<ShownMessage> DictionaryTest::TakeMessages() {
  std::vector<ShownMessage> shown = std::move(backend_.shown);
  backend_.shown.clear();
  return shown;
}

std::vector<std::string> DictionaryTest::LogLines() const {
  std::vector<std::string> lines;
  std::istringstream in(ReadFileText(log_path()));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

}  // namespace vt::dictionary::testing
