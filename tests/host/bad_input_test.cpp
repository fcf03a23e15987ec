// The catalogue of bad inputs, each through the real FIX.exe in batch mode on
// a fresh copy of the sample application: a clear error naming the file and
// the place, the exit status of the rule, never a crash, and every file left
// byte for byte as it was. A new kind of bad input is one more row.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/automation/temp_registry.h"
#include "tests/host/host_files.h"
#include "tests/host/process.h"

namespace vt::host {
namespace {

namespace fs = std::filesystem;
using vt::testing::ReadText;
using vt::testing::RunProcess;
using vt::testing::WriteText;
using namespace std::string_literals;

// The folders of one case: the application's pictures and its forms.
struct Application {
  fs::path pictures;
  fs::path forms;
  fs::path ini() const { return pictures / "Veltrano" / "Veltrano.ini"; }
  fs::path dictionary() const { return pictures / "Veltrano" / "Veltrano.xls"; }
};

struct BadInput {
  const char* what;
  // Writes the bad file into the application; may be empty.
  std::function<void(const Application&)> prepare;
  // The command and its arguments ({P} is the pictures folder, {F} the forms).
  std::vector<std::string> command;
  int status;
  // Parts stderr must hold: the file, the place, what is wrong.
  std::vector<std::string> err;
  // How many failures Veltrano reported (one stderr note each); -1: not checked.
  int reports = -1;
  // Run without a display and without Qt's platform named.
  bool no_display = false;
  // What FIX.exe runs under: a program and its arguments (a time or file-size
  // limit).
  std::vector<std::string> under = {};
  // A part Veltrano.log must hold.
  std::string log = {};
};

// Complete lines that fill `bytes` bytes, each ending with `end`.
std::string Lines(std::size_t bytes, const std::string& end) {
  const std::string line = std::string(62, 'x') + end;
  std::string text;
  while (text.size() + line.size() + end.size() <= bytes) text += line;
  return text + std::string(bytes - text.size() - end.size(), 'y') + end;
}

// A script of the application's forms folder that calls the module once.
void Script(const Application& a, const std::string& call) {
  WriteText(a.forms / "call.lua",
            "local m = CreateObject('Veltrano.VeltranoModule')\n" + call + "\n");
}

constexpr const char* kTimeout = "/usr/bin/timeout";
constexpr const char* kPrlimit = "/usr/bin/prlimit";

std::string Substituted(std::string text, const Application& app) {
  for (const auto& [mark, path] : {std::pair{"{P}", app.pictures}, {"{F}", app.forms}}) {
    for (std::size_t at; (at = text.find(mark)) != std::string::npos;) {
      text.replace(at, 3, path.string());
    }
  }
  return text;
}

std::string Nested(std::size_t depth) { return std::string(depth, '[') + std::string(depth, ']'); }

std::string Ini(const std::string& extra_parameters, const std::string& users = "") {
  return "[PARAMETERS]\nInterpreterEnabled=Y\nShowWarningsForMissingTranslations=N\n" +
         extra_parameters + "[USERSLANG]\n" + users;
}

const std::string kNumbers = "DevelopmentLanguageNumber=1\nStartingLanguageNumber=1\n";

std::vector<BadInput> Catalogue() {
  return {
      {"a picture nested 100,000 levels deep",
       [](const Application& a) {
         WriteText(a.pictures / "Deep.grf", "{\"Comments\": \"\", \"Custom\": " + Nested(100000) +
                                                ", \"ContainedObjects\": []}");
       },
       {"translate-picture", "Deep", "--lang", "2"},
       1,
       {"\"{P}/Deep.grf\", line 1, column 227: values nested more than 200 levels deep"}},
      {"a form nested 100,000 levels deep",
       [](const Application& a) {
         WriteText(a.forms / "deep.frm.json", "{\"Name\": \"f\", \"X\": " + Nested(100000) + "}");
       },
       {"translate-form", "{F}/deep.frm.json", "--lang", "2"},
       1,
       {"\"{F}/deep.frm.json\", line 1, column 219: values nested more than 200 levels deep"}},
      {"a number beyond what a double holds",
       [](const Application& a) {
         WriteText(a.pictures / "Huge.grf",
                   "{\"Comments\": \"\", \"Width\": 1e99999, \"ContainedObjects\": []}");
       },
       {"translate-picture", "Huge", "--lang", "2"},
       1,
       {"\"{P}/Huge.grf\", line 1, column 27: the number 1e99999 is too large"}},
      {"a caption of 10 MB, more than a dictionary cell holds",
       [](const Application& a) {
         WriteText(a.pictures / "Big.grf",
                   "{\"Comments\": \"\", \"ContainedObjects\": [{\"TypeName\": \"Fix2DText\", "
                   "\"Name\": \"txtBig\", \"Caption\": \"" +
                       std::string(10 << 20, 'x') + "\"}]}");
       },
       {"translate-picture", "Big", "--lang", "2"},
       0,
       {"error in VeltranoModule.TranslateObjectString: ", "{P}/Veltrano/Veltrano.xls", "32,767"},
       1},
      {"invalid UTF-8 in a picture",
       [](const Application& a) {
         WriteText(a.pictures / "Latin.grf",
                   "{\"Comments\": \"\",\n \"ContainedObjects\": [{\"TypeName\": \"Fix2DText\", "
                   "\"Caption\": \"Pr\xE9sence\"}]}");
       },
       {"translate-picture", "Latin", "--lang", "2"},
       1,
       {"\"{P}/Latin.grf\", line 2, column ", "UTF-8"}},
      {"invalid UTF-8 in a form",
       [](const Application& a) {
         WriteText(a.forms / "latin.frm.json", "{\"Name\": \"f\", \"Caption\": \"\xFF\"}");
       },
       {"translate-form", "{F}/latin.frm.json", "--lang", "2"},
       1,
       {"\"{F}/latin.frm.json\", line 1, column ", "UTF-8"}},
      {"invalid UTF-8 in the configuration",
       [](const Application& a) {
         WriteText(a.ini(), Ini(kNumbers, "UserName_001=M\xFCller\nUserLang_001=2\n"));
       },
       {"translate-string", "Start", "--lang", "2"},
       0,
       {"cannot read the file \"{P}/Veltrano/Veltrano.ini\"",
        "error in modIniHandler.ReadIniFile: Invalid file format: UserName_001 of [USERSLANG], "
        "line 7, is not UTF-8 text"},
       1},
      {"invalid UTF-8 in an alarm list",
       [](const Application& a) {
         WriteText(a.forms / "alarms.csv", "Time,Text\n1,Pr\xE9sence\n");
       },
       {"translate-alarms", "{F}/alarms.csv", "--field", "1", "--lang", "2"},
       1,
       {"{F}/alarms.csv: line 2: not UTF-8 text"}},
      {"a NUL byte in a configuration key",
       [](const Application& a) {
         WriteText(a.ini(), Ini("DevelopmentLanguage\0Number=1\nStartingLanguageNumber=1\n"s));
       },
       {"translate-string", "Start", "--lang", "2"},
       0,
       {"cannot read the file \"{P}/Veltrano/Veltrano.ini\"",
        "DevelopmentLanguageNumber of [PARAMETERS] is missing (line 4 holds a NUL byte)"},
       1},
      {"a configuration line of 100,000 characters",
       [](const Application& a) {
         WriteText(a.ini(), Ini("DevelopmentLanguageNumber=1\nStartingLanguageNumber=" +
                                std::string(100000, '9') + "\n"));
       },
       {"translate-string", "Start", "--lang", "2"},
       0,
       {"error in modIniHandler.ReadIniFile: Overflow: StartingLanguageNumber of [PARAMETERS], "
        "line 5, is \"999"},
       1},
      {"a picture name that leaves the pictures folder",
       [](const Application& a) {
         fs::copy_file(a.pictures / "Main.grf", a.pictures / ".." / "Outside.grf");
       },
       {"translate-picture", "../Outside", "--lang", "2", "--save"},
       2,
       {"the picture name \"../Outside\" holds a folder", "\"{P}\""}},
      {"a script whose picture name leaves the pictures folder",
       [](const Application& a) {
         fs::copy_file(a.pictures / "Main.grf", a.pictures / ".." / "Outside.grf");
         WriteText(a.forms / "escape.lua",
                   "local m = CreateObject('Veltrano.VeltranoModule')\n"
                   "ByRef(m, 'TranslatePicture', '../Outside', Integer(2), '')\n");
       },
       {"run", "{F}/escape.lua"},
       0,
       {"error in VeltranoModule.TranslatePicture: Bad file name or number: the picture name "
        "\"../Outside\""},
       1},
      {"a picture that is not there",
       {},
       {"translate-picture", "Nowhere"},
       2,
       {"there is no picture \"Nowhere\" in the pictures folder \"{P}\""}},
      {"a form that is not there",
       {},
       {"translate-form", "{F}/nowhere.frm.json"},
       2,
       {"nowhere.frm.json"}},
      {"an unknown command", {}, {"frobnicate"}, 2, {"\"frobnicate\" is not a command"}},
      {"a language that is not a number",
       {},
       {"translate-string", "Start", "--lang", "two"},
       2,
       {"--lang = two"}},
      {"an answer that is not one", {}, {"--answers", "maybe", "show-config"}, 2, {"\"maybe\""}},
      {"a language the dictionary has no column for",
       {},
       {"translate-string", "Start", "--lang", "99"},
       2,
       {"FIX.exe: --lang 99: the sheet \"Dictionary\" of \"{P}/Veltrano/Veltrano.xls\" has no "
        "column \"Language_99\"; its columns are \"Language_1\", \"Language_2\", \"Language_3\""},
       0},
      {"a picture shown in a language the dictionary has no column for",
       {},
       {"translate-picture", "Main", "--lang", "99", "--save"},
       2,
       {"--lang 99: ", "{P}/Veltrano/Veltrano.xls"},
       0},
      {"alarm texts in a language the alarm dictionary has no column for",
       [](const Application& a) {
         fs::copy_file(VT_EXAMPLES_DIR "/alarms.csv", a.forms / "a.csv");
       },
       {"translate-alarms", "{F}/a.csv", "--field", "2", "--lang", "2", "--from", "7"},
       2,
       {"--from 7: ", "{P}/Veltrano/Veltrano_Alm.xls", "no column \"Language_7\""},
       0},
      {"a user the configuration does not list",
       {},
       {"set-user-lang", "NOBODY"},
       0,
       {"the user \"NOBODY\" is not listed in Veltrano.ini"},
       0},
      {"windows asked for without a display",
       {},
       {"--gui", "translate-string", "Start", "--lang", "2"},
       2,
       {"--gui: windows cannot be shown: there is no display"},
       0,
       true},
      {"a transcript in a folder that is not there",
       {},
       {"--transcript", "{F}/none/t.jsonl", "translate-string", "Start", "--lang", "2"},
       2,
       {"--transcript: cannot open transcript \"{F}/none/t.jsonl\": No such file or directory"},
       0},
      {"a rejected dictionary workbook",
       [](const Application& a) { WriteText(a.dictionary(), std::string(4096, 'x')); },
       {"translate-string", "Start", "--lang", "2"},
       0,
       {"error in VeltranoModule.Class_Initialize: ", "{P}/Veltrano/Veltrano.xls"},
       1},
      {"a read-only picture saved",
       [](const Application& a) {
         fs::permissions(a.pictures / "Main.grf", fs::perms::owner_read);
         WriteText(a.forms / "save.lua",
                   "GetObject('', 'Workspace.Application').Documents:Open(arg[1]):Close(1)\n");
       },
       {"run", "{F}/save.lua", "{P}/Main.grf"},
       1,
       {"Cannot write the file '{P}/Main.grf': it is read-only"}},
      {"a read-only dictionary that a new text is appended to",
       [](const Application& a) { fs::permissions(a.dictionary(), fs::perms::owner_read); },
       {"translate-string", "A text the dictionary lacks", "--lang", "2"},
       0,
       {"{P}/Veltrano/Veltrano.xls", "cannot save the workbook: it is read-only"},
       1},
      {"a transcript that is a device",
       {},
       {"--transcript", "/dev/full", "translate-string", "Start", "--lang", "2"},
       2,
       {"--transcript: cannot open transcript \"/dev/full\": not an ordinary file"},
       0},
      {"a log that is a FIFO",
       [](const Application& a) {
         ASSERT_EQ(::mkfifo((a.pictures / "Veltrano" / "Veltrano.log").c_str(), 0666), 0);
         WriteText(a.dictionary(), std::string(4096, 'x'));
       },
       {"translate-string", "Start", "--lang", "2"},
       0,
       {"error in VeltranoModule.Class_Initialize: ",
        "Cannot append to the file '{P}/Veltrano/Veltrano.log': not an ordinary file"},
       1,
       false,
       {kTimeout, "60"}},
      {"a log on a disk that takes half its line",
       [](const Application& a) {
         WriteText(a.pictures / "Veltrano" / "Veltrano.log", Lines(8000, "\r\n"));
         WriteText(a.dictionary(), std::string(4096, 'x'));
       },
       {"translate-string", "Start", "--lang", "2"},
       0,
       {"error in VeltranoModule.Class_Initialize: ",
        "Cannot append to the file '{P}/Veltrano/Veltrano.log': File too large"},
       1,
       false,
       {kPrlimit, "--fsize=8100", "--"}},
      {"a transcript on a disk that takes half its line",
       [](const Application& a) {
         WriteText(a.forms / "t.jsonl", Lines(8000, "\n"));
         WriteText(a.dictionary(), std::string(4096, 'x'));
       },
       {"--transcript", "{F}/t.jsonl", "translate-string", "Start", "--lang", "2"},
       0,
       {"cannot append to transcript \"{F}/t.jsonl\": File too large"},
       1,
       false,
       {kPrlimit, "--fsize=8100", "--"}},
      {"a picture larger than a picture may be",
       [](const Application& a) {
         WriteText(a.pictures / "Huge.grf", "{");
         fs::resize_file(a.pictures / "Huge.grf", (std::uintmax_t{64} << 20) + 1);
       },
       {"translate-picture", "Huge", "--lang", "2"},
       1,
       {"\"{P}/Huge.grf\": the file holds 67108865 bytes, more than the 64 MiB a picture or form "
        "file may hold"}},
      {"a NUL in a picture name a script gives",
       [](const Application& a) {
         Script(a, "ByRef(m, 'TranslatePicture', 'Ma\\0in', Integer(2), '')");
       },
       {"run", "{F}/call.lua"},
       0,
       {"error in VeltranoModule.TranslatePicture: Bad file name or number: the picture name "
        "\"Ma\\0in\" is not a file name of the pictures folder"},
       1},
      {"a language number a script gives beyond an Integer",
       [](const Application& a) { Script(a, "m:TranslatePicture('Main', 99999)"); },
       {"run", "{F}/call.lua"},
       1,
       {"Overflow: argument 2 is 99999 (in VeltranoModule.TranslatePicture)"}},
      {"a language a script gives as a word",
       [](const Application& a) { Script(a, "m:TranslateString('Start', nil, 'two')"); },
       {"run", "{F}/call.lua"},
       1,
       {"Type mismatch: argument 3 is \"two\" (in VeltranoModule.TranslateString)"}},
  };
}

// Every file of the folder and below, with its bytes.
std::map<fs::path, std::string> Files(const fs::path& root) {
  std::map<fs::path, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) files[entry.path()] = ReadText(entry.path());
  }
  return files;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++n;
  }
  return n;
}

class BadInputTest : public TempRegistryTest {
 protected:
  void SetUp() override {
    TempRegistryTest::SetUp();
    const fs::path examples = VT_EXAMPLES_DIR;
    fs::create_directories(scratch());
    fs::create_directories(dir() / "template");
    fs::copy(examples / "pictures", dir() / "template" / "pictures", fs::copy_options::recursive);
    fs::copy(examples / "forms", dir() / "template" / "forms", fs::copy_options::recursive);
    for (const char* name : {"Veltrano", "Veltrano_Alm"}) {
      const auto made = RunProcess(
          VT_MAKE_DICTIONARY,
          {(examples / "source" / (std::string(name) + ".csv")).string(),
           (dir() / "template" / "pictures" / "Veltrano" / (std::string(name) + ".xls")).string()},
          scratch());
      ASSERT_EQ(made.status, 0) << made.err;
    }
    ASSERT_EQ(RunProcess(VT_FIX_EXE, {"regsvr", VT_SERVER_LIBRARY}, scratch()).status, 0);
    // Ignored here, and so in FIX.exe run under a file-size limit: a write
    // past it then fails with EFBIG instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
  }

  fs::path scratch() const { return dir() / "scratch"; }
};

TEST_F(BadInputTest, EachGivesAClearErrorItsExitStatusAndChangesNoFile) {
  int n = 0;
  for (const BadInput& c : Catalogue()) {
    SCOPED_TRACE(c.what);
    const fs::path root = dir() / ("case-" + std::to_string(++n));
    fs::create_directories(root);
    fs::copy(dir() / "template", root / "app", fs::copy_options::recursive);
    const Application app{root / "app" / "pictures", root / "app" / "forms"};
    if (c.prepare) c.prepare(app);
    const auto before = Files(root);

    std::vector<std::string> args{"--batch", "--pictures", app.pictures.string()};
    if (std::find(c.command.begin(), c.command.end(), "--transcript") == c.command.end()) {
      args.insert(args.end(), {"--transcript", (root / "transcript.jsonl").string()});
    }
    for (const std::string& arg : c.command) args.push_back(Substituted(arg, app));
    std::vector<std::string> bare;
    for (char** e = environ; c.no_display && *e != nullptr; ++e) {
      const std::string entry = *e;
      if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("WAYLAND_DISPLAY=", 0) != 0 &&
          entry.rfind("QT_QPA_PLATFORM=", 0) != 0) {
        bare.push_back(entry);
      }
    }
    args.insert(args.begin(), VT_FIX_EXE);
    args.insert(args.begin(), c.under.begin(), c.under.end());
    const std::string program = args.front();
    args.erase(args.begin());
    const auto r = RunProcess(program, args, scratch(), c.no_display ? &bare : nullptr);

    ASSERT_NE(r.status, -1) << "FIX.exe did not exit: " << r.err;
    EXPECT_EQ(r.status, c.status) << r.err;
    // A command that failed prints no result, not even a blank one.
    if (c.status != 0) {
      EXPECT_EQ(r.out, "") << r.err;
    }
    for (const std::string& part : c.err) {
      EXPECT_NE(r.err.find(Substituted(part, app)), std::string::npos) << part << "\n" << r.err;
    }
    if (c.reports >= 0) {
      EXPECT_EQ(Count(r.err, "FIX.exe: error in "), static_cast<std::size_t>(c.reports)) << r.err;
    }
    EXPECT_EQ(Count(r.err, "Object variable or With block variable not set"), 0u) << r.err;

    auto after = Files(root);
    const fs::path log = app.pictures / "Veltrano" / "Veltrano.log";
    if (!c.log.empty()) {
      EXPECT_NE(after[log].find(c.log), std::string::npos) << after[log];
    }
    after.erase(root / "transcript.jsonl");
    if (!before.contains(log)) after.erase(log);
    for (const auto& [path, bytes] : before) {
      const auto found = after.find(path);
      ASSERT_NE(found, after.end()) << path << " is gone";
      // A log or a transcript grows by whole lines only.
      const std::string name = path.filename().string();
      if (name == "Veltrano.log" || path.extension() == ".jsonl") {
        const std::string& grown = found->second;
        EXPECT_TRUE(grown.starts_with(bytes) && (grown.empty() || grown.back() == '\n'))
            << path << " ends in a half line";
      } else {
        EXPECT_TRUE(found->second == bytes) << path << " changed";
      }
      after.erase(found);
    }
    for (const auto& [path, bytes] : after) ADD_FAILURE() << path << " was left behind";
  }
}

}  // namespace
}  // namespace vt::host
