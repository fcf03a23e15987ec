#include "platform/ui/process_state.h"

#include <utility>

#include "platform/ui/configure.h"

namespace vt::ui::detail {
namespace {

struct ProcessState {
  std::shared_ptr<Backend> configured;
  Backend* override_backend = nullptr;
  std::string transcript_path;
  std::string program_name;
  BatchInputs batch_inputs;
  bool configured_once = false;
};

ProcessState& State() {
  static ProcessState state;
  return state;
}

}  // namespace

std::shared_ptr<Backend> AcquireBackend() {
  ProcessState& s = State();
  if (s.override_backend != nullptr) {
    // Aliasing constructor: a non-owning pointer, the scope owns the back end.
    return std::shared_ptr<Backend>(std::shared_ptr<Backend>(), s.override_backend);
  }
  if (!s.configured_once) Configure(OptionsFromEnvironment());
  return s.configured;
}

void InstallConfigured(std::shared_ptr<Backend> backend, std::string transcript_path,
                       std::string program_name, BatchInputs batch_inputs) {
  ProcessState& s = State();
  s.configured = std::move(backend);
  s.transcript_path = std::move(transcript_path);
  s.program_name = std::move(program_name);
  s.batch_inputs = std::move(batch_inputs);
  s.configured_once = true;
}

Backend* SwapOverride(Backend* backend) { return std::exchange(State().override_backend, backend); }

std::string TranscriptPath() { return State().transcript_path; }

std::string ProgramName() { return State().program_name; }

}  // namespace vt::ui::detail

namespace vt::ui {

const BatchInputs& CurrentBatchInputs() { return detail::State().batch_inputs; }

}  // namespace vt::ui
