#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "host/pictures/documents.h"
#include "platform/automation/dispatch.h"

namespace vt::host {

// The workspace object that the library reaches as "Workspace.Application":
// System.FixPath(1) and the open pictures, Documents; for scripts, also
// LoadAlarms(csv), an alarm list as one of the host's recordsets.
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

// The class name under which the running host registers its workspace, and
// its class id (on Windows, where COM hands the workspace out).
inline constexpr const char* kWorkspaceClass = "Workspace.Application";
inline constexpr const char* kWorkspaceClassId = "{9528F1FE-A2D3-4401-9E7D-9BDDC18D1C8A}";

// Makes the workspace the one that GetObject finds, for its lifetime: in the
// process's running-object table on Linux, through COM on Windows (the class
// for the user, its class object and running object while FIX.exe runs).
class WorkspaceRegistration {
 public:
  explicit WorkspaceRegistration(std::shared_ptr<Workspace> workspace);
  WorkspaceRegistration(const WorkspaceRegistration&) = delete;
  WorkspaceRegistration& operator=(const WorkspaceRegistration&) = delete;
  ~WorkspaceRegistration();
};

}  // namespace vt::host
