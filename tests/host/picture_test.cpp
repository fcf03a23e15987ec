#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "host/json/json_file.h"
#include "host/json/json_path.h"
#include "host/pictures/documents.h"
#include "host/pictures/picture_tree.h"
#include "host/workspace.h"
#include "platform/automation/error.h"
#include "platform/system/env.h"
#include "tests/automation/temp_registry.h"
#include "tests/host/host_files.h"

namespace vt::host::pictures {
namespace {

namespace fs = std::filesystem;
using automation::Call;
using automation::Error;
using automation::Get;
using automation::ObjectRef;
using automation::Put;
using automation::Variant;
using automation::VarType;
using vt::testing::Flatten;
using vt::testing::ReadJson;
using vt::testing::ReadText;
using vt::testing::WriteText;

constexpr const char* kPicture = R"({
  "Comments": "",
  "Zoom": 1.5,
  "ContainedObjects": [
    {"TypeName": "Fix2DText", "Name": "txtTitle", "Caption": " Boiler overview ", "Left": 3},
    {"TypeName": "CommandButton", "Name": "cmdStart", "Caption": "Start",
     "Description": "Starts the feed pump", "Script": "Sub A()\nEnd Sub"},
    {"TypeName": "Fix2DGroup", "Name": "grpOuter", "Custom": [1, {"x": null}],
     "ContainedObjects": [
       {"TypeName": "Fix2DGroup", "Name": "grpInner", "ContainedObjects": [
         {"TypeName": "Fix2DText", "Name": "txtDeep", "Caption": "Flow"}]},
       {"TypeName": "AlarmSummaryOCX", "Name": "Alarm1", "Description": "Language_1",
        "Visible": true}
     ]},
    {"TypeName": "SomethingElse", "Name": "odd", "ContainedObjects": "not a group's"}
  ]
})";

class PictureTest : public TempRegistryTest {
 protected:
  void SetUp() override {
    TempRegistryTest::SetUp();
    documents_ = std::make_shared<Documents>(dir());
  }

  fs::path Write(const std::string& name, const std::string& text) {
    const fs::path path = dir() / name;
    WriteText(path, text);
    return path;
  }

  std::shared_ptr<Document> Open(const fs::path& path) { return documents_->Open(path.string()); }

  // The message of the error that opening `text` as a picture raises.
  std::string OpenError(const std::string& text) {
    const fs::path path = Write("Bad.grf", text);
    try {
      Open(path);
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), json::kInvalidFileFormat);
      return e.what();
    }
    ADD_FAILURE() << "opened: " << text;
    return {};
  }

  std::string Quoted(const fs::path& path) { return "\"" + path.string() + "\""; }

  std::shared_ptr<Documents> documents_;
};

ObjectRef Item(const ObjectRef& collection, std::int32_t index) {
  return Get(collection, "Item", {Variant(index)}).ToObject();
}

TEST_F(PictureTest, MembersFollowTheContract) {
  auto document = Open(Write("Main.grf", kPicture));
  ObjectRef doc = document;
  EXPECT_EQ(doc->TypeName(), "Document");
  EXPECT_EQ(Get(doc, "Type").ToString(), "FIX.Picture");
  EXPECT_EQ(Get(doc, "name").ToString(), "Main");
  ObjectRef page = Get(doc, "Page").ToObject();
  EXPECT_EQ(page->TypeName(), "Page");
  ObjectRef objects = Get(page, "ContainedObjects").ToObject();
  EXPECT_EQ(objects->TypeName(), "ContainedObjects");
  EXPECT_EQ(Get(objects, "Count").ToLong(), 4);

  ObjectRef title = Item(objects, 1);
  EXPECT_EQ(title->TypeName(), "Fix2DText");
  EXPECT_EQ(Get(title, "Caption").ToString(), " Boiler overview ");
  EXPECT_EQ(Get(title, "Description").ToString(), "");  // missing key
  EXPECT_EQ(Get(title, "Visible").type(), VarType::Boolean);
  EXPECT_TRUE(Get(title, "Visible").ToBoolean());  // missing key
  EXPECT_THROW(Get(title, "Left"), Error);         // kept, not a member

  ObjectRef group = Item(objects, 3);
  EXPECT_EQ(group->TypeName(), "Fix2DGroup");
  ObjectRef members = Get(group, "ContainedObjects").ToObject();
  ASSERT_EQ(Get(members, "Count").ToLong(), 2);
  ObjectRef inner = Item(members, 1);
  EXPECT_EQ(Get(Item(Get(inner, "ContainedObjects").ToObject(), 1), "Caption").ToString(), "Flow");
  EXPECT_EQ(Item(members, 2)->TypeName(), "AlarmSummaryOCX");

  // Only groups have members; an unknown type keeps its key unexposed.
  EXPECT_THROW(Get(Item(objects, 4), "ContainedObjects"), Error);
  EXPECT_EQ(Item(objects, 4)->TypeName(), "SomethingElse");

  // Collections count from 1 and take names.
  EXPECT_EQ(Get(objects, "Item", {Variant("CMDSTART")}).ToObject(), Item(objects, 2));
  for (std::int32_t bad : {0, 5}) {
    try {
      Item(objects, bad);
      ADD_FAILURE() << bad;
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), automation::errors::kSubscriptOutOfRange);
    }
  }
  std::vector<std::string> order;
  for (const Variant& item : automation::Enumerate(objects)) {
    order.push_back(Get(item.ToObject(), "Name").ToString());
  }
  EXPECT_EQ(order, (std::vector<std::string>{"txtTitle", "cmdStart", "grpOuter", "odd"}));
}

TEST_F(PictureTest, CommentsReadsTextOrNumberAndWritesNumbers) {
  auto document = Open(Write("A.grf", R"({"Comments": "Language three", "ContainedObjects": []})"));
  ObjectRef page = Get(ObjectRef(document), "Page").ToObject();
  EXPECT_EQ(Get(page, "Comments"), Variant("Language three"));

  Put(page, "Comments", Variant(std::int16_t{2}));
  EXPECT_EQ(Get(page, "Comments"), Variant(std::int16_t{2}));
  // The document answers Comments for its page, both ways.
  EXPECT_EQ(Get(ObjectRef(document), "Comments"), Variant(std::int16_t{2}));
  Put(ObjectRef(document), "Comments", Variant(std::int32_t{70000}));
  EXPECT_EQ(Get(page, "Comments"), Variant(std::int32_t{70000}));
  Put(page, "Comments", Variant("3"));
  EXPECT_EQ(Get(page, "Comments"), Variant("3"));  // text stays text
  Put(page, "Comments", Variant(std::int16_t{-4}));
  document->Close(CloseCode::Save);
  EXPECT_EQ(ReadJson(dir() / "A.grf")["Comments"], -4);

  // A number in the file reads as Integer; a missing marker as "", and a
  // write adds it after the objects.
  auto numbered = Open(Write("B.grf", R"({"ContainedObjects": [], "Comments": 3})"));
  EXPECT_EQ(numbered->page().Comments(), Variant(std::int16_t{3}));
  auto bare = Open(Write("C.grf", R"({"ContainedObjects": []})"));
  EXPECT_EQ(bare->page().Comments(), Variant(""));
  Put(ObjectRef(bare), "Comments", Variant(std::int16_t{1}));
  bare->Close(CloseCode::Save);
  EXPECT_EQ(ReadText(dir() / "C.grf"), "{\n  \"ContainedObjects\": [],\n  \"Comments\": 1\n}\n");
}

TEST_F(PictureTest, SavedPictureKeepsEveryKeyInOrder) {
  const fs::path path = Write("Main.grf", kPicture);
  const auto before = Flatten(ReadJson(path));
  auto document = Open(path);
  ObjectRef page = Get(ObjectRef(document), "Page").ToObject();
  ObjectRef objects = Get(page, "ContainedObjects").ToObject();
  Put(page, "Comments", Variant(std::int16_t{2}));
  Put(Item(objects, 1), "Caption", Variant(" Übersicht Kessel "));
  Put(Item(objects, 2), "Description", Variant("Startet die Speisepumpe"));
  ObjectRef members = Get(Item(objects, 3), "ContainedObjects").ToObject();
  Put(Item(members, 2), "Visible", Variant(false));
  Put(Item(Get(Item(members, 1), "ContainedObjects").ToObject(), 1), "Caption",
      Variant("Durchfluss"));
  Put(Item(objects, 1), "Description", Variant("new"));  // a missing key goes last
  Call(ObjectRef(document), "Close", {Variant(std::int16_t{1}), Variant(std::int16_t{1})});

  auto after = Flatten(ReadJson(path));
  std::vector<std::string> expected = before;
  auto replace = [&](const std::string& from, const std::string& to) {
    auto it = std::find(expected.begin(), expected.end(), from);
    ASSERT_NE(it, expected.end()) << from;
    *it = to;
  };
  replace("/Comments=\"\"", "/Comments=2");
  replace("/ContainedObjects/0/Caption=\" Boiler overview \"",
          "/ContainedObjects/0/Caption=\" Übersicht Kessel \"");
  replace("/ContainedObjects/1/Description=\"Starts the feed pump\"",
          "/ContainedObjects/1/Description=\"Startet die Speisepumpe\"");
  replace("/ContainedObjects/2/ContainedObjects/1/Visible=true",
          "/ContainedObjects/2/ContainedObjects/1/Visible=false");
  replace("/ContainedObjects/2/ContainedObjects/0/ContainedObjects/0/Caption=\"Flow\"",
          "/ContainedObjects/2/ContainedObjects/0/ContainedObjects/0/Caption=\"Durchfluss\"");
  expected.insert(std::find(expected.begin(), expected.end(), "/ContainedObjects/0/Left=3") + 1,
                  "/ContainedObjects/0/Description=\"new\"");
  EXPECT_EQ(after, expected);
  EXPECT_TRUE(documents_->open().empty());

  // Loaded again, it reads as it was saved.
  auto again = Open(path);
  EXPECT_EQ(again->page().Comments(), Variant(std::int16_t{2}));
}

TEST_F(PictureTest, CloseTwoLeavesTheFileByteForByte) {
  const std::string text =
      "{ \"Comments\" : \"\",\"ContainedObjects\":[\n"
      "{\"TypeName\":\"Fix2DText\",\"Caption\":\"Start\"}]}";
  const fs::path path = Write("Raw.grf", text);
  auto document = Open(path);
  ObjectRef doc = document;
  Put(doc, "Comments", Variant(std::int16_t{2}));
  Put(Item(Get(Get(doc, "Page").ToObject(), "ContainedObjects").ToObject(), 1), "Caption",
      Variant("Starten"));
  Call(doc, "Close", {Variant(std::int16_t{2}), Variant(std::int16_t{1})});
  EXPECT_EQ(ReadText(path), text);
  EXPECT_TRUE(documents_->open().empty());
  // Closed documents cannot be closed again; other codes are refused.
  EXPECT_THROW(Call(doc, "Close", {Variant(std::int16_t{2}), Variant(std::int16_t{1})}), Error);
  auto reopened = Open(path);
  EXPECT_NE(reopened, document);  // the file is read anew
  EXPECT_EQ(reopened->page().Comments(), Variant(""));
  EXPECT_THROW(
      Call(ObjectRef(reopened), "Close", {Variant(std::int16_t{3}), Variant(std::int16_t{1})}),
      Error);
  EXPECT_EQ(documents_->open().size(), 1U);
}

// Records atomic writes, or fails them.
class WriteWatcher : public system::EnvWrapper {
 public:
  WriteWatcher() : EnvWrapper(system::Env::Default()) {}
  void WriteFileAtomic(const std::string& path, std::string_view contents) override {
    written.push_back(path);
    if (fail) throw system::SystemError(ENOSPC, "cannot write " + path);
    EnvWrapper::WriteFileAtomic(path, contents);
  }
  std::vector<std::string> written;
  bool fail = false;
};

TEST_F(PictureTest, SavingIsAtomicAndAFailedSaveKeepsThePictureOpen) {
  const fs::path path = Write("Main.grf", kPicture);
  WriteWatcher watcher;
  system::ScopedEnvOverride env(&watcher);
  auto document = Open(path);
  Put(ObjectRef(document), "Comments", Variant(std::int16_t{3}));
  watcher.fail = true;
  try {
    document->Close(CloseCode::Save);
    ADD_FAILURE() << "saved";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), automation::errors::kFileAccess);
    EXPECT_NE(std::string(e.what()).find("Main.grf"), std::string::npos) << e.what();
  }
  EXPECT_EQ(ReadText(path), kPicture);
  EXPECT_TRUE(document->is_open());
  ASSERT_EQ(documents_->open().size(), 1U);

  watcher.fail = false;
  document->Close(CloseCode::Save);
  EXPECT_EQ(watcher.written, (std::vector<std::string>{path.string(), path.string()}));
  EXPECT_EQ(ReadJson(path)["Comments"], 3);
  EXPECT_EQ(fs::directory_iterator(dir())->path(), path);  // nothing left beside it
}

TEST_F(PictureTest, OpeningTwiceGivesTheSameDocumentInOpeningOrder) {
  const fs::path main = Write("Main.grf", kPicture);
  Write("Other.GRF", R"({"ContainedObjects": []})");
  fs::create_directory(dir() / "sub");
  ObjectRef docs = documents_;
  ObjectRef first =
      Call(docs, "Open", {Variant(main.string()), Variant(std::int16_t{2})}).ToObject();
  ObjectRef other =
      Call(docs, "Open", {Variant((dir() / "Other.GRF").string()), Variant(std::int32_t{0})})
          .ToObject();
  ObjectRef again =
      Call(docs, "Open",
           {Variant((dir() / "sub" / ".." / "Main.grf").string()), Variant(std::int16_t{2})})
          .ToObject();
  EXPECT_EQ(again, first);
  EXPECT_EQ(Get(other, "Name").ToString(), "Other");
  EXPECT_EQ(Get(docs, "Count").ToLong(), 2);
  EXPECT_EQ(Item(docs, 1), first);
  EXPECT_EQ(Item(docs, 2), other);
  const auto all = automation::Enumerate(docs);
  ASSERT_EQ(all.size(), 2U);
  EXPECT_EQ(all[0].ToObject(), first);
  EXPECT_EQ(all[1].ToObject(), other);
  EXPECT_EQ(documents_->Find("Other"), other);
  EXPECT_EQ(documents_->Find("other"), nullptr);

  // Closing the first leaves the second first.
  Call(first, "Close", {Variant(std::int16_t{2}), Variant(std::int16_t{1})});
  EXPECT_EQ(Item(docs, 1), other);
}

TEST_F(PictureTest, OnlyPicturesOfTheFolderOpenWhateverTheLetterCase) {
  Write("Up.GRF", kPicture);
  fs::create_directory(dir() / "sub");
  WriteText(dir() / "sub" / "Low.grf", kPicture);
  // One document per file, named as the folder holds it.
  const auto up = Open(dir() / "Up.grf");
  EXPECT_EQ(up->name(), "Up");
  EXPECT_EQ(up->path(), (dir() / "Up.GRF").string());
  EXPECT_EQ(Open(dir() / "Up.Grf"), up);
  EXPECT_EQ(Open(dir() / "UP.GRF"), up);
  EXPECT_EQ(documents_->open().size(), 1u);

  // Names that differ only in letter case, which only this platform holds.
  struct Case {
    const char* name;
    const char* file;  // nullptr: an error naming both files
  };
  Write("Up.gRf", kPicture);
  Write("Twin.grf", kPicture);
  Write("TWIN.grf", kPicture);
  const Case cases[] = {
      {"Up.grf", "Up.GRF"},  // the extension alone differs: the first in name order
      {"Up.gRf", "Up.gRf"},  // the name itself
      {"up.grf", nullptr},   {"Twin.GRF", "Twin.grf"},
      {"twin.grf", nullptr}, {"TWIN.grf", "TWIN.grf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = (dir() / c.name).string();
    if (c.file != nullptr) {
      EXPECT_EQ(documents_->Resolve(path), (dir() / c.file).string());
      continue;
    }
    try {
      documents_->Resolve(path);
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), automation::errors::kBadFileName);
      EXPECT_NE(std::string(e.what()).find("only in letter case"), std::string::npos) << e.what();
    }
  }
  EXPECT_FALSE(documents_->Resolve((dir() / "Down.grf").string()));
  for (const fs::path& outside :
       {dir() / "sub" / "Low.grf", dir() / ".." / "Up.GRF", fs::path("/etc/passwd")}) {
    try {
      Open(outside);
      ADD_FAILURE() << "opened " << outside;
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), automation::errors::kBadFileName) << outside;
      EXPECT_NE(std::string(e.what()).find(outside.string()), std::string::npos) << e.what();
    }
  }
}

TEST_F(PictureTest, MissingPictureIsFileNotFound) {
  const std::string missing = (dir() / "Nope.grf").string();
  try {
    Call(ObjectRef(documents_), "Open", {Variant(missing), Variant(std::int16_t{2})});
    ADD_FAILURE();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), automation::errors::kFileNotFound);
    EXPECT_EQ(std::string(e.what()), "File not found: " + missing);
  }
  EXPECT_TRUE(documents_->open().empty());
}

TEST_F(PictureTest, MalformedPicturesNameFileLineAndColumn) {
  const std::string bad = Quoted(dir() / "Bad.grf");
  EXPECT_EQ(OpenError("{\n  \"Comments\": \"\",\n  \"ContainedObjects\": {}\n}"),
            bad + ", line 3, column 23: \"ContainedObjects\" must be an array");
  EXPECT_EQ(OpenError("[]"), bad + ", line 1, column 1: the file must hold a JSON object");
  EXPECT_EQ(OpenError("{\"Comments\": true}"),
            bad + ", line 1, column 14: \"Comments\" must be a text or a number");
  EXPECT_EQ(OpenError("{\"ContainedObjects\": [\n  {\"TypeName\": \"Fix2DText\"},\n  7]}"),
            bad + ", line 3, column 3: each entry must be a JSON object");
  EXPECT_EQ(OpenError("{\"ContainedObjects\": [{\"Name\": \"x\"}]}"),
            bad + ", line 1, column 23: \"TypeName\" is missing");
  // Columns count characters: "Ü" is two bytes but one column.
  EXPECT_EQ(OpenError("{\"ContainedObjects\": [{\"TypeName\": \"Ü\", \"Caption\": 5}]}"),
            bad + ", line 1, column 52: \"Caption\" must be a text");
  EXPECT_EQ(OpenError("{\"ContainedObjects\": [{\"TypeName\": \"T\", \"Visible\": \"yes\"}]}"),
            bad + ", line 1, column 52: \"Visible\" must be true or false");
  // A key written with an escape is still found.
  EXPECT_EQ(OpenError("{\"Contained\\u004fbjects\": [{\"TypeName\": \"Fix2DGroup\",\n"
                      "  \"ContainedObjects\": [{\"TypeName\": 1}]}]}"),
            bad + ", line 2, column 37: \"TypeName\" must be a text");

  // Bad JSON: the parser's complaint at its place.
  const std::string syntax = OpenError("{\n  \"Comments\": \"\",\n  \"ContainedObjects\": [,]\n}");
  EXPECT_EQ(syntax.rfind(bad + ", line 3, column 24: syntax error", 0), 0U) << syntax;
  const std::string empty = OpenError("");
  EXPECT_EQ(empty.rfind(bad + ", line 1, column 1: ", 0), 0U) << empty;
  const std::string utf8 = OpenError("{\"Comments\": \"\xC3\x28\"}");
  EXPECT_EQ(utf8.rfind(bad + ", line 1, column ", 0), 0U) << utf8;
  // Beyond what a double holds; the same digits inside a text come first.
  EXPECT_EQ(OpenError("{\"Comments\": \"1e999\",\n \"X\": [1e99, 1e999]}"),
            bad + ", line 2, column 14: the number 1e999 is too large");
  EXPECT_TRUE(documents_->open().empty());
}

TEST_F(PictureTest, NestingIsBounded) {
  // Deep groups are fine up to the limit; beyond it the place is named.
  std::string deep = "{\"ContainedObjects\": [";
  std::string tail = "]}";
  for (int i = 0; i < 60; ++i) {
    deep += "{\"TypeName\": \"Fix2DGroup\", \"ContainedObjects\": [";
    tail += "]}";
  }
  auto document = Open(Write("Deep.grf", deep + tail));
  EXPECT_EQ(document->page().objects().items().size(), 1U);

  const std::string too_deep =
      "{\"Custom\": " + std::string(300, '[') + std::string(300, ']') + "}";
  const std::string error = OpenError(too_deep);
  EXPECT_EQ(error, Quoted(dir() / "Bad.grf") + ", line 1, column 211: values nested more than " +
                       std::to_string(json::JsonSource::kMaxDepth) + " levels deep");
  // Far deeper than a stack holds: stopped while parsing, at the same place.
  const std::string abyss =
      "{\"Custom\": " + std::string(100000, '[') + std::string(100000, ']') + "}";
  EXPECT_EQ(OpenError(abyss), error);
}

TEST_F(PictureTest, DocumentsAndPicturesAreNotUserForms) {
  auto document = Open(Write("Main.grf", kPicture));
  const auto user_form = automation::Guid::FromString("{04598FC8-866C-11CF-AB7C-00AA00C08FCF}");
  ObjectRef page = Get(ObjectRef(document), "Page").ToObject();
  ObjectRef objects = Get(page, "ContainedObjects").ToObject();
  for (const ObjectRef& object :
       {ObjectRef(document), page, objects, Item(objects, 1), ObjectRef(documents_)}) {
    EXPECT_FALSE(object->QueryInterface(user_form)) << object->TypeName();
  }
}

TEST_F(PictureTest, TreeShowsTextsQuotedAndGroupsIndented) {
  auto document = Open(Write("Main.grf", kPicture));
  std::ostringstream out;
  PrintPictureTree(document->page(), out);
  EXPECT_EQ(out.str(),
            "Comments=\"\"\n"
            "Fix2DText txtTitle caption=\" Boiler overview \" description=\"\" visible=true\n"
            "CommandButton cmdStart caption=\"Start\" description=\"Starts the feed pump\" "
            "visible=true\n"
            "Fix2DGroup grpOuter caption=\"\" description=\"\" visible=true\n"
            "  Fix2DGroup grpInner caption=\"\" description=\"\" visible=true\n"
            "    Fix2DText txtDeep caption=\"Flow\" description=\"\" visible=true\n"
            "  AlarmSummaryOCX Alarm1 caption=\"\" description=\"Language_1\" visible=true\n"
            "SomethingElse odd caption=\"\" description=\"\" visible=true\n");

  ObjectRef first =
      Item(Get(Get(ObjectRef(document), "Page").ToObject(), "ContainedObjects").ToObject(), 1);
  Put(first, "Caption", Variant("say \"hi\"\\\n"));
  Put(first, "Name", Variant(""));
  Put(ObjectRef(document), "Comments", Variant(std::int16_t{2}));
  out.str("");
  PrintPictureTree(document->page(), out, 2);
  const std::string expected =
      "  Comments=2\n"
      "  Fix2DText \"\" caption=\"say \\\"hi\\\"\\\\\\n\" description=\"\" visible=true\n"
      "  CommandButton cmdStart";
  EXPECT_EQ(out.str().rfind(expected, 0), 0U) << out.str();
}

TEST_F(PictureTest, WorkspaceListsItsDocuments) {
  auto workspace = std::make_shared<Workspace>(dir());
  Write("Main.grf", kPicture);
  ObjectRef docs = Get(ObjectRef(workspace), "Documents").ToObject();
  EXPECT_EQ(docs->TypeName(), "Documents");
  EXPECT_EQ(Get(ObjectRef(workspace), "Documents").ToObject(), docs);
  EXPECT_EQ(workspace->PicturePath("Main"), (dir() / "Main.grf").string());
  EXPECT_EQ(workspace->PicturePath("Main.GRF"), (dir() / "Main.GRF").string());
  ObjectRef document =
      Call(docs, "Open", {Variant(workspace->PicturePath("Main")), Variant(std::int16_t{2})})
          .ToObject();
  EXPECT_EQ(workspace->documents().open().front(), document);
  // A document that outlives its workspace can still be closed.
  workspace.reset();
  docs.reset();
  Call(document, "Close", {Variant(std::int16_t{2}), Variant(std::int16_t{1})});
}

}  // namespace
}  // namespace vt::host::pictures
