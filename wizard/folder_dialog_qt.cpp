#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>
#include <QWidget>

#include "wizard/mod_common_dialog_api.h"

namespace vt::wizard {
namespace {

class QtFolderDialog final : public FolderDialog {
 public:
  std::optional<std::string> ChooseFolder(WindowHandle owner, const std::string& title) override {
    QString start = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!QDir(start).exists()) start = QDir::homePath();
    const QString folder = QFileDialog::getExistingDirectory(static_cast<QWidget*>(owner),
                                                             QString::fromStdString(title), start,
                                                             QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(folder).toStdString();
  }
};

}  // namespace

FolderDialog* FolderDialog::Default() {
  static QtFolderDialog* const dialog = new QtFolderDialog;  // used until exit
  return dialog;
}

}  // namespace vt::wizard
