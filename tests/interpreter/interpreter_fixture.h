#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "library/interpreter/session.h"
#include "platform/automation/dispatch.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "platform/data/recordset.h"
#include "platform/system/utf8_path.h"
#include "platform/workbook/workbook.h"
#include "tests/support/library_test.h"
#include "tests/support/local_time.h"

namespace vt::interpreter::testing {

using ShownMessage = vt::testing::Message;
using vt::testing::FakeSystem;
using vt::testing::FakeWorkspace;
using vt::testing::LocalTime;
using vt::testing::ReadFile;
using vt::testing::RecordingBackend;
using vt::testing::WriteFile;

// The host's process list, and the clock replaced; file reads and appends
// counted so that a test can tell whether a file was touched.
class TestEnv : public vt::testing::HostEnv {
 public:
  std::chrono::system_clock::time_point Now() override {
    if (clock_error) throw std::runtime_error("the clock cannot be read");
    return now ? *now : HostEnv::Now();
  }
  std::string ReadFile(const std::string& path) override {
    files_read.push_back(path);
    return HostEnv::ReadFile(path);
  }
  void AppendToFile(const std::string& path, std::string_view text) override {
    appended_to.push_back(path);
    if (append_error) throw std::runtime_error("the disk refuses");
    HostEnv::AppendToFile(path, text);
  }

  std::optional<std::chrono::system_clock::time_point> now;
  bool clock_error = false;
  std::vector<std::string> files_read;
  std::vector<std::string> appended_to;
  bool append_error = false;
};

// A configuration that makes a Ready object: development language 1,
// starting language 1, OPERATOR in language 2.
inline const std::string kReadyIni = vt::testing::ReadyIni({}, {{"OPERATOR", 2}});

// The pictures folder (no configuration, no workbooks yet) of a faked host.
class InterpreterTest : public vt::testing::FakeHostLibraryTest<TestEnv> {
 protected:
  InterpreterTest() : FakeHostLibraryTest("vt-interp") {}

  void WriteIni(const std::string& text) const { WriteIniText(text); }
  // Empty dictionary and alarm workbooks, so that creation can get to Ready.
  void WriteWorkbooks() const {
    WriteDictionary({});
    WriteAlarms({});
  }

  // What the object's creation would have set up before reading the file.
  void PrepareRead() {
    session_.configuration.strFixPath = system::Utf8FromPath(pictures());
    session_.rsUsersLang = data::Recordset::Create(
        {data::FieldDef::FixedText("User", 100), data::FieldDef::Long("Lang")});
  }

  // The users in the list, in order, as (name, language).
  std::vector<std::pair<std::string, std::int32_t>> Users() {
    std::vector<std::pair<std::string, std::int32_t>> users;
    auto& list = session_.rsUsersLang;
    if (!list) return users;
    list->ClearFilter();
    if (list->RecordCount() == 0) return users;
    for (list->MoveFirst(); !list->Eof(); list->MoveNext()) {
      users.emplace_back(list->GetValue("User").ToString(), list->GetValue("Lang").ToLong());
    }
    return users;
  }
};

}  // namespace vt::interpreter::testing
