#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>

#include "host/collection.h"
#include "platform/ui/backend.h"
#include "tests/automation/temp_registry.h"
#include "tests/host/host_files.h"
#include "tests/host/lua_fixture.h"

// Automation objects in a host script: members, methods, by-reference
// arguments, collections, errors, and the host's functions.
namespace vt::host::scripting {
namespace {

using vt::testing::Contains;

TEST_F(LuaTest, PropertiesAreReadAndWrittenByNameInAnyCase) {
  EXPECT_EQ(Printed("print(probe.Caption, probe.caption, probe.ID)"), "first\tfirst\t7\n");
  EXPECT_EQ(Printed("probe.CAPTION = 'second'; print(probe.Caption)"), "second\n");
  EXPECT_EQ(probe->caption, "second");
  Printed("probe.Caption = 12");
  EXPECT_EQ(probe->caption, "12");
  const std::string read_only = Failure("probe.Id = 8");
  EXPECT_TRUE(Contains(read_only, "Can't assign to read-only property: Probe.Id")) << read_only;
}

TEST_F(LuaTest, MethodsAreCalledWithTheirArgumentsAndReturnOnlyTheResult) {
  EXPECT_EQ(Printed("print(select('#', probe:Record('a', 2)))"), "1\n");
  EXPECT_EQ(probe->received, (std::vector<Variant>{Variant("a"), Variant(std::int16_t{2})}));
  // Lua passes values: the callee's changes stay with the callee.
  EXPECT_EQ(Printed("local name, n = 'Main.grf', 1\n"
                    "print(probe:cut(name, n), name, n)"),
            "cut\tMain.grf\t1\n");
  // A method reached without ':' is a method value, never called by reading it.
  EXPECT_EQ(Printed("local m = probe.Record; print(type(m))"), "function\n");
  EXPECT_EQ(probe->received.size(), 2U);
  const std::string dotted = Failure("probe.Record(1)");
  EXPECT_TRUE(Contains(dotted, "Record is a method: call it as object:Record(...)")) << dotted;
}

TEST_F(LuaTest, ByRefHandsBackEveryArgumentAsTheCallLeftIt) {
  EXPECT_EQ(Printed("print(ByRef(probe, 'Cut', 'Main.grf', 1))"), "cut\tMain\t2\n");
  EXPECT_EQ(Printed("print(select('#', ByRef(probe, 'Record')))"), "1\n");
  EXPECT_TRUE(Contains(Failure("ByRef(probe, 'Cut', 'x')"), "Cut takes two arguments"));
  EXPECT_TRUE(Contains(Failure("ByRef('probe', 'Cut')"), "ByRef needs an object, not a string"));
}

TEST_F(LuaTest, EachWalksACollectionInOrderAndCallingItReadsItem) {
  auto a = std::make_shared<Probe>();
  auto b = std::make_shared<Probe>();
  a->caption = "alpha";
  b->caption = "beta";
  auto collection =
      std::make_shared<ObjectCollection>("Controls", 0, std::vector<automation::ObjectRef>{a, b});
  lua.SetGlobal("controls", Variant(collection));
  EXPECT_EQ(Printed("for item in Each(controls) do print(item.Caption) end\n"
                    "print(controls.Count, controls(1).Caption, controls:Item(0).Caption)"),
            "alpha\nbeta\n2\tbeta\talpha\n");
  // The same object read twice is one object.
  EXPECT_EQ(Printed("print(controls(0) == controls:Item(0), controls(0) == controls(1))"),
            "true\tfalse\n");
  const std::string not_a_collection = Failure("for x in Each(probe) do end");
  EXPECT_TRUE(Contains(not_a_collection, "Probe._NewEnum")) << not_a_collection;
  EXPECT_TRUE(Contains(Failure("Each(Nothing)"), "Object variable or With block variable not set"));
  EXPECT_TRUE(Contains(Failure("controls(5)"), "Subscript out of range"));
}

TEST_F(LuaTest, FailedCallsAreLuaErrorsAtTheScriptsLine) {
  const std::string unknown = Failure("local x = 1\nlocal y = probe.Colour");
  EXPECT_EQ(unknown, "test:2: Object doesn't support this property or method: Probe.Colour");
  EXPECT_EQ(Failure("\n\nprobe:Fail()"), "test:3: File not found: Nope.grf");
  EXPECT_EQ(Failure("probe:NoSuchMethod(1)"),
            "test:1: Object doesn't support this property or method: Probe.NoSuchMethod");
  EXPECT_EQ(Failure("local n = Nothing.Name"),
            "test:1: Object variable or With block variable not set");
  EXPECT_TRUE(Contains(Failure("local v = probe[1]"), "a member name is text, not a number"));
  // pcall catches them and the script goes on.
  EXPECT_EQ(Printed("local ok, message = pcall(function() return probe:Fail() end)\n"
                    "print(ok, message)\n"
                    "print(probe.Caption)"),
            "false\ttest:1: File not found: Nope.grf\nfirst\n");
}

TEST_F(LuaTest, ObjectsAreReleasedWithTheState) {
  std::weak_ptr<Probe> watched;
  {
    std::ostringstream sink;
    LuaState state(sink);
    auto held = std::make_shared<Probe>();
    watched = held;
    state.SetGlobal("held", Variant(held));
    held.reset();
    ASSERT_FALSE(state.RunText("copy = held; copy2 = held.Caption", "test"));
    EXPECT_FALSE(watched.expired());
  }
  EXPECT_TRUE(watched.expired());
}

TEST_F(LuaTest, TheStateReachesNothingOutsideTheHost) {
  EXPECT_EQ(Printed("print(os.execute, os.exit, os.getenv, os.remove, io.open, io.read,"
                    " dofile, loadfile, require, package)"),
            "nil\tnil\tnil\tnil\tnil\tnil\tnil\tnil\tnil\tnil\n");
  EXPECT_EQ(Printed("print(type(os.time()), type(os.clock()), load('return 1 + 1')(),"
                    " utf8.len('Übersicht'), string.upper('a'), math.max(1, 2),"
                    " table.concat({1, 2}, ','))"),
            "number\tnumber\t2\t9\tA\t2\t1,2\n");
  EXPECT_EQ(Printed("print(load(string.dump(function() end)))"),
            "nil\tattempt to load a binary chunk (mode is 't')\n");
  EXPECT_EQ(Printed("io.write('a', 1, ' ') io.write('b\\n')"), "a1 b\n");
  EXPECT_EQ(Printed("print(getmetatable(probe), getmetatable(Null))"), "Object\tValue\n");
}

// Answers every message box with `answer`, keeping what was asked.
class RecordingBackend : public ui::Backend {
 public:
  explicit RecordingBackend(ui::Answer answer) : answer_(answer) {}
  std::string_view Name() const override { return "recording"; }
  ui::Answer ShowMessage(const ui::MessageRequest& request) override {
    text = request.text;
    title = request.title;
    style = request.style;
    return answer_;
  }
  void DoEvents() override { ++events; }

  std::string text;
  std::string title;
  int style = -1;
  int events = 0;

 private:
  ui::Answer answer_;
};

TEST_F(LuaTest, MsgBoxAndDoEventsGoToTheMessageBoxBackEnd) {
  RecordingBackend backend(ui::Answer::No);
  ui::ScopedBackend scope(backend);
  EXPECT_EQ(Printed("print(MsgBox('Save?\\r\\nNow', 36, 'Veltrano')); DoEvents()"), "7\n");
  EXPECT_EQ(backend.text, "Save?\r\nNow");
  EXPECT_EQ(backend.title, "Veltrano");
  EXPECT_EQ(backend.style, 36);
  EXPECT_EQ(backend.events, 1);
  EXPECT_EQ(Printed("print(MsgBox(42))"), "1\n");  // an OK box takes OK whatever was said
  EXPECT_EQ(backend.text, "42");
  EXPECT_EQ(backend.style, 0);
  EXPECT_TRUE(Contains(Failure("MsgBox('x', -1)"), "MsgBox style -1"));
}

class LuaFormTest : public TempRegistryTest {};

TEST_F(LuaFormTest, LoadFormAndSaveFormReadAndWriteTheFormFile) {
  const std::filesystem::path file = dir() / "frmTest.frm.json";
  vt::testing::WriteText(file, R"({"Name": "frmTest", "Caption": "Test", "Tag": "", "Extra": 1,
    "Controls": [{"TypeName": "Label", "Name": "lblA", "Caption": "A", "ControlTipText": ""}]})");
  std::ostringstream out;
  LuaState lua(out);
  lua.SetGlobal("path", Variant(file.string()));
  const auto error = lua.RunText(
      "local form = LoadForm(path)\n"
      "print(TypeName(form), form.Name, form.Controls.Count)\n"
      "form.Caption = 'Prüfung'\n"
      "form.Controls(0).Caption = 'Ä'\n"
      "SaveForm(form)\n",
      "form");
  ASSERT_FALSE(error) << *error;
  EXPECT_EQ(out.str(), "UserForm\tfrmTest\t1\n");
  const auto saved = vt::testing::ReadJson(file);
  EXPECT_EQ(saved["Caption"], "Prüfung");
  EXPECT_EQ(saved["Extra"], 1);
  EXPECT_EQ(saved["Controls"][0]["Caption"], "Ä");

  lua.SetGlobal("probe", Variant(std::make_shared<Probe>()));
  EXPECT_EQ(lua.RunText("SaveForm(probe)", "form").value_or(""),
            "form:1: Invalid procedure call or argument: SaveForm takes a form from LoadForm, "
            "not Probe");
  const auto missing = lua.RunText("LoadForm(path .. '.missing')", "form").value_or("");
  EXPECT_TRUE(Contains(missing, "frmTest.frm.json.missing")) << missing;
}

TEST_F(LuaFormTest, CreateObjectAndGetObjectReportWhatIsMissing) {
  WriteRegistry(R"({"classes": []})");
  std::ostringstream out;
  LuaState lua(out);
  const auto created = lua.RunText("CreateObject('Veltrano.VeltranoModule')", "c").value_or("");
  EXPECT_TRUE(Contains(created, "ActiveX component can't create object: Veltrano.VeltranoModule"))
      << created;
  const auto got = lua.RunText("GetObject('', 'No.Such.Application')", "c").value_or("");
  EXPECT_TRUE(Contains(got, "No.Such.Application")) << got;
}

}  // namespace
}  // namespace vt::host::scripting
