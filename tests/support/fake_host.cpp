#include "tests/support/fake_host.h"

#include <algorithm>
#include <stdexcept>

#include "platform/automation/error.h"
#include "platform/automation/runtime.h"

namespace vt::testing {

using automation::Variant;

namespace {
constexpr const char* kWorkspaceClass = "Workspace.Application";
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

ScopedWorkspace::ScopedWorkspace(automation::ObjectRef workspace) {
  automation::RegisterActiveObject(kWorkspaceClass, std::move(workspace));
}

ScopedWorkspace::~ScopedWorkspace() { automation::RevokeActiveObject(kWorkspaceClass); }

}  // namespace vt::testing
