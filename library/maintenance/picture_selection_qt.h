#pragma once

#include <QDialog>
#include <functional>

#include "library/maintenance/picture_selection_form.h"

class QLineEdit;
class QListWidget;

namespace vt::maintenance {

// The Qt view of frmUpdateDictionary and frmChangeDevLang, built to the
// dialog's layout. Every click and key goes to the form model's event
// procedures; the dialog closes when the model says so. Its widgets carry the
// controls' names (objectName), so that tests find them.
class PictureSelectionDialog final : public QDialog {
 public:
  // Runs Form_Load and shows its result.
  explicit PictureSelectionDialog(PictureSelectionForm& form);

 protected:
  // Left only through Ok or Cancel: Escape and the window manager's close do
  // nothing.
  void reject() override {}
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // Copies what the person changed into the model, runs the procedure, shows
  // the model's state, and closes when the model has closed.
  void Raise(const std::function<void()>& procedure);
  void ShowModelState();

  PictureSelectionForm& form_;
  QListWidget* list_ = nullptr;
  QLineEdit* lang_number_ = nullptr;
};

}  // namespace vt::maintenance
