#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "host/pictures/documents.h"
#include "platform/automation/dispatch.h"

namespace vt::host {

// The workspace object that the library reaches as "Workspace.Application":
// System.FixPath(1) and the open pictures, Documents.
class Workspace : public automation::DispatchObject {
 public:
  explicit Workspace(std::filesystem::path pictures);
  std::string TypeName() const override;

  const std::filesystem::path& pictures() const { return pictures_; }
  pictures::Documents& documents() { return *documents_; }
  // The file of the picture NAME in the pictures folder: NAME.grf, or NAME
  // as given when it already ends in ".grf" (any case).
  std::string PicturePath(const std::string& name) const;

 private:
  std::filesystem::path pictures_;
  automation::ObjectRef system_;
  std::shared_ptr<pictures::Documents> documents_;
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
