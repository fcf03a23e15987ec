#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "host/collection.h"
#include "host/forms/form_tree.h"
#include "host/forms/user_form.h"
#include "host/json/json_file.h"
#include "platform/automation/error.h"
#include "tests/automation/temp_registry.h"
#include "tests/host/host_files.h"

namespace vt::host::forms {
namespace {

namespace fs = std::filesystem;
using automation::Error;
using automation::Get;
using automation::ObjectRef;
using automation::Put;
using automation::Variant;
using vt::testing::Flatten;
using vt::testing::ReadJson;
using vt::testing::ReadText;
using vt::testing::WriteText;

constexpr const char* kForm = R"({
  "Name": "frmSettings", "Caption": "Settings", "Tag": "", "Width": 420,
  "Controls": [
    {"TypeName": "Label", "Name": "lblUser", "Caption": "User name", "ControlTipText": "",
     "Font": {"Size": 9}},
    {"TypeName": "MultiPage", "Name": "mpgMain", "ControlTipText": "Tabs",
     "Pages": [{"Name": "p0", "Caption": "General", "ControlTipText": "General settings"},
               {"Caption": "Display"},
               {"Caption": "Units", "ControlTipText": "", "Index": 2}]},
    {"TypeName": "TextBox", "Name": "txtLevel", "Text": "Level", "ControlTipText": "Level"},
    {"TypeName": "TabStrip", "Name": "tabUnits", "Tabs": [{"Caption": "Pressure"}]}
  ]
})";

const automation::Guid& UserFormIid() {
  static const auto iid = automation::Guid::FromString("{04598FC8-866C-11CF-AB7C-00AA00C08FCF}");
  return iid;
}

class FormTest : public TempRegistryTest {
 protected:
  fs::path Write(const std::string& name, const std::string& text) {
    const fs::path path = dir() / name;
    WriteText(path, text);
    return path;
  }

  std::string LoadError(const std::string& text) {
    const fs::path path = Write("bad.frm.json", text);
    try {
      UserForm::Load(path.string());
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), json::kInvalidFileFormat);
      return e.what();
    }
    ADD_FAILURE() << "loaded: " << text;
    return {};
  }
};

TEST_F(FormTest, MembersFollowTheContract) {
  auto form = UserForm::Load(Write("frmSettings.frm.json", kForm).string());
  ObjectRef object = form;
  EXPECT_EQ(object->TypeName(), "UserForm");
  EXPECT_TRUE(object->QueryInterface(UserFormIid()));
  EXPECT_EQ(Get(object, "Name").ToString(), "frmSettings");
  EXPECT_EQ(Get(object, "caption").ToString(), "Settings");
  EXPECT_EQ(Get(object, "Tag").ToString(), "");

  ObjectRef controls = Get(object, "Controls").ToObject();
  EXPECT_EQ(controls->TypeName(), "Controls");
  EXPECT_EQ(Get(controls, "Count").ToLong(), 4);
  ObjectRef label = Get(controls, "Item", {Variant(std::int16_t{0})}).ToObject();
  EXPECT_EQ(label->TypeName(), "Label");
  EXPECT_EQ(Get(label, "Caption").ToString(), "User name");
  EXPECT_EQ(Get(object, "Controls", {Variant("TXTLEVEL")}).ToObject()->TypeName(), "TextBox");
  EXPECT_THROW(Get(controls, "Item", {Variant(std::int16_t{4})}), Error);
  ObjectRef strip = Get(controls, "Item", {Variant(std::int16_t{3})}).ToObject();
  EXPECT_EQ(strip->TypeName(), "TabStrip");
  EXPECT_EQ(Get(strip, "Caption").ToString(), "");  // missing key
  EXPECT_THROW(Get(strip, "Pages"), Error);         // only a MultiPage has pages

  std::vector<std::string> order;
  for (const Variant& item : automation::Enumerate(controls)) {
    order.push_back(Get(item.ToObject(), "Name").ToString());
    EXPECT_FALSE(item.ToObject()->QueryInterface(UserFormIid()));
  }
  EXPECT_EQ(order, (std::vector<std::string>{"lblUser", "mpgMain", "txtLevel", "tabUnits"}));
  EXPECT_FALSE(controls->QueryInterface(UserFormIid()));
}

TEST_F(FormTest, PagesAreFetchedAnewAndStayTheSame) {
  auto form = UserForm::Load(Write("f.frm.json", kForm).string());
  ObjectRef multipage =
      Get(Get(ObjectRef(form), "Controls").ToObject(), "Item", {Variant(std::int16_t{1})})
          .ToObject();
  ObjectRef pages = Get(multipage, "Pages").ToObject();
  EXPECT_EQ(pages->TypeName(), "Pages");
  EXPECT_EQ(Get(multipage, "Pages").ToObject(), pages);
  EXPECT_EQ(Get(pages, "Count").ToLong(), 3);
  auto page = [&](std::int16_t i) {
    return Get(Get(multipage, "Pages").ToObject(), "Item", {Variant(i)}).ToObject();
  };
  EXPECT_EQ(page(0)->TypeName(), "Page");
  EXPECT_EQ(page(0), page(0));
  EXPECT_EQ(Get(multipage, "Pages", {Variant(std::int16_t{2})}).ToObject(), page(2));
  EXPECT_FALSE(page(0)->QueryInterface(UserFormIid()));
  EXPECT_EQ(Get(page(1), "ControlTipText").ToString(), "");

  // A write through one fetch is what the next fetch reads.
  Put(page(0), "Caption", Variant("Allgemein"));
  EXPECT_EQ(Get(page(0), "Caption").ToString(), "Allgemein");
  Put(page(1), "ControlTipText", Variant("Anzeige"));
  EXPECT_EQ(Get(page(1), "ControlTipText").ToString(), "Anzeige");
  try {
    page(3);
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), automation::errors::kSubscriptOutOfRange);
  }
}

TEST_F(FormTest, SaveKeepsEveryKeyWithOnlyTheChangedTexts) {
  const fs::path path = Write("f.frm.json", kForm);
  const auto before = Flatten(ReadJson(path));
  auto form = UserForm::Load(path.string());
  ObjectRef controls = Get(ObjectRef(form), "Controls").ToObject();
  auto control = [&](std::int16_t i) { return Get(controls, "Item", {Variant(i)}).ToObject(); };
  Put(ObjectRef(form), "Tag", Variant(std::int16_t{2}));
  EXPECT_EQ(Get(ObjectRef(form), "Tag"), Variant("2"));
  Put(ObjectRef(form), "Caption", Variant("Einstellungen"));
  Put(control(0), "Caption", Variant("Benutzername"));
  Put(Get(control(1), "Pages", {Variant(std::int16_t{1})}).ToObject(), "Caption",
      Variant("Anzeige"));
  Put(Get(control(1), "Pages", {Variant(std::int16_t{1})}).ToObject(), "ControlTipText",
      Variant("Tipp"));  // a missing key goes last
  Put(control(3), "ControlTipText", Variant("x"));
  form->Save();

  std::vector<std::string> expected = before;
  auto replace = [&](const std::string& from, const std::string& to) {
    auto it = std::find(expected.begin(), expected.end(), from);
    ASSERT_NE(it, expected.end()) << from;
    *it = to;
  };
  auto insert_after = [&](const std::string& after, const std::string& line) {
    auto it = std::find(expected.begin(), expected.end(), after);
    ASSERT_NE(it, expected.end()) << after;
    expected.insert(it + 1, line);
  };
  replace("/Tag=\"\"", "/Tag=\"2\"");
  replace("/Caption=\"Settings\"", "/Caption=\"Einstellungen\"");
  replace("/Controls/0/Caption=\"User name\"", "/Controls/0/Caption=\"Benutzername\"");
  replace("/Controls/1/Pages/1/Caption=\"Display\"", "/Controls/1/Pages/1/Caption=\"Anzeige\"");
  insert_after("/Controls/1/Pages/1/Caption=\"Anzeige\"",
               "/Controls/1/Pages/1/ControlTipText=\"Tipp\"");
  insert_after("/Controls/3/Tabs/0/Caption=\"Pressure\"", "/Controls/3/ControlTipText=\"x\"");
  EXPECT_EQ(Flatten(ReadJson(path)), expected);

  // Unchanged, a saved form saves to the same text.
  const std::string saved = ReadText(path);
  UserForm::Load(path.string())->Save();
  EXPECT_EQ(ReadText(path), saved);
  EXPECT_EQ(saved.find("\n  \"Name\": \"frmSettings\",\n"), 1U);  // two blanks of indent
}

TEST_F(FormTest, MalformedFormsNameFileLineAndColumn) {
  const std::string bad = "\"" + (dir() / "bad.frm.json").string() + "\"";
  EXPECT_EQ(LoadError("{\"Name\": \"f\",\n \"Controls\": {}}"),
            bad + ", line 2, column 14: \"Controls\" must be an array");
  EXPECT_EQ(LoadError("{\"Tag\": 2}"), bad + ", line 1, column 9: \"Tag\" must be a text");
  EXPECT_EQ(LoadError("{\"Controls\": [{\"TypeName\": \"Label\", \"ControlTipText\": null}]}"),
            bad + ", line 1, column 55: \"ControlTipText\" must be a text");
  EXPECT_EQ(LoadError("{\"Controls\": [{\"TypeName\": \"MultiPage\", \"Pages\": \"three\"}]}"),
            bad + ", line 1, column 50: \"Pages\" must be an array");
  EXPECT_EQ(LoadError("{\"Controls\": [{\"TypeName\": \"MultiPage\", \"Pages\": [{}, []]}]}"),
            bad + ", line 1, column 55: each entry must be a JSON object");
  EXPECT_EQ(
      LoadError("{\"Controls\": [{\"TypeName\": \"MultiPage\",\n \"Pages\": [{\"Caption\": 1}]}]}"),
      bad + ", line 2, column 24: \"Caption\" must be a text");
  EXPECT_EQ(LoadError("{\"Controls\": [\"Label\"]}"),
            bad + ", line 1, column 15: each entry must be a JSON object");
  // The parser names the end of the token it did not expect.
  const std::string syntax = LoadError("{\"Name\": \"f\"\n\"Caption\": \"\"}");
  EXPECT_EQ(syntax.rfind(bad + ", line 2, column 9: syntax error", 0), 0U) << syntax;

  try {
    UserForm::Load((dir() / "none.frm.json").string());
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), automation::errors::kFileNotFound);
  }
}

TEST_F(FormTest, TreeListsControlsAndPages) {
  auto form = UserForm::Load(Write("f.frm.json", kForm).string());
  std::ostringstream out;
  PrintFormTree(*form, out);
  EXPECT_EQ(out.str(),
            "UserForm frmSettings caption=\"Settings\" tag=\"\"\n"
            "  Label lblUser caption=\"User name\" tip=\"\"\n"
            "  MultiPage mpgMain caption=\"\" tip=\"Tabs\"\n"
            "    Page(0) caption=\"General\" tip=\"General settings\"\n"
            "    Page(1) caption=\"Display\" tip=\"\"\n"
            "    Page(2) caption=\"Units\" tip=\"\"\n"
            "  TextBox txtLevel caption=\"\" tip=\"Level\"\n"
            "  TabStrip tabUnits caption=\"\" tip=\"\"\n");
}

TEST_F(FormTest, AFormCollectionEnumeratesItsForms) {
  auto first = UserForm::Load(Write("a.frm.json", R"({"Name": "a"})").string());
  auto second = UserForm::Load(Write("b.frm.json", R"({"Name": "b", "Controls": []})").string());
  auto forms = std::make_shared<ObjectCollection>("UserForms", 0);
  forms->Add(first);
  forms->Add(second);
  const auto items = automation::Enumerate(forms);
  ASSERT_EQ(items.size(), 2U);
  EXPECT_EQ(items[0].ToObject(), first);
  EXPECT_EQ(Get(ObjectRef(forms), "Count").ToLong(), 2);
  EXPECT_EQ(Get(ObjectRef(forms), "Item", {Variant(std::int16_t{1})}).ToObject(), second);
  EXPECT_FALSE(forms->QueryInterface(UserFormIid()));
  // A form without Controls saves without them.
  first->Save();
  EXPECT_EQ(ReadText(dir() / "a.frm.json"), "{\n  \"Name\": \"a\"\n}\n");
}

}  // namespace
}  // namespace vt::host::forms
