#pragma once

// Stand-ins for what the library asks of its host: the process list that
// tells it FIX.exe runs, and a workspace answering System.FixPath(1).

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/system/env.h"

namespace vt::testing {

// The real operating system, except for the running processes: FIX.exe among
// them until a test takes it away.
class HostEnv : public system::EnvWrapper {
 public:
  HostEnv() : EnvWrapper(system::Env::Default()) {}

  std::vector<std::string> RunningProcessExecutableNames() override;
  void SetFixRunning(bool running);

  std::vector<std::string> processes{"systemd", "bash", "FIX.exe"};
  // When set, reading the list fails with this message.
  std::optional<std::string> process_list_error;
  int process_list_calls = 0;
};

// The host's System object: FixPath(1) is the pictures folder.
class FakeSystem : public automation::DispatchObject {
 public:
  explicit FakeSystem(std::string fix_path);
  std::string TypeName() const override { return "System"; }

  int calls = 0;
  std::vector<automation::VarType> argument_types;
  bool fail = false;

 private:
  std::string fix_path_;
};

// The host's Application object, for suites that do not link the real host.
class FakeWorkspace : public automation::DispatchObject {
 public:
  explicit FakeWorkspace(std::string fix_path);
  std::string TypeName() const override { return "Application"; }

  std::shared_ptr<FakeSystem> system;
};

// `workspace` is the running "Workspace.Application" while this object lives
// (registered with COM on Windows, as FIX.exe registers its own).
class ScopedWorkspace {
 public:
  explicit ScopedWorkspace(automation::ObjectRef workspace);
  ~ScopedWorkspace();
  ScopedWorkspace(const ScopedWorkspace&) = delete;
  ScopedWorkspace& operator=(const ScopedWorkspace&) = delete;

 private:
  std::shared_ptr<void> object_runtime_;
};

}  // namespace vt::testing
