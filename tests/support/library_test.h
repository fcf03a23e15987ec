#pragma once

// Fixtures for tests of the library's objects made in-process: a pictures
// folder with its Veltrano folder in a fresh temporary folder, the
// session the objects of a test are created on. Header only, for the suites
// that link the library's objects.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "library/interpreter/message_boxes.h"
#include "library/interpreter/mod_err_handler.h"
#include "library/interpreter/session.h"
#include "library/interpreter/veltrano_module.h"
#include "platform/system/env.h"
#include "platform/system/utf8_path.h"
#include "platform/ui/backend.h"
#include "tests/support/fake_host.h"
#include "tests/support/library_files.h"
#include "tests/support/message_log.h"
#include "tests/support/temp_dir.h"

namespace vt::testing {

class LibraryTest : public ::testing::Test {
 protected:
  explicit LibraryTest(const std::string& prefix) : temp_(prefix) {}

  void SetUp() override { std::filesystem::create_directories(veltrano_dir()); }

  const std::filesystem::path& dir() const { return temp_.path(); }
  std::filesystem::path pictures() const { return dir() / "pictures"; }
  std::filesystem::path veltrano_dir() const { return pictures() / "Veltrano"; }
  std::filesystem::path ini_path() const { return veltrano_dir() / "Veltrano.ini"; }
  std::filesystem::path dictionary_path() const { return veltrano_dir() / "Veltrano.xls"; }
  std::filesystem::path alarm_path() const { return veltrano_dir() / "Veltrano_Alm.xls"; }
  std::filesystem::path log_path() const { return veltrano_dir() / "Veltrano.log"; }

  void WriteIniText(const std::string& text) const { WriteFile(ini_path(), IniFileBytes(text)); }
  void WriteDictionary(const Rows& rows,
                       const std::vector<std::string>& headers = ThreeLanguages()) const {
    WriteWorkbook(dictionary_path(), headers, rows);
  }
  void WriteAlarms(const Rows& rows,
                   const std::vector<std::string>& headers = ThreeLanguages()) const {
    WriteWorkbook(alarm_path(), headers, rows);
  }

  std::string Log() const { return ReadFile(log_path()); }
  // Lines of the error log, each "time;module;procedure;description;".
  std::vector<std::string> LogLines() const { return ReadLines(log_path()); }

  // The messages shown since the last call, then forgotten.
  virtual std::vector<Message> TakeMessages() = 0;

  // Expects exactly one message since the last call: a translation warning
  // (exclamation icon, OK) with this text.
  void ExpectOneWarning(const std::string& text) {
    const std::vector<Message> messages = TakeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].title, " Veltrano - WARNING");
    EXPECT_EQ(messages[0].style, 48);
    EXPECT_EQ(messages[0].text, text);
  }

  // Creates the object; expects it Ready with no message shown.
  std::shared_ptr<interpreter::VeltranoModule> CreateReady() {
    auto module = std::make_shared<interpreter::VeltranoModule>(session_);
    EXPECT_EQ(module->lifecycle(), interpreter::Lifecycle::Ready);
    for (const Message& m : TakeMessages()) ADD_FAILURE() << "unexpected message: " << m.text;
    return module;
  }

  // The module-level state of the test's objects, as the host's scripting
  // thread would hold it; the messages and the error reporter a component
  // is handed.
  interpreter::Session session_;
  interpreter::MessageBoxes messages_;
  interpreter::ErrorReporter errors_{session_.configuration};

 private:
  TempDir temp_;
};

// The host faked in-process: message boxes recorded by `backend_`, `env_`
// (FIX.exe running) as the operating system, and `workspace_` answering
// FixPath(1) with the pictures folder.
template <typename HostEnvType = HostEnv>
class FakeHostLibraryTest : public LibraryTest {
 protected:
  using LibraryTest::LibraryTest;

  void SetUp() override {
    LibraryTest::SetUp();
    workspace_ = std::make_shared<FakeWorkspace>(system::Utf8FromPath(pictures()));
    registration_.emplace(workspace_);
  }
  void TearDown() override {
    registration_.reset();
    LibraryTest::TearDown();
  }

  std::vector<Message> TakeMessages() override { return backend_.Take(); }

  RecordingBackend backend_;
  HostEnvType env_;
  std::shared_ptr<FakeWorkspace> workspace_;

 private:
  ui::ScopedBackend backend_scope_{backend_};
  system::ScopedEnvOverride env_scope_{&env_};
  std::optional<ScopedWorkspace> registration_;
};

}  // namespace vt::testing
