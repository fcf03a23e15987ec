#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "library/interpreter/module_state.h"
#include "platform/automation/dispatch.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "platform/data/recordset.h"
#include "platform/system/env.h"
#include "platform/ui/backend.h"
#include "platform/workbook/workbook.h"

namespace vt::interpreter::testing {

// One message box as the system asked for it.
struct ShownMessage {
  std::string text;
  std::string title;
  int style = 0;
};

// Records every box and answers OK (or the scripted answers, in order).
class RecordingBackend : public ui::Backend {
 public:
  std::string_view Name() const override { return "recording"; }
  ui::Answer ShowMessage(const ui::MessageRequest& request) override {
    shown.push_back({std::string(request.text), std::string(request.title), request.style});
    if (next < answers.size()) return answers[next++];
    return ui::Answer::Ok;
  }
  void DoEvents() override { ++events_pumped; }
  void RestoreDefaultMousePointer() override {}

  std::vector<ShownMessage> shown;
  std::vector<ui::Answer> answers;
  std::size_t next = 0;
  int events_pumped = 0;
};

// The real operating system, except for the process list and the clock, and
// counting the file reads so that a test can tell whether a file was read.
class TestEnv : public system::EnvWrapper {
 public:
  TestEnv() : EnvWrapper(system::Env::Default()) {}

  std::vector<std::string> RunningProcessExecutableNames() override {
    ++process_list_calls;
    if (process_list_error) throw std::runtime_error(*process_list_error);
    return processes;
  }
  std::chrono::system_clock::time_point Now() override {
    if (clock_error) throw std::runtime_error("the clock cannot be read");
    return now ? *now : EnvWrapper::Now();
  }
  std::string ReadFile(const std::string& path) override {
    files_read.push_back(path);
    return EnvWrapper::ReadFile(path);
  }
  void AppendToFile(const std::string& path, std::string_view text) override {
    appended_to.push_back(path);
    if (append_error) throw std::runtime_error("the disk refuses");
    EnvWrapper::AppendToFile(path, text);
  }

  std::vector<std::string> processes{"systemd", "bash", "FIX.exe"};
  std::optional<std::string> process_list_error;
  int process_list_calls = 0;
  std::optional<std::chrono::system_clock::time_point> now;
  bool clock_error = false;
  std::vector<std::string> files_read;
  std::vector<std::string> appended_to;
  bool append_error = false;
};

// The host's System object: FixPath(1) is the pictures folder.
class FakeSystem : public automation::DispatchObject {
 public:
  explicit FakeSystem(std::string fix_path) : fix_path_(std::move(fix_path)) {
    AddMethod("FixPath", [this](std::span<automation::Variant> args) {
      ++calls;
      if (!args.empty()) argument_types.push_back(args[0].type());
      if (args.size() != 1 || args[0].ToInteger() != 1) {
        throw automation::errors::InvalidCall("FixPath wants the area number 1");
      }
      if (fail) throw automation::Error(automation::errors::kFileAccess, "FixPath failed");
      return automation::Variant(fix_path_);
    });
  }
  std::string TypeName() const override { return "System"; }

  int calls = 0;
  std::vector<automation::VarType> argument_types;
  bool fail = false;

 private:
  std::string fix_path_;
};

class FakeWorkspace : public automation::DispatchObject {
 public:
  explicit FakeWorkspace(std::string fix_path)
      : system(std::make_shared<FakeSystem>(std::move(fix_path))) {
    AddProperty("System",
                [this](std::span<automation::Variant>) { return automation::Variant(system); });
  }
  std::string TypeName() const override { return "Application"; }

  std::shared_ptr<FakeSystem> system;
};

inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteAll(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A configuration that makes a Ready object: development language 1,
// starting language 1, OPERATOR in language 2.
inline constexpr const char* kReadyIni =
    "[PARAMETERS]\r\n"
    "InterpreterEnabled=Y\r\n"
    "ShowInfoPanelOnStartup=N\r\n"
    "ShowWarningsForMissingTranslations=Y\r\n"
    "TranslateInvisibleText=Y\r\n"
    "DevelopmentLanguageNumber=1\r\n"
    "StartingLanguageNumber=1\r\n"
    "GetObjectsPrefix=N\r\n"
    "ObjectsTargetPrefix=\r\n"
    "[USERSLANG]\r\n"
    "UserName_001=OPERATOR\r\n"
    "UserLang_001=2\r\n";

// A pictures folder with its Veltrano folder (and no workbooks) in a fresh temporary folder, the
// module-level state reset, message boxes recorded, the process list and the
// clock replaced, and a host workspace answering FixPath(1).
class InterpreterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "vt-interp-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    pictures_ = dir_ / "pictures";
    std::filesystem::create_directories(veltrano_dir());
    Module() = ModuleState{};
    workspace_ = std::make_shared<FakeWorkspace>(pictures_.string());
    automation::RegisterActiveObject("Workspace.Application", workspace_);
  }

  void TearDown() override {
    automation::RevokeActiveObject("Workspace.Application");
    Module() = ModuleState{};
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  const std::filesystem::path& dir() const { return dir_; }
  const std::filesystem::path& pictures() const { return pictures_; }
  std::filesystem::path veltrano_dir() const { return pictures_ / "Veltrano"; }
  std::filesystem::path ini_path() const { return veltrano_dir() / "Veltrano.ini"; }
  std::filesystem::path log_path() const { return veltrano_dir() / "Veltrano.log"; }

  void WriteIni(const std::string& text) const { WriteAll(ini_path(), text); }
  // Empty dictionary and alarm workbooks, so that creation can get to Ready.
  void WriteWorkbooks() const {
    for (const char* name : {"Veltrano.xls", "Veltrano_Alm.xls"}) {
      workbook::Workbook::CreateDictionary(veltrano_dir() / name, "Dictionary",
                                           {"Language_1", "Language_2", "Language_3"});
    }
  }
  std::string Log() const { return ReadAll(log_path()); }

  // What the object's creation would have set up before reading the file.
  void PrepareRead() {
    Module().strFixPath = pictures_.string();
    Module().rsUsersLang = data::Recordset::Create(
        {data::FieldDef::FixedText("User", 100), data::FieldDef::Long("Lang")});
  }

  // The users in the list, in order, as (name, language).
  static std::vector<std::pair<std::string, std::int32_t>> Users() {
    std::vector<std::pair<std::string, std::int32_t>> users;
    auto& list = Module().rsUsersLang;
    if (!list) return users;
    list->ClearFilter();
    if (list->RecordCount() == 0) return users;
    for (list->MoveFirst(); !list->Eof(); list->MoveNext()) {
      users.emplace_back(list->GetValue("User").ToString(), list->GetValue("Lang").ToLong());
    }
    return users;
  }

  RecordingBackend backend_;
  ui::ScopedBackend backend_scope_{backend_};
  TestEnv env_;
  system::ScopedEnvOverride env_scope_{&env_};
  std::shared_ptr<FakeWorkspace> workspace_;

 private:
  std::filesystem::path dir_;
  std::filesystem::path pictures_;
};

// A local date and time.
inline std::chrono::system_clock::time_point LocalTime(int year, int month, int day, int hour,
                                                       int minute, int second) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  tm.tm_isdst = -1;
  return std::chrono::system_clock::from_time_t(std::mktime(&tm));
}

}  // namespace vt::interpreter::testing
