#include "tests/support/fake_host.h"

#include <algorithm>
#include <stdexcept>

#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "tests/support/shell.h"

namespace vt::testing {

using automation::Variant;

namespace {
constexpr const char* kWorkspaceClass = "Workspace.Application";
// FIX.exe's class id for it.
const automation::Guid kWorkspaceClassId =
    automation::Guid::FromString("{9528F1FE-A2D3-4401-9E7D-9BDDC18D1C8A}");
constexpr const char* kHost = "FIX.exe";
}  // namespace

std::vector<std::string> HostEnv::RunningProcessExecutableNames() {
  ++process_list_calls;
  if (process_list_error) throw std::runtime_error(*process_list_error);
  return processes;
}

void HostEnv::SetFixRunning(bool running) {
  std::erase(processes, kHost);
  if (running) processes.emplace_back(kHost);
}

FakeSystem::FakeSystem(std::string fix_path) : fix_path_(std::move(fix_path)) {
  AddMethod("FixPath", [this](std::span<Variant> args) {
    ++calls;
    if (!args.empty()) argument_types.push_back(args[0].type());
    if (args.size() != 1 || args[0].ToInteger() != 1) {
      throw automation::errors::InvalidCall("FixPath wants the area number 1");
    }
    if (fail) throw automation::Error(automation::errors::kFileAccess, "FixPath failed");
    return Variant(fix_path_);
  });
}

FakeWorkspace::FakeWorkspace(std::string fix_path)
    : system(std::make_shared<FakeSystem>(std::move(fix_path))) {
  AddProperty("System", [this](std::span<Variant>) { return Variant(system); });
}

ScopedWorkspace::ScopedWorkspace(automation::ObjectRef workspace)
    : object_runtime_(JoinObjectRuntime()) {
  automation::RegisterActiveObject(kWorkspaceClass, std::move(workspace), kWorkspaceClassId,
                                   /*server=*/false);
}

// The class is removed too, so that no later test finds it registered with
// this program as its server and COM starts the program to ask it.
ScopedWorkspace::~ScopedWorkspace() {
  automation::RevokeActiveObject(kWorkspaceClass);
  try {
    automation::UnregisterActiveClass(kWorkspaceClass, kWorkspaceClassId);
  } catch (const automation::Error&) {
    // Left for the next registration to overwrite.
  }
}

}  // namespace vt::testing
