#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "host/options.h"
#include "host/run.h"
#include "host/workspace.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "tests/automation/temp_registry.h"
#include "tests/host/process.h"

namespace vt::host {
namespace {

namespace fs = std::filesystem;
using automation::Error;
using automation::Variant;
using vt::testing::RunProcess;

class FixExeTest : public TempRegistryTest {
 protected:
  vt::testing::ProcessResult Fix(const std::vector<std::string>& args) {
    return RunProcess(VT_FIX_EXE, args, dir());
  }

  void ExpectWrongCommandLine(const std::vector<std::string>& args, const std::string& named) {
    auto r = Fix(args);
    EXPECT_EQ(r.status, 2) << r.err;
    EXPECT_NE(r.err.find("Usage: FIX.exe"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find(named), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
};

TEST_F(FixExeTest, WrongCommandLinesExitTwoWithUsage) {
  ExpectWrongCommandLine({}, "subcommand is required");
  ExpectWrongCommandLine({"--no-such-option", "regsvr", VT_SERVER_LIBRARY}, "--no-such-option");
  ExpectWrongCommandLine({"--gui", "--no-gui", "regsvr", VT_SERVER_LIBRARY}, "--gui");
  ExpectWrongCommandLine({"--answers", "ok,maybe", "regsvr", VT_SERVER_LIBRARY}, "maybe");
  ExpectWrongCommandLine({"--pictures", (dir() / "absent").string(), "regsvr", VT_SERVER_LIBRARY},
                         "absent");
  ExpectWrongCommandLine({"--lang-number"}, "--lang-number");
  // The box takes two digits: these would be typed as 32, 1 and 00.
  for (const char* number : {"32768", "-1", "007", "3a"}) {
    ExpectWrongCommandLine({"--lang-number=" + std::string(number), "update-dictionary"},
                           "\"" + std::string(number) + "\" cannot be typed into the number box");
  }
  ExpectWrongCommandLine({"regsvr"}, "LIBRARY");
  ExpectWrongCommandLine({"regsvr", (dir() / "missing.so").string()}, "missing.so");
  ExpectWrongCommandLine({"regsvr", "-x", VT_SERVER_LIBRARY}, "-x");
  ExpectWrongCommandLine({"regsvr", VT_SERVER_LIBRARY, "extra"}, "extra");
  EXPECT_FALSE(fs::exists(registry_file()));
}

TEST_F(FixExeTest, HelpIsNotAnError) {
  auto r = Fix({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("regsvr"), std::string::npos);
  EXPECT_NE(r.out.find("Exit status:\n  0  the command ran"), std::string::npos) << r.out;
}

TEST_F(FixExeTest, WhatCannotBeHonouredIsRefusedBeforeTheCommandRuns) {
  // The test's environment without a display and without Qt's platform.
  std::vector<std::string> bare;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("WAYLAND_DISPLAY=", 0) != 0 &&
        entry.rfind("QT_QPA_PLATFORM=", 0) != 0) {
      bare.push_back(entry);
    }
  }
  const std::vector<std::string> args{"--gui", "regsvr", VT_SERVER_LIBRARY};
  auto r = RunProcess(VT_FIX_EXE, args, dir(), &bare);
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_NE(r.err.find("--gui: windows cannot be shown: there is no display"), std::string::npos)
      << r.err;
  // A display that is named but not there: Qt's abort becomes our error.
  bare.push_back("DISPLAY=:97");
  r = RunProcess(VT_FIX_EXE, args, dir(), &bare);
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_EQ(r.err.rfind("FIX.exe: cannot show windows: ", 0), 0u) << r.err;

  const fs::path transcript = dir() / "no-such-folder" / "t.jsonl";
  r = Fix({"--batch", "--transcript", transcript.string(), "regsvr", VT_SERVER_LIBRARY});
  EXPECT_EQ(r.status, 2) << r.err;
  EXPECT_NE(r.err.find("--transcript: cannot open transcript \"" + transcript.string()),
            std::string::npos)
      << r.err;
  EXPECT_FALSE(fs::exists(registry_file()));  // nothing ran
}

TEST_F(FixExeTest, AllOptionsAreAccepted) {
  auto r = Fix({"--pictures", dir().string(), "--batch", "--answers", "OK, no,Cancel,yes",
                "--select", "Main,Alarms", "--lang-number", "3", "--transcript",
                (dir() / "t.jsonl").string(), "--no-gui", "regsvr", VT_SERVER_LIBRARY});
  EXPECT_EQ(r.status, 0) << r.err;
  r = Fix({"--select", "*", "--gui", "regsvr", "-u", VT_SERVER_LIBRARY});
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(FixExeTest, RegistrationFailuresAreHostFailures) {
  // A library that is not a server.
  auto r = Fix({"regsvr", VT_AUTOMATION_LIBRARY});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("is not a server library"), std::string::npos) << r.err;

  // A file that is not a library at all.
  std::ofstream(dir() / "fake.so") << "not an ELF file";
  r = Fix({"regsvr", (dir() / "fake.so").string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("fake.so"), std::string::npos) << r.err;
}

TEST(OptionsTest, FinishNormalisesPicturesAndSelection) {
  Options o;
  o.pictures = "/tmp/app/pictures/";
  o.select = {"Main", "*", "Alarms"};
  FinishOptions(o);
  EXPECT_EQ(FixPathText(o.pictures), "/tmp/app/pictures");
  EXPECT_TRUE(o.select_all);
  EXPECT_EQ(o.select, (std::vector<std::string>{"Main", "Alarms"}));

  Options d;
  FinishOptions(d);
  EXPECT_EQ(d.pictures, fs::current_path().lexically_normal());
  EXPECT_EQ(FixPathText("/a/b//"), "/a/b");
}

TEST(WorkspaceTest, FixPathAnswersThePicturesFolder) {
  auto ws = std::make_shared<Workspace>("/srv/ifix/PIC");
  {
    WorkspaceRegistration registration(ws);
    automation::ObjectRef found = automation::GetObject("", "Workspace.Application");
    ASSERT_EQ(found, ws);
    automation::ObjectRef system = automation::Get(found, "System").ToObject();
    EXPECT_EQ(automation::TypeNameOf(system), "System");
    EXPECT_EQ(automation::Call(system, "FixPath", {Variant(std::int16_t{1})}),
              Variant("/srv/ifix/PIC"));
    EXPECT_EQ(automation::Get(system, "FixPath", {Variant("1")}).ToString(), "/srv/ifix/PIC");
    try {
      automation::Call(system, "FixPath", {Variant(std::int16_t{2})});
      FAIL();
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), automation::errors::kInvalidCall);
    }
    EXPECT_THROW(automation::Call(system, "FixPath", {}), Error);
  }
  EXPECT_THROW(automation::GetObject("", "Workspace.Application"), Error);
}

TEST(RunTest, InProcessRunReportsLikeTheExecutable) {
  std::ostringstream out;
  std::ostringstream err;
  const char* argv[] = {"FIX.exe", "--answers", "perhaps", "regsvr", VT_SERVER_LIBRARY};
  EXPECT_EQ(vt::host::Run(5, argv, out, err), 2);
  EXPECT_NE(err.str().find("perhaps"), std::string::npos);
}

}  // namespace
}  // namespace vt::host
