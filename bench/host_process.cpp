#include "bench/host_process.h"

#include <stdexcept>
#include <utility>

namespace vt::bench {

namespace fs = std::filesystem;

ui::Answer RecordingBackend::ShowMessage(const ui::MessageRequest& request) {
  boxes.push_back({std::string(request.title), request.style, std::string(request.text)});
  switch (request.style & 0xF) {
    case 4:  // Yes, No
    case 3:  // Yes, No, Cancel
      return ui::Answer::Yes;
    case 2:  // Abort, Retry, Ignore
      return ui::Answer::Abort;
    case 5:  // Retry, Cancel
      return ui::Answer::Retry;
    default:
      return ui::Answer::Ok;
  }
}

InProcessHost::InProcessHost(const fs::path& pictures, ui::BatchInputs inputs)
    : pictures_(pictures) {
  ui::Options options;
  options.mode = ui::Mode::NoGui;
  options.batch = true;
  options.program_name = "veltrano_bench";
  options.batch_inputs = std::move(inputs);
  ui::Configure(options);
  backend_scope_.emplace(backend_);
  env_scope_.emplace(&env_);
  workspace_ = std::make_shared<host::Workspace>(pictures_);
  registration_.emplace(workspace_);
}

InProcessHost::~InProcessHost() {
  registration_.reset();
  workspace_.reset();
  env_scope_.reset();
  backend_scope_.reset();
}

std::shared_ptr<interpreter::VeltranoModule> InProcessHost::CreateReady() {
  auto object = std::make_shared<interpreter::VeltranoModule>(session_);
  if (object->lifecycle() != interpreter::Lifecycle::Ready) {
    ExpectQuiet("creation");
    throw std::runtime_error("the interpreter object is not Ready");
  }
  return object;
}

std::vector<Box> InProcessHost::TakeBoxes() { return std::exchange(backend_.boxes, {}); }

void InProcessHost::ExpectQuiet(const std::string& what) {
  const fs::path log = pictures_ / "Veltrano" / "Veltrano.log";
  std::vector<Box> boxes = TakeBoxes();
  if (!boxes.empty()) {
    throw std::runtime_error(what + " showed the box \"" + boxes.front().title +
                             "\": " + boxes.front().text);
  }
  if (fs::exists(log)) throw std::runtime_error(what + " logged a failure in " + log.string());
}

}  // namespace vt::bench
