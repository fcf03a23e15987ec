#include "host/workspace.h"

#include <utility>

#include "host/options.h"
#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "platform/data/csv.h"
#include "platform/system/utf8_path.h"

namespace vt::host {
namespace {

using automation::Variant;

// The workspace's System object: the folders of the installation.
class SystemObject : public automation::DispatchObject {
 public:
  explicit SystemObject(std::string pictures) : pictures_(std::move(pictures)) {
    AddMethod("FixPath", [this](std::span<Variant> args) { return FixPath(args); });
  }
  std::string TypeName() const override { return "System"; }

 private:
  Variant FixPath(std::span<Variant> args) const {
    if (args.size() != 1) {
      throw automation::errors::InvalidCall("FixPath takes one argument, the folder's number");
    }
    const std::int16_t which = args[0].ToInteger();
    if (which != 1) {
      throw automation::errors::InvalidCall("FixPath(" + std::to_string(which) +
                                            "): only folder 1, the pictures, is known");
    }
    return Variant(pictures_);
  }

  std::string pictures_;
};

}  // namespace

Workspace::Workspace(std::filesystem::path pictures)
    : pictures_(std::move(pictures)),
      system_(std::make_shared<SystemObject>(FixPathText(pictures_))),
      documents_(std::make_shared<pictures::Documents>(pictures_)) {
  AddProperty("System", [this](std::span<Variant>) { return Variant(system_); });
  AddProperty("Documents", [this](std::span<Variant>) { return Variant(documents_); });
  // A script in another process (cscript beside FIX.exe serve) has no host of
  // its own to make recordsets: it asks the workspace for one.
  AddMethod("LoadAlarms", [](std::span<Variant> args) {
    if (args.size() != 1) {
      throw automation::errors::InvalidCall("LoadAlarms takes one argument, the alarm list");
    }
    return Variant(automation::ObjectRef(data::LoadCsv(args[0].ToString())));
  });
}

std::string Workspace::PicturePath(const std::string& name) const {
  const bool has_extension = pictures::HasPictureExtension(name);
  return system::Utf8FromPath(pictures_ /
                              system::PathFromUtf8(has_extension ? name : name + ".grf"));
}

std::string Workspace::TypeName() const { return "Application"; }

WorkspaceRegistration::WorkspaceRegistration(std::shared_ptr<Workspace> workspace) {
  automation::RegisterActiveObject(kWorkspaceClass, std::move(workspace),
                                   automation::Guid::FromString(kWorkspaceClassId));
}

WorkspaceRegistration::~WorkspaceRegistration() { automation::RevokeActiveObject(kWorkspaceClass); }

}  // namespace vt::host
