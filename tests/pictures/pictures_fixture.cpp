#include "tests/pictures/pictures_fixture.h"

#include <stdio.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "host/pictures/documents.h"
#include "library/interpreter/module_state.h"
#include "platform/automation/runtime.h"
#include "platform/ui/configure.h"
#include "platform/workbook/workbook.h"

namespace vt::pictures::testing {

namespace fs = std::filesystem;
using automation::Variant;

namespace {

std::string ReadFileText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFileText(const fs::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void WriteWorkbook(const fs::path& file, const Rows& rows) {
  workbook::Workbook::CreateDictionary(file, "Dictionary",
                                       {"Language_1", "Language_2", "Language_3"});
  if (rows.empty()) return;
  workbook::Workbook book = workbook::Workbook::Open(file);
  workbook::Sheet& sheet = *book.FindSheet("Dictionary");
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
    if (row == 0) throw std::invalid_argument("a dictionary row needs one filled cell");
  }
  book.Save();
}

constexpr const char* kIniKeys[][2] = {
    {"InterpreterEnabled", "Y"},
    {"ShowInfoPanelOnStartup", "N"},
    {"ShowWarningsForMissingTranslations", "Y"},
    {"TranslateInvisibleText", "Y"},
    {"DevelopmentLanguageNumber", "1"},
    {"StartingLanguageNumber", "1"},
    {"GetObjectsPrefix", "N"},
    {"ObjectsTargetPrefix", ""},
};

}  // namespace

Json Text(const std::string& name, const std::string& caption) {
  return {{"TypeName", "Fix2DText"}, {"Name", name}, {"Caption", caption}};
}

Json Button(const std::string& name, const std::string& caption, const std::string& description) {
  return {{"TypeName", "CommandButton"},
          {"Name", name},
          {"Caption", caption},
          {"Description", description}};
}

Json Alarm(const std::string& name, const std::string& description, bool visible) {
  return {{"TypeName", "AlarmSummaryOCX"},
          {"Name", name},
          {"Description", description},
          {"Visible", visible}};
}

Json Group(const std::string& name, Json members) {
  return {{"TypeName", "Fix2DGroup"}, {"Name", name}, {"ContainedObjects", std::move(members)}};
}

Json Picture(Json objects, Json comments) {
  return {{"Comments", std::move(comments)}, {"ContainedObjects", std::move(objects)}};
}

Json Control(const std::string& type, const std::string& name, const std::string& caption,
             const std::string& tip) {
  return {{"TypeName", type}, {"Name", name}, {"Caption", caption}, {"ControlTipText", tip}};
}

Json MultiPage(const std::string& name, Json pages) {
  return {{"TypeName", "MultiPage"},
          {"Name", name},
          {"Caption", ""},
          {"ControlTipText", "Tabs"},
          {"Pages", std::move(pages)}};
}

Json FormPage(const std::string& caption, const std::string& tip) {
  return {{"Caption", caption}, {"ControlTipText", tip}};
}

Json Form(const std::string& name, const std::string& caption, const std::string& tag,
          Json controls) {
  return {{"Name", name}, {"Caption", caption}, {"Tag", tag}, {"Controls", std::move(controls)}};
}

automation::ObjectRef FindObject(const automation::ObjectRef& container, const std::string& name) {
  const automation::ObjectRef objects = automation::Get(container, "ContainedObjects").ToObject();
  for (const Variant& item : automation::Enumerate(objects)) {
    const automation::ObjectRef object = item.ToObject();
    if (automation::Get(object, "Name").ToString() == name) return object;
    if (automation::TypeNameOf(object) == "Fix2DGroup") {
      if (auto found = FindObject(object, name)) return found;
    }
  }
  return nullptr;
}

std::string Property(const automation::ObjectRef& object, const std::string& property) {
  if (!object) {
    ADD_FAILURE() << "no object to read " << property << " of";
    return {};
  }
  return automation::Get(object, property).ToString();
}

void PictureTest::SetUp() {
  std::string pattern = (fs::temp_directory_path() / "vt-pictures-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  dir_ = pattern;
  pictures_ = dir_ / "pictures";
  transcript_ = dir_ / "transcript.jsonl";
  fs::create_directories(veltrano_dir());
  WriteIni();
  WriteDictionary({});
  WriteAlarmDictionary({});
  interpreter::Module() = interpreter::ModuleState{};

  ui::Options options;
  options.mode = ui::Mode::NoGui;
  options.batch = true;
  options.transcript_path = transcript_.string();
  options.program_name = "vtpictures_tests";
  // Every box these tests meet has an OK button.
  options.answers.assign(1000, ui::Answer::Ok);
  ui::Configure(options);
  env_scope_ = std::make_unique<system::ScopedEnvOverride>(&env_);
  workspace_ = std::make_shared<host::Workspace>(pictures_);
  registration_ = std::make_unique<host::WorkspaceRegistration>(workspace_);
}

void PictureTest::TearDown() {
  registration_.reset();
  workspace_.reset();
  interpreter::Module() = interpreter::ModuleState{};
  env_scope_.reset();
  ui::Options options;
  options.mode = ui::Mode::NoGui;
  options.batch = true;
  ui::Configure(options);
  std::error_code ec;
  fs::remove_all(dir_, ec);
}

void PictureTest::WriteIni(const std::map<std::string, std::string>& changes) {
  std::string ini = "[PARAMETERS]\r\n";
  for (const auto& [key, value] : kIniKeys) {
    const auto changed = changes.find(key);
    ini += std::string(key) + "=" + (changed != changes.end() ? changed->second : value) + "\r\n";
  }
  ini += "[USERSLANG]\r\nUserName_001=OPERATOR\r\nUserLang_001=3\r\n";
  WriteFileText(veltrano_dir() / "Veltrano.ini", ini);
}

void PictureTest::WriteDictionary(const Rows& rows) { WriteWorkbook(dictionary_path(), rows); }

void PictureTest::WriteAlarmDictionary(const Rows& rows) { WriteWorkbook(alarm_path(), rows); }

void PictureTest::WritePicture(const std::string& file_name, const Json& picture) {
  WriteFileText(pictures_ / file_name, picture.dump(2));
}

fs::path PictureTest::WriteForm(const std::string& file_name, const Json& form) {
  const fs::path file = pictures_ / file_name;
  WriteFileText(file, form.dump(2));
  return file;
}

std::shared_ptr<interpreter::VeltranoModule> PictureTest::CreateReady() {
  auto module = std::make_shared<interpreter::VeltranoModule>();
  EXPECT_EQ(module->lifecycle(), interpreter::Lifecycle::Ready);
  for (const Message& m : TakeMessages()) ADD_FAILURE() << "unexpected message: " << m.text;
  return module;
}

std::shared_ptr<host::pictures::Document> PictureTest::Open(const std::string& name) {
  return workspace_->documents().Open(workspace_->PicturePath(name));
}

automation::ObjectRef PictureTest::PageOf(const std::string& name) {
  const auto document = workspace_->documents().Find(name);
  if (!document) {
    ADD_FAILURE() << "the picture " << name << " is not open";
    return nullptr;
  }
  return automation::Get(document, "Page").ToObject();
}

std::string PictureTest::CaptionIn(const std::string& picture, const std::string& object) {
  const automation::ObjectRef page = PageOf(picture);
  if (!page) return {};
  const automation::ObjectRef found = FindObject(page, object);
  if (!found) ADD_FAILURE() << "no object " << object << " in " << picture;
  return Property(found, "Caption");
}

Variant PictureTest::MarkerOf(const std::string& picture) {
  const automation::ObjectRef page = PageOf(picture);
  return page ? automation::Get(page, "Comments") : Variant();
}

std::vector<Message> PictureTest::TakeMessages() {
  std::vector<Message> messages;
  if (!fs::exists(transcript_)) return messages;
  const std::vector<std::string> lines = Lines(ReadFileText(transcript_));
  for (std::size_t i = transcript_lines_taken_; i < lines.size(); ++i) {
    const Json line = Json::parse(lines[i]);
    messages.push_back({line.at("title").get<std::string>(), line.at("style").get<int>(),
                        line.at("text").get<std::string>()});
  }
  transcript_lines_taken_ = lines.size();
  return messages;
}

std::vector<std::string> PictureTest::LogLines() const {
  return Lines(ReadFileText(veltrano_dir() / "Veltrano.log"));
}

Rows PictureTest::DictionaryRows() const {
  workbook::Workbook book = workbook::Workbook::Open(dictionary_path());
  const workbook::Sheet& sheet = *book.FindSheet("Dictionary");
  Rows rows;
  for (std::size_t row = 1; row < sheet.RowCount(); ++row) {
    std::vector<std::string>& cells = rows.emplace_back();
    for (std::size_t column = 0; column < 3; ++column) {
      cells.emplace_back(sheet.CellText(row, column));
    }
  }
  return rows;
}

Rows PictureTest::DictionaryRowsByXlrd() const {
  // Debian's interpreter: the one first on PATH may lack xlrd.
  static constexpr const char* kScript =
      "import json, sys, xlrd\n"
      "s = xlrd.open_workbook(sys.argv[1]).sheet_by_name('Dictionary')\n"
      "print(json.dumps([[str(s.cell_value(r, c)) if c < s.ncols else '' for c in range(3)]"
      " for r in range(1, s.nrows)]))\n";
  const fs::path script = dir_ / "dictionary_rows.py";
  WriteFileText(script, kScript);
  const std::string command =
      "/usr/bin/python3 '" + script.string() + "' '" + dictionary_path().string() + "'";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) throw std::runtime_error("cannot run " + command);
  std::string out;
  char buffer[4096];
  for (std::size_t n = 0; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  if (pclose(pipe) != 0) throw std::runtime_error("xlrd cannot read " + dictionary_path().string());
  return nlohmann::json::parse(out).get<Rows>();
}

void TranslatePicture(interpreter::VeltranoModule& module, std::string name, std::int16_t language,
                      std::string user) {
  module.TranslatePicture(name, language, user);
}

void TranslateForm(interpreter::VeltranoModule& module, const automation::ObjectRef& form,
                   std::int16_t language, std::string user) {
  module.TranslateForm(form, language, user);
}

std::string CannotFindText(int from, int to, const std::string& dictionary) {
  return "Interpreter cannot find the translation of one or more strings from Language_" +
         std::to_string(from) + " to Language_" + std::to_string(to) +
         " !\r\nYou can find all the strings to translate in the dictionary of the interpreter "
         "file \"" +
         dictionary + "\" .";
}

std::string BeforeTranslatingText(const std::string& kind, const std::string& name, int from,
                                  int to, const std::string& dictionary) {
  return "Before translating the " + kind + " \"" + name + "\" from the Language_" +
         std::to_string(from) + " to the Language_" + std::to_string(to) +
         "\r\nyou must insert all the missing translations in the interpreter file \"" +
         dictionary + "\" .";
}

}  // namespace vt::pictures::testing
