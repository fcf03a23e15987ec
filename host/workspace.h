#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/automation/dispatch.h"

namespace vt::host {

// The workspace object that the library reaches as "Workspace.Application".
// For now it answers System.FixPath; the documents come with the pictures.
class Workspace : public automation::DispatchObject {
 public:
  explicit Workspace(std::filesystem::path pictures);
  std::string TypeName() const override;

  const std::filesystem::path& pictures() const { return pictures_; }

 private:
  std::filesystem::path pictures_;
  automation::ObjectRef system_;
};

// The class name under which the running host registers its workspace.
inline constexpr const char* kWorkspaceClass = "Workspace.Application";

// Registers the workspace in the running-object table for its lifetime.
class WorkspaceRegistration {
 public:
  explicit WorkspaceRegistration(std::shared_ptr<Workspace> workspace);
  WorkspaceRegistration(const WorkspaceRegistration&) = delete;
  WorkspaceRegistration& operator=(const WorkspaceRegistration&) = delete;
  ~WorkspaceRegistration();
};

}  // namespace vt::host
