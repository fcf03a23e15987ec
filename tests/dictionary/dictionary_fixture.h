#pragma once

// A Ready interpreter object made in-process over real workbooks in a
// temporary pictures folder: the host's process list and workspace are
// stand-ins, message boxes are recorded.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "library/interpreter/veltrano_module.h"
#include "platform/automation/dispatch.h"
#include "platform/system/env.h"
#include "platform/ui/backend.h"

namespace vt::dictionary::testing {

struct ShownMessage {
  std::string text;
  std::string title;
  int style = 0;
};

// Records every box and answers OK.
class RecordingBackend : public ui::Backend {
 public:
  std::string_view Name() const override { return "recording"; }
  ui::Answer ShowMessage(const ui::MessageRequest& request) override;
  void DoEvents() override { ++events_pumped; }
  void RestoreDefaultMousePointer() override { ++pointer_restored; }

  std::vector<ShownMessage> shown;
  int events_pumped = 0;
  int pointer_restored = 0;
};

// The real operating system with FIX.exe among the running processes.
class HostEnv : public system::EnvWrapper {
 public:
  HostEnv() : EnvWrapper(system::Env::Default()) {}
  std::vector<std::string> RunningProcessExecutableNames() override {
    return {"systemd", "FIX.exe"};
  }
};

// The host's workspace: System.FixPath(1) is the pictures folder.
class FakeWorkspace : public automation::DispatchObject {
 public:
  explicit FakeWorkspace(std::string fix_path);
  std::string TypeName() const override { return "Application"; }
};

// An iFix picture: its language marker is Comments.
class TestPicture : public automation::DispatchObject {
 public:
  explicit TestPicture(automation::Variant comments);
  std::string TypeName() const override { return "Picture"; }

  automation::Variant comments;
};

// A UserForm: its language marker is Tag; it answers the UserForm interface.
class TestForm : public automation::DispatchObject {
 public:
  explicit TestForm(automation::Variant tag);
  std::string TypeName() const override { return "UserForm"; }
  bool QueryInterface(const automation::Guid& iid) const override;

  automation::Variant tag;
};

using Rows = std::vector<std::vector<std::string>>;

// Writes a workbook whose sheet `sheet_name` has `headers` in row 0 and then
// `rows`; an empty string leaves its cell empty.
void WriteWorkbook(const std::filesystem::path& file, const std::vector<std::string>& headers,
                   const Rows& rows, const std::string& sheet_name = "Dictionary");

// A cell as python3-xlrd reads it: kind "empty", "text", "number", "other".
struct XlrdCell {
  std::string kind;
  std::string text;  // texts only
  double number = 0;
  bool operator==(const XlrdCell&) const = default;
};
XlrdCell Text(std::string text);
XlrdCell Empty();
XlrdCell Number(double value);
void PrintTo(const XlrdCell& cell, std::ostream* os);

// The sheet "Dictionary" as the independent reader sees it, row by row.
std::vector<std::vector<XlrdCell>> ReadWithXlrd(const std::filesystem::path& file);
// The cells of one row, padded with empty cells up to `columns`.
std::vector<XlrdCell> XlrdRow(const std::filesystem::path& file, std::size_t row,
                              std::size_t columns);

// Runs a shell command; returns its exit status, `out` gets its standard output.
int RunCommand(const std::string& command, std::string* out = nullptr);
std::string ShellQuote(const std::string& text);

std::string ReadFileText(const std::filesystem::path& file);
void WriteFileText(const std::filesystem::path& file, const std::string& text);

// Development language 1, starting language 1, warnings on.
extern const char* const kReadyIni;
// Language_1 to Language_3.
std::vector<std::string> ThreeLanguages();

class DictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  const std::filesystem::path& dir() const { return dir_; }
  std::filesystem::path pictures() const { return dir_ / "pictures"; }
  std::filesystem::path veltrano_dir() const { return pictures() / "Veltrano"; }
  std::filesystem::path dictionary_path() const { return veltrano_dir() / "Veltrano.xls"; }
  std::filesystem::path alarm_path() const { return veltrano_dir() / "Veltrano_Alm.xls"; }
  std::filesystem::path log_path() const { return veltrano_dir() / "Veltrano.log"; }

  // The ready configuration with one [PARAMETERS] key set to `value`.
  void WriteIni(const std::string& key, const std::string& value);
  void WriteDictionary(const Rows& rows,
                       const std::vector<std::string>& headers = ThreeLanguages());
  void WriteAlarms(const Rows& rows, const std::vector<std::string>& headers = ThreeLanguages());

  // Creates the object; expects it Ready with no message shown.
  std::shared_ptr<interpreter::VeltranoModule> CreateReady();

  // The messages shown since the last call, then forgotten.
  std::vector<ShownMessage> TakeMessages();
  // Lines of the error log, each "time;module;procedure;description;".
  std::vector<std::string> LogLines() const;

  RecordingBackend backend_;
  HostEnv env_;

 private:
  std::filesystem::path dir_;
  std::unique_ptr<ui::ScopedBackend> backend_scope_;
  std::unique_ptr<system::ScopedEnvOverride> env_scope_;
};

}  // namespace vt::dictionary::testing
