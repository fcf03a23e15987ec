// The real FIX.exe loading the registered library, and a program that is not
// FIX.exe creating the object while no FIX.exe runs.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <regex>
#include <thread>

#include "tests/automation/temp_registry.h"
#include "tests/host/process.h"
#include "tests/interpreter/interpreter_fixture.h"

namespace vt::interpreter {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class EndToEndTest : public TempRegistryTest {
 protected:
  void SetUp() override {
    TempRegistryTest::SetUp();
    pictures_ = dir() / "my pictures";
    fs::create_directories(pictures_ / "Veltrano");
    transcript_ = dir() / "transcript.jsonl";
    for (const char* name : {"Veltrano.xls", "Veltrano_Alm.xls"}) {
      vt::testing::WriteWorkbook(pictures_ / "Veltrano" / name, {"Language_1", "Language_2"}, {});
    }
    const auto r = Run(VT_FIX_EXE, {"regsvr", VT_SERVER_LIBRARY});
    ASSERT_EQ(r.status, 0) << r.err;
  }

  vt::testing::ProcessResult Run(const std::string& program,
                                 const std::vector<std::string>& args) const {
    return vt::testing::RunProcess(program, args, dir());
  }
  vt::testing::ProcessResult SetUserLang(const std::string& user) const {
    return Run(VT_FIX_EXE, {"--batch", "--transcript", transcript_.string(), "--pictures",
                            pictures_.string(), "set-user-lang", user});
  }

  void WriteIni(const std::string& text) const {
    testing::WriteFile(pictures_ / "Veltrano" / "Veltrano.ini", text);
  }
  std::vector<json> Transcript() const { return vt::testing::ReadTranscript(transcript_); }

  fs::path pictures_;
  fs::path transcript_;
};

TEST_F(EndToEndTest, SetUserLangPrintsTheUsersLanguage) {
  WriteIni(
      "[PARAMETERS]\r\nInterpreterEnabled=Y\r\nDevelopmentLanguageNumber=1\r\n"
      "StartingLanguageNumber=3\r\n[USERSLANG]\r\nUserName_001=OPERATOR\r\nUserLang_001=2\r\n"
      "UserName_002=O'Neil\r\nUserLang_002=5\r\n");
  auto r = SetUserLang("OPERATOR");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "2\n");
  EXPECT_TRUE(Transcript().empty()) << testing::ReadFile(transcript_);

  r = SetUserLang("O'Neil");
  EXPECT_EQ(r.out, "5\n") << r.err;
  r = SetUserLang("somebody else");
  EXPECT_EQ(r.out, "3\n") << r.err;
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(Transcript().empty()) << testing::ReadFile(transcript_);
  EXPECT_FALSE(fs::exists(pictures_ / "Veltrano" / "Veltrano.log"));
}

TEST_F(EndToEndTest, UnreadableConfigurationIsShownLoggedAndStillExitsZero) {
  WriteIni(
      "[PARAMETERS]\r\nInterpreterEnabled=Y\r\nStartingLanguageNumber=2\r\n"
      "[USERSLANG]\r\nUserName_001=OPERATOR\r\nUserLang_001=4\r\n");
  const auto r = SetUserLang("OPERATOR");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "0\n");

  const auto boxes = Transcript();
  ASSERT_EQ(boxes.size(), 2u) << testing::ReadFile(transcript_);
  const std::string ini = (pictures_ / "Veltrano" / "Veltrano.ini").string();
  EXPECT_EQ(boxes[0]["text"], "The \"Veltrano.dll\" cannot read the file \"" + ini +
                                  "\".\r\n\r\nPlease call your supplier !");
  EXPECT_EQ(boxes[0]["title"], " Veltrano - WARNING");
  EXPECT_EQ(boxes[0]["style"], 16);
  EXPECT_EQ(boxes[0]["answer"], "ok");
  const std::string report = boxes[1]["text"];
  EXPECT_NE(report.find("\r\nA critical error has occurred !\r\n\r\nModule: modIniHandler\r\n"
                        "Procedure: ReadIniFile\r\nError description: "),
            std::string::npos)
      << report;
  EXPECT_EQ(report.rfind("Veltrano - ", 0), 0u);
  EXPECT_EQ(boxes[1]["title"], " Veltrano - WARNING");
  EXPECT_EQ(boxes[1]["style"], 16);

  const std::string log = testing::ReadFile(pictures_ / "Veltrano" / "Veltrano.log");
  EXPECT_TRUE(
      std::regex_match(log, std::regex("[^;\r\n]+;modIniHandler;ReadIniFile;[^\r\n]+;\r\n")))
      << log;
  // The description in the log is the one the operator saw.
  const std::string description = report.substr(report.find("Error description: ") + 19);
  EXPECT_NE(log.find(";ReadIniFile;" + description + ";\r\n"), std::string::npos) << log;
}

TEST_F(EndToEndTest, MissingConfigurationShowsItsMessage) {
  const auto r = SetUserLang("OPERATOR");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "0\n");
  const auto boxes = Transcript();
  ASSERT_EQ(boxes.size(), 1u);
  const std::string ini = (pictures_ / "Veltrano" / "Veltrano.ini").string();
  EXPECT_EQ(boxes[0]["text"], "The file \"" + ini +
                                  "\" does not exist:\r\nthe \"Veltrano.dll\" cannot start.\r\n"
                                  "\r\nPlease call your supplier !");
  EXPECT_FALSE(fs::exists(pictures_ / "Veltrano" / "Veltrano.log"));
}

TEST_F(EndToEndTest, ProgramOtherThanTheHostGetsTheOutsideHostMessage) {
  vt::testing::ProcessResult r;
  std::vector<json> boxes;
  // Other tests may run a FIX.exe at the same moment; the probe tells us, and
  // such a run is repeated.
  for (int attempt = 0; attempt < 20; ++attempt) {
    fs::remove(transcript_);
    r = Run(VT_OUTSIDE_HOST_PROBE, {transcript_.string()});
    ASSERT_EQ(r.status, 0) << r.err;
    boxes = Transcript();
    if (r.out.find("fix_seen=0") != std::string::npos && boxes.size() == 1 &&
        boxes[0]["text"] ==
            "Veltrano can be referenced only by iFix !\r\nNo translation will be executed...") {
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
  }
  EXPECT_NE(r.out.find("fix_seen=0"), std::string::npos) << "a FIX.exe kept running";
  EXPECT_NE(r.out.find("GlobalLangNum=0\n"), std::string::npos) << r.out;
  ASSERT_EQ(boxes.size(), 1u) << testing::ReadFile(transcript_);
  EXPECT_EQ(boxes[0]["text"],
            "Veltrano can be referenced only by iFix !\r\nNo translation will be executed...");
  EXPECT_EQ(boxes[0]["title"], " Veltrano - WARNING");
  EXPECT_EQ(boxes[0]["style"], 16);
}

// DISABLED: libveltrano.so exports every inline and template function it
// instantiates; a platform library that the host does not link itself
// (libvtworkbook.so) is loaded with the server, binds to those copies and,
// having unique symbols, can never be unloaded, so it pins the server for
// the life of the host. Exporting only the four entry points (a version
// script or hidden visibility on the library) lets it go.
TEST_F(EndToEndTest, LibraryLeavesTheHostAfterItsLastObject) {
  const auto r = Run(VT_OUTSIDE_HOST_PROBE, {transcript_.string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("unloaded=1"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace vt::interpreter
