#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/automation/temp_registry.h"
#include "tests/host/host_files.h"
#include "tests/host/process.h"

// `FIX.exe run SCRIPT.lua [args]` through the real executable: exit status,
// messages, and the sample script driving the real library.
namespace vt::host {
namespace {

namespace fs = std::filesystem;
using vt::testing::Contains;
using vt::testing::ReadJson;
using vt::testing::ReadText;
using vt::testing::RunProcess;
using vt::testing::WriteText;

class RunScriptTest : public TempRegistryTest {
 protected:
  void SetUp() override {
    TempRegistryTest::SetUp();
    fs::create_directories(pictures());
    fs::create_directories(dir() / "scratch");
  }

  fs::path pictures() const { return dir() / "pictures"; }

  fs::path Script(const std::string& name, const std::string& text) const {
    const fs::path file = dir() / name;
    WriteText(file, text);
    return file;
  }

  vt::testing::ProcessResult Fix(std::vector<std::string> args) {
    args.insert(args.begin(), {"--batch", "--pictures", pictures().string()});
    return RunProcess(VT_FIX_EXE, args, dir() / "scratch");
  }
};

TEST_F(RunScriptTest, ArgumentsReachTheScriptOptionsIncluded) {
  const fs::path script = Script("args.lua",
                                 "print(#arg, arg[0] == ..., select('#', ...))\n"
                                 "for i = 1, #arg do print(arg[i]) end\n");
  auto r = Fix({"run", script.string(), "Main", "--lang", "2", "-x", "a b"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "5\tfalse\t5\nMain\n--lang\n2\n-x\na b\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(RunScriptTest, TheScriptSeesTheRunningWorkspace) {
  WriteText(pictures() / "Tiny.grf",
            R"({"Comments": "", "ContainedObjects": [
                {"TypeName": "Fix2DText", "Name": "txtA", "Caption": "Alpha"}]})");
  const fs::path script =
      Script("workspace.lua",
             "local ws = GetObject('', 'Workspace.Application')\n"
             "local folder = ws.System:FixPath(1)\n"
             "print(folder)\n"
             "local doc = ws.Documents:Open(folder .. '/Tiny.grf', 2)\n"
             "print(doc.Name, ws.Documents.Count)\n"
             "for object in Each(doc.Page.ContainedObjects) do print(object.Caption) end\n"
             "doc.Page.ContainedObjects(1).Caption = 'Beta'\n"
             "doc:Close(1)\n");
  auto r = Fix({"run", script.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, pictures().string() + "\nTiny\t1\nAlpha\n");
  EXPECT_EQ(ReadJson(pictures() / "Tiny.grf")["ContainedObjects"][0]["Caption"], "Beta");
}

TEST_F(RunScriptTest, FormsLoadedAreInUserFormsAndAlarmListsReadAndWrite) {
  WriteText(dir() / "a.frm.json", R"({"Name": "frmA", "Caption": "A", "Tag": "", "Controls": []})");
  WriteText(dir() / "b.frm.json", R"({"Name": "frmB", "Caption": "B", "Tag": "", "Controls": []})");
  WriteText(dir() / "in.csv", "Tag,Text\r\nP1,\"Pump, failed\"\r\n");
  const fs::path script = Script("more.lua",
                                 "print(UserForms.Count)\n"
                                 "LoadForm(arg[1]); LoadForm(arg[2])\n"
                                 "for form in Each(UserForms) do print(form.Name) end\n"
                                 "local alarms = LoadAlarms(arg[3])\n"
                                 "print(TypeName(alarms))\n"
                                 "SaveAlarms(alarms, arg[4])\n"
                                 "print(pcall(SaveAlarms, UserForms, arg[4]))\n");
  auto r =
      Fix({"run", script.string(), (dir() / "a.frm.json").string(), (dir() / "b.frm.json").string(),
           (dir() / "in.csv").string(), (dir() / "out.csv").string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(r.out.starts_with("0\nfrmA\nfrmB\nRecordset\nfalse\t")) << r.out;
  EXPECT_TRUE(Contains(r.out, "SaveAlarms takes a recordset, not UserForms")) << r.out;
  EXPECT_EQ(ReadText(dir() / "out.csv"), "Tag,Text\r\nP1,\"Pump, failed\"\r\n");
}

TEST_F(RunScriptTest, AnUncaughtErrorEndsTheScriptWithItsLine) {
  const fs::path script = Script("fails.lua",
                                 "print('before')\n"
                                 "local ws = GetObject('', 'Workspace.Application')\n"
                                 "local x = ws.NoSuchThing\n"
                                 "print('after')\n");
  auto r = Fix({"run", script.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "before\n");
  EXPECT_EQ(r.err, "FIX.exe: " + script.string() +
                       ":3: Object doesn't support this property or method: "
                       "Application.NoSuchThing\n");

  const fs::path plain = Script("plain.lua", "\nerror('stopped here')\n");
  r = Fix({"run", plain.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "FIX.exe: " + plain.string() + ":2: stopped here\n");

  const fs::path table = Script("table.lua", "error({})\n");
  r = Fix({"run", table.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "FIX.exe: (error object is a table value)\n");
}

TEST_F(RunScriptTest, AScriptThatDoesNotLoadIsAHostFailureNamingFileAndLine) {
  const fs::path script = Script("syntax.lua", "print('never')\nlocal = 3\n");
  auto r = Fix({"run", script.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(Contains(r.err, "FIX.exe: " + script.string() + ":2: ")) << r.err;
  EXPECT_TRUE(Contains(r.err, "near '='")) << r.err;

  // Compiled chunks are not scripts.
  const fs::path binary = Script("binary.lua", std::string("\x1bLua\x54", 5) + "junk");
  r = Fix({"run", binary.string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(Contains(r.err, "attempt to load a binary chunk")) << r.err;
}

TEST_F(RunScriptTest, AMissingScriptIsAWrongCommandLine) {
  auto r = Fix({"run", (dir() / "nowhere.lua").string()});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Contains(r.err, "nowhere.lua")) << r.err;
  r = Fix({"run"});
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Contains(r.err, "SCRIPT is required")) << r.err;
}

// The sample script on a copy of the sample application, through the
// registered library: a user's language, the picture Main, a form.
TEST_F(RunScriptTest, TheSampleScriptTranslatesThePictureAndTheForm) {
  const fs::path examples = VT_EXAMPLES_DIR;
  fs::remove_all(pictures());
  fs::copy(examples / "pictures", pictures(), fs::copy_options::recursive);
  fs::copy(examples / "forms", dir() / "forms", fs::copy_options::recursive);
  for (const char* name : {"Veltrano", "Veltrano_Alm"}) {
    auto made = RunProcess(VT_MAKE_DICTIONARY,
                           {(examples / "source" / (std::string(name) + ".csv")).string(),
                            (pictures() / "Veltrano" / (std::string(name) + ".xls")).string()},
                           dir() / "scratch");
    ASSERT_EQ(made.status, 0) << made.err;
  }
  auto registered = RunProcess(VT_FIX_EXE, {"regsvr", VT_SERVER_LIBRARY}, dir() / "scratch");
  ASSERT_EQ(registered.status, 0) << registered.err;

  const std::string main_before = ReadText(pictures() / "Main.grf");
  const fs::path form = dir() / "forms" / "frmLogin.frm.json";
  auto r = Fix(
      {"run", (examples / "scripts" / "translate_main.lua").string(), "OPERATOR", form.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("OPERATOR reads Language_2\n"
                        "Picture Main, language marker 2\n"
                        "  txtTitle:   Übersicht Kessel \n"
                        "  cmdStart: Starten\n",
                        0),
            0U)
      << r.out;
  EXPECT_TRUE(Contains(r.out, "\n      txtFlow: Durchfluss\n")) << r.out;
  EXPECT_TRUE(Contains(r.out, "\nForm frmLogin: Anmeldung\n")) << r.out;
  EXPECT_TRUE(Contains(r.out, "\nAs expected: ")) << r.out;
  EXPECT_TRUE(Contains(r.out, "VeltranoModule.NoSuchProperty\n")) << r.out;
  EXPECT_EQ(ReadText(pictures() / "Main.grf"), main_before);
  const auto saved = ReadJson(form);
  EXPECT_EQ(saved["Caption"], "Anmeldung");
  EXPECT_EQ(saved["Tag"], "2");
}

}  // namespace
}  // namespace vt::host
