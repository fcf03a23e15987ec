#include "wizard/mod_common_dialog_api.h"

namespace vt::wizard {
namespace {

FolderDialog* override_dialog = nullptr;

}  // namespace

FolderDialog::~FolderDialog() = default;

FolderDialog& CurrentFolderDialog() {
  return override_dialog != nullptr ? *override_dialog : *FolderDialog::Default();
}

ScopedFolderDialog::ScopedFolderDialog(FolderDialog* dialog) : previous_(override_dialog) {
  override_dialog = dialog;
}

ScopedFolderDialog::~ScopedFolderDialog() { override_dialog = previous_; }

std::string BrowseForFolder(WindowHandle lngOwnerWindow, const std::string& strTitle) {
  const std::optional<std::string> chosen =
      CurrentFolderDialog().ChooseFolder(lngOwnerWindow, strTitle);
  if (!chosen) return {};
  // The path comes back whole whatever its length: folders here may be longer
  // than the 259 characters a Windows path buffer holds, and a shortened path
  // would name another folder.
  return TrimAtNull(*chosen);
}

std::string TrimAtNull(const std::string& strText) { return strText.substr(0, strText.find('\0')); }

}  // namespace vt::wizard
