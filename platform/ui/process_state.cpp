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
  bool note_failures = false;
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

void InstallConfigured(std::shared_ptr<Backend> backend, Options options) {
  ProcessState& s = State();
  s.configured = std::move(backend);
  s.transcript_path = std::move(options.transcript_path);
  s.program_name = std::move(options.program_name);
  s.batch_inputs = std::move(options.batch_inputs);
  s.note_failures = options.note_failures;
  s.configured_once = true;
}

Backend* SwapOverride(Backend* backend) { return std::exchange(State().override_backend, backend); }

std::string TranscriptPath() { return State().transcript_path; }

bool NoteFailures() { return State().note_failures; }

std::string ProgramName() { return State().program_name; }

}  // namespace vt::ui::detail

namespace vt::ui {

const BatchInputs& CurrentBatchInputs() { return detail::State().batch_inputs; }

}  // namespace vt::ui
