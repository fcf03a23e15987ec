// translate-string and translate-alarms end to end: the real FIX.exe loads
// the registered library, which works on real workbooks.
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>

#include "tests/dictionary/dictionary_fixture.h"
#include "tests/support/message_log.h"

namespace vt::dictionary::testing {
namespace {

namespace fs = std::filesystem;
using vt::testing::BinaryDir;

struct FixRun {
  int status = -1;
  std::string out;
  std::string err;
};

class DictionaryFixExeTest : public DictionaryTest {
 protected:
  void SetUp() override {
    DictionaryTest::SetUp();
    registry_.emplace("VELTRANO_CLASS_REGISTRY", (dir() / "classes.json").string());
    const FixRun r = Fix({"regsvr", (BinaryDir() / "lib/libveltrano.so").string()}, false);
    ASSERT_EQ(r.status, 0) << r.err;
    WriteDictionary({
        {"Boiler overview", "Vue de la chaudière", "Panoramica caldaia"},
        {"Password", "Mot de passe", ""},
        {"Pump 'A'", "Pompe 'A'", "水泵 A 🚰"},
    });
    WriteAlarms({
        {"Pump #1 failed", "Pompe n°1 en panne", ""},
        {"Tank low level", "Niveau bas du réservoir", ""},
    });
  }

  void TearDown() override {
    registry_.reset();
    DictionaryTest::TearDown();
  }

  FixRun Fix(const std::vector<std::string>& args, bool batch = true) {
    std::string command = ShellQuote((BinaryDir() / "bin/FIX.exe").string());
    if (batch) {
      command += " --batch --transcript " + ShellQuote(transcript().string()) + " --pictures " +
                 ShellQuote(pictures().string());
    }
    for (const auto& a : args) command += " " + ShellQuote(a);
    const fs::path err = dir() / "stderr.txt";
    command += " </dev/null 2>" + ShellQuote(err.string());
    FixRun r;
    r.status = RunShell(command, &r.out);
    r.err = ReadFile(err);
    return r;
  }

  fs::path transcript() const { return dir() / "transcript.jsonl"; }
  std::vector<nlohmann::json> Transcript() const {
    return vt::testing::ReadTranscript(transcript());
  }

 private:
  std::optional<vt::testing::ScopedEnvVar> registry_;
};

TEST_F(DictionaryFixExeTest, TranslateStringKeepsOuterBlanks) {
  FixRun r = Fix({"translate-string", "  Boiler overview ", "--lang", "2"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "  Vue de la chaudière \n");
  r = Fix({"translate-string", " Pump 'A'", "--lang", "3"});
  EXPECT_EQ(r.out, " 水泵 A 🚰\n");
  EXPECT_TRUE(Transcript().empty());
}

TEST_F(DictionaryFixExeTest, TranslateStringMissingIsAppendedAndWarned) {
  const FixRun r = Fix({"translate-string", " Steam drum's level ", "--lang", "2", "--warn"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, " Steam drum's level \n");
  const auto boxes = Transcript();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0]["title"], " Veltrano - WARNING");
  EXPECT_EQ(boxes[0]["style"], 48);
  EXPECT_EQ(boxes[0]["text"],
            "Interpreter cannot find the translation of the string \"Steam drum's level\" from "
            "Language_1 to Language_2 !\r\nYou can find the string to translate in the "
            "dictionary of the interpreter file \"" +
                dictionary_path().string() + "\" .");
  EXPECT_EQ(XlrdRow(dictionary_path(), 4, 3),
            (std::vector<XlrdCell>{Text("Steam drum's level"), Empty(), Empty()}));
}

TEST_F(DictionaryFixExeTest, TranslateStringWithoutLanguageBringsTheParameterMessage) {
  const FixRun r = Fix({"translate-string", "Password"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Password\n");
  const auto boxes = Transcript();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0]["text"],
            "\"TranslateString\" method parameters are wrong !\r\n"
            "Translation of the string \"Password\" is not possible.");
}

TEST_F(DictionaryFixExeTest, TranslateAlarmsCsvInAndOut) {
  WriteFile(dir() / "alarms.csv",
            "Time,Tag,Text\r\n"
            "08:00,P1,Pump #1 failed\r\n"
            "08:05,T1,\"TANK LOW, check\"\r\n"
            "08:07,T2,tank low\r\n"
            "08:09,F3,\"Fan \"\"C\"\" stopped\"\r\n");
  const fs::path out = dir() / "out.csv";
  const FixRun r = Fix({"translate-alarms", (dir() / "alarms.csv").string(), "--field", "2",
                        "--lang", "2", "-o", out.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string csv = ReadFile(out);
  EXPECT_NE(csv.find("Time,Tag,Text"), std::string::npos) << csv;
  EXPECT_NE(csv.find("08:00,P1,Pompe n°1 en panne"), std::string::npos) << csv;
  EXPECT_NE(csv.find("08:05,T1,\"TANK LOW, check\""), std::string::npos) << csv;
  EXPECT_NE(csv.find("08:07,T2,Niveau bas du réservoir"), std::string::npos) << csv;
  EXPECT_NE(csv.find("08:09,F3,\"Fan \"\"C\"\" stopped\""), std::string::npos) << csv;

  const auto rows = ReadWithXlrd(alarm_path());
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[3][0], Text("TANK LOW, check"));
  EXPECT_EQ(rows[4][0], Text("Fan \"C\" stopped"));
  const auto boxes = Transcript();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0]["text"].get<std::string>().find("from Language_1 to Language_2 !"),
            std::string::npos);
}

TEST_F(DictionaryFixExeTest, TranslateAlarmsRestorePrintsWholeCells) {
  WriteFile(dir() / "alarms.csv", "Text\nTank\npump #1\n");
  const FixRun r = Fix({"translate-alarms", (dir() / "alarms.csv").string(), "--field", "0",
                        "--lang", "1", "--restore"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Tank low level"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("Pump #1 failed"), std::string::npos) << r.out;
  EXPECT_TRUE(Transcript().empty());
}

}  // namespace
}  // namespace vt::dictionary::testing
