#include "tests/pictures/pictures_fixture.h"

#include "host/pictures/documents.h"
#include "platform/ui/configure.h"
#include "platform/workbook/workbook.h"
#include "tests/support/temp_dir.h"

namespace vt::pictures::testing {

namespace fs = std::filesystem;
using automation::Variant;

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
  LibraryTest::SetUp();
  WriteIni();
  WriteDictionary({});
  WriteAlarms({});

  ui::Options options;
  options.mode = ui::Mode::NoGui;
  options.batch = true;
  options.transcript_path = transcript_.file().string();
  options.program_name = "vtpictures_tests";
  // Every box these tests meet has an OK button.
  options.answers.assign(1000, ui::Answer::Ok);
  ui::Configure(options);
  env_scope_.emplace(&env_);
  workspace_ = std::make_shared<host::Workspace>(pictures());
  registration_.emplace(workspace_);
}

void PictureTest::TearDown() {
  registration_.reset();
  workspace_.reset();
  LibraryTest::TearDown();
  env_scope_.reset();
  ui::Options options;
  options.mode = ui::Mode::NoGui;
  options.batch = true;
  ui::Configure(options);
}

void PictureTest::WriteIni(const std::map<std::string, std::string>& changes) const {
  WriteIniText(vt::testing::ReadyIni(changes, {{"OPERATOR", 3}}));
}

void PictureTest::WritePicture(const std::string& file_name, const Json& picture) const {
  vt::testing::WriteFile(pictures() / file_name, picture.dump(2));
}

fs::path PictureTest::WriteForm(const std::string& file_name, const Json& form) const {
  const fs::path file = pictures() / file_name;
  vt::testing::WriteFile(file, form.dump(2));
  return file;
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
  Rows rows;
  const auto cells = vt::testing::ReadWithXlrd(dictionary_path());
  for (std::size_t row = 1; row < cells.size(); ++row) {
    std::vector<std::string>& texts = rows.emplace_back();
    for (std::size_t column = 0; column < 3; ++column) {
      const vt::testing::XlrdCell cell =
          column < cells[row].size() ? cells[row][column] : vt::testing::Empty();
      if (cell.kind == "text" || cell.kind == "empty") {
        texts.push_back(cell.text);
      } else {
        ADD_FAILURE() << "row " << row << " column " << column << " is not a text";
        texts.push_back("(" + cell.kind + ")");
      }
    }
  }
  return rows;
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
