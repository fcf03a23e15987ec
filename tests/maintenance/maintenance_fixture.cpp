#include "tests/maintenance/maintenance_fixture.h"

#include <QApplication>
#include <memory>
#include <utility>

#include "platform/ui/configure.h"
#include "tests/support/temp_dir.h"

namespace vt::maintenance::testing {

using pictures::testing::Group;
using pictures::testing::Picture;
using pictures::testing::Text;

void TestEnv::WriteFileAtomic(const std::string& path, std::string_view contents) {
  if (path.ends_with(".ini") && (fail_ini_writes || ++ini_writes == fail_ini_write_number)) {
    throw system::SystemError(EACCES, "writing " + path);
  }
  if (!fail_saves_of.empty() && path.ends_with("/" + fail_saves_of)) {
    throw system::SystemError(ENOSPC, "Cannot write the file '" + path + "'");
  }
  EnvWrapper::WriteFileAtomic(path, contents);
}

std::unique_ptr<system::AtomicFile> TestEnv::NewAtomicFile(const std::string& path) {
  if (fail_dictionary_saves && path.ends_with("Veltrano.xls")) {
    throw system::SystemError(ENOSPC, "Cannot write the file '" + path + "'");
  }
  return EnvWrapper::NewAtomicFile(path);
}

std::unique_ptr<system::RandomRWFile> TestEnv::NewRandomRWFile(const std::string& path) {
  if (fail_dictionary_saves && path.ends_with("Veltrano.xls")) {
    throw system::SystemError(ENOSPC, "Cannot write the file '" + path + "'");
  }
  return EnvWrapper::NewRandomRWFile(path);
}

std::vector<std::string> TestEnv::ListFiles(const std::string& folder, std::string_view pattern) {
  if (fail_listing) throw system::SystemError(EIO, "listing " + folder);
  return EnvWrapper::ListFiles(folder, pattern);
}

void MaintenanceBackend::DoEvents() {
  RecordingBackend::DoEvents();
  if (on_events) std::exchange(on_events, nullptr)();
}

ui::Answer MaintenanceBackend::ShowMessage(const ui::MessageRequest& request) {
  if (on_message) on_message(request);
  return RecordingBackend::ShowMessage(request);
}

void MaintenanceTest::SetUp() {
  PictureTest::SetUp();
  backend_scope_.emplace(backend_);
  test_env_.emplace(&env_);
  test_env_scope_.emplace(&*test_env_);
  Choose({}, std::nullopt);
}

void MaintenanceTest::TearDown() {
  test_env_scope_.reset();
  backend_scope_.reset();
  PictureTest::TearDown();
}

void MaintenanceTest::Choose(const std::vector<std::string>& select,
                             const std::optional<std::string>& lang_number) {
  ui::Options options;
  options.mode = ui::Mode::NoGui;
  options.batch = true;
  options.transcript_path = (dir() / "transcript.jsonl").string();
  options.program_name = "vtmaintenance_tests";
  for (const std::string& name : select) {
    if (name == "*") {
      options.batch_inputs.select_all = true;
    } else {
      options.batch_inputs.select.push_back(name);
    }
  }
  options.batch_inputs.lang_number = lang_number;
  ui::Configure(options);
}

void MaintenanceTest::Answer(std::initializer_list<ui::Answer> answers) {
  backend_.answers.assign(answers);
  backend_.next = 0;
}

std::vector<nlohmann::json> MaintenanceTest::WindowsAndLaunches() const {
  std::vector<nlohmann::json> lines;
  for (nlohmann::json& line : vt::testing::ReadTranscript(dir() / "transcript.jsonl")) {
    if (!line.contains("text")) lines.push_back(std::move(line));
  }
  return lines;
}

std::string MaintenanceTest::PictureBytes(const std::string& name) const {
  return vt::testing::ReadFile(pictures() / (name + ".grf"));
}

Rows SampleDictionary() {
  return {
      {"Boiler overview", "Kesselübersicht", "Vue chaudière"},
      {"Stop", "Stoppen", "Arrêt"},
      {"Start", "Starten", ""},
  };
}

void MaintenanceTest::WriteSampleApplication() const {
  WriteDictionary(SampleDictionary());
  WritePicture("Main.grf", Picture({Text("txtTitle", "Boiler overview"), Text("txtStop", "Stop")}));
  WritePicture("Pump.grf", Picture({Text("txtStart", "Start")}));
  WritePicture("New.grf", Picture({Text("txtFeed", "Feed pump"),
                                   Group("grp", {Text("txtFeedAgain", " Feed pump ")})}));
}

Message Warning(const std::string& text) { return {text, " Veltrano - Warning", 48}; }

Message Information(const std::string& text) { return {text, " Veltrano - Informations", 64}; }

Message UpdateNotice() {
  return {
      "DON'T DO ANYTHING while verifying and updating dictionary !\r\n"
      "This procedure will open each selected picture, then it may require a long time ...",
      " Veltrano - Information", 65};
}

Message ChangeNotice() {
  return {
      "DON'T DO ANYTHING while changing the development language !\r\n"
      "This procedure will open each picture twice, then it may require a long time.\r\n"
      "Remember that it is recommended to have a BACKUP of the whole pictures folder.\r\n"
      "\r\nDo you wish to proceed ?",
      " Veltrano - Information", 36};
}

Message Confirmation() {
  return {"Did you select ALL the pictures included in your iFix application ?",
          " Veltrano - Confirmation request", 36};
}

}  // namespace vt::maintenance::testing
