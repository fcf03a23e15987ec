#pragma once

// The host around an interpreter object made in this process, as FIX.exe
// provides it: FIX.exe among the running processes, the real workspace
// (System.FixPath, Documents) registered as "Workspace.Application", message
// boxes answered and recorded, the dialogs' batch inputs configured.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/workspace.h"
#include "library/interpreter/veltrano_module.h"
#include "platform/system/env.h"
#include "platform/ui/backend.h"
#include "platform/ui/configure.h"

namespace vt::bench {

struct Box {
  std::string title;
  int style = 0;
  std::string text;
};

// Answers every box with its first button and keeps it.
class RecordingBackend : public ui::Backend {
 public:
  std::string_view Name() const override { return "bench"; }
  ui::Answer ShowMessage(const ui::MessageRequest& request) override;
  void DoEvents() override {}
  void RestoreDefaultMousePointer() override {}
  bool Attended() const override { return false; }

  std::vector<Box> boxes;
};

class HostEnv : public system::EnvWrapper {
 public:
  HostEnv() : EnvWrapper(system::Env::Default()) {}
  std::vector<std::string> RunningProcessExecutableNames() override { return {"FIX.exe"}; }
};

class InProcessHost {
 public:
  // `inputs`: what the picture-selection dialogs' batch views check and type.
  explicit InProcessHost(const std::filesystem::path& pictures, ui::BatchInputs inputs = {});
  ~InProcessHost();
  InProcessHost(const InProcessHost&) = delete;
  InProcessHost& operator=(const InProcessHost&) = delete;

  host::Workspace& workspace() { return *workspace_; }
  const std::filesystem::path& pictures() const { return pictures_; }

  // A new interpreter object; throws unless it is Ready without a word.
  std::shared_ptr<interpreter::VeltranoModule> CreateReady();

  // The boxes shown since the last call.
  std::vector<Box> TakeBoxes();
  // Throws when a box was shown or a failure logged: a figure taken over a
  // failure means nothing.
  void ExpectQuiet(const std::string& what);

 private:
  std::filesystem::path pictures_;
  // The module-level state of the objects made here, fresh for each host.
  interpreter::Session session_;
  RecordingBackend backend_;
  HostEnv env_;
  std::shared_ptr<host::Workspace> workspace_;
  std::optional<ui::ScopedBackend> backend_scope_;
  std::optional<system::ScopedEnvOverride> env_scope_;
  std::optional<host::WorkspaceRegistration> registration_;
};

}  // namespace vt::bench
