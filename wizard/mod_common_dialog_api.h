#pragma once

#include <optional>
#include <string>

namespace vt::wizard {

// The window a dialog belongs to (the view's own widget); opaque here.
using WindowHandle = void*;

// The desktop's folder-selection dialog, behind one interface so that tests
// and the unattended run can give its answer (see ScopedFolderDialog).
class FolderDialog {
 public:
  virtual ~FolderDialog();

  // The platform's dialog (Qt's on Linux); its source file is chosen by the
  // build. Never destroyed.
  static FolderDialog* Default();

  // Shows the modal dialog owned by `owner` with `title`, starting at the
  // desktop; the chosen folder's full path, or nothing when it was cancelled.
  virtual std::optional<std::string> ChooseFolder(WindowHandle owner, const std::string& title) = 0;
};

// FolderDialog::Default() unless a ScopedFolderDialog is alive.
FolderDialog& CurrentFolderDialog();

class ScopedFolderDialog {
 public:
  explicit ScopedFolderDialog(FolderDialog* dialog);
  ~ScopedFolderDialog();
  ScopedFolderDialog(const ScopedFolderDialog&) = delete;
  ScopedFolderDialog& operator=(const ScopedFolderDialog&) = delete;

 private:
  FolderDialog* previous_;
};

// The chosen folder's full path, or "" when the user cancels. Reports nothing:
// failures reach the caller.
std::string BrowseForFolder(WindowHandle lngOwnerWindow, const std::string& strTitle);

// The text up to, not including, its first NUL character.
std::string TrimAtNull(const std::string& strText);

}  // namespace vt::wizard
