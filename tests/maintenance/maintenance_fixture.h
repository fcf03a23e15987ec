#pragma once

// The maintenance operations and their windows on a real pictures folder in
// the host's workspace: message boxes answered by a recording back end, the
// dialogs' batch inputs configured as FIX.exe does, the operating system's
// launches and failures seen through a wrapper.

#include <chrono>
#include <functional>
#include <initializer_list>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/system/env.h"
#include "platform/ui/backend.h"
#include "tests/pictures/pictures_fixture.h"
#include "tests/support/message_log.h"

namespace vt::maintenance::testing {

using pictures::testing::Json;
using vt::testing::Message;
using vt::testing::Rows;

// Launches recorded instead of made; chosen calls made to fail.
class TestEnv : public system::EnvWrapper {
 public:
  explicit TestEnv(system::Env* target) : EnvWrapper(target) {}

  void OpenWithDefaultProgram(const std::string& path, system::ShowCommand show) override {
    opened.push_back(path);
    shows.push_back(show);
  }
  void StartProgram(const std::string& command_line, system::ShowCommand show) override {
    started.push_back(command_line);
    shows.push_back(show);
  }
  void WriteFileAtomic(const std::string& path, std::string_view contents) override;
  std::unique_ptr<system::AtomicFile> NewAtomicFile(const std::string& path) override;
  std::unique_ptr<system::RandomRWFile> NewRandomRWFile(const std::string& path) override;
  std::vector<std::string> ListFiles(const std::string& folder, std::string_view pattern) override;
  std::chrono::system_clock::time_point Now() override { return now ? *now : EnvWrapper::Now(); }

  std::vector<std::string> opened;
  std::vector<std::string> started;
  std::vector<system::ShowCommand> shows;  // of each program opened or started
  bool fail_ini_writes = false;
  int ini_writes = 0;
  int fail_ini_write_number = 0;  // this one of ini_writes fails (from 1)
  bool fail_listing = false;
  bool fail_dictionary_saves = false;  // no disk space for Veltrano.xls
  std::string fail_saves_of;           // a file name whose atomic writes fail
  std::optional<std::chrono::system_clock::time_point> now;
};

// Records the boxes; `on_events` runs once, at the next event pump;
// `on_message` as each box is shown.
class MaintenanceBackend : public vt::testing::RecordingBackend {
 public:
  void DoEvents() override;
  ui::Answer ShowMessage(const ui::MessageRequest& request) override;
  std::function<void()> on_events;
  std::function<void(const ui::MessageRequest&)> on_message;
};

class MaintenanceTest : public pictures::testing::PictureTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::vector<Message> TakeMessages() override { return backend_.Take(); }

  // What the batch view of a picture-selection dialog is told: the pictures
  // to check ("*" for all) and the number to type.
  void Choose(const std::vector<std::string>& select,
              const std::optional<std::string>& lang_number);
  void Answer(std::initializer_list<ui::Answer> answers);

  // The window and launch lines of the transcript, in order.
  std::vector<nlohmann::json> WindowsAndLaunches() const;
  std::string PictureBytes(const std::string& name) const;

  // Main (complete in 2 and 3), Pump (complete in 2, missing in 3), New
  // (a text twice that the dictionary lacks).
  void WriteSampleApplication() const;

  MaintenanceBackend backend_;
  std::optional<TestEnv> test_env_;

 private:
  std::optional<ui::ScopedBackend> backend_scope_;
  std::optional<system::ScopedEnvOverride> test_env_scope_;
};

// The sample dictionary's rows (Language_1 to 3).
Rows SampleDictionary();

// The messages of the runs, as the system words them.
Message Warning(const std::string& text);
Message Information(const std::string& text);
Message UpdateNotice();
Message ChangeNotice();
Message Confirmation();

}  // namespace vt::maintenance::testing
