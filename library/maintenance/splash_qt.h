#pragma once

#include <QDialog>
#include <QPixmap>
#include <functional>

#include "library/maintenance/splash_form.h"

namespace vt::maintenance {

// The product logo, 291 x 81 pixels, drawn rather than shipped as a file.
QPixmap VeltranoLogo();

// The Qt view of frmSplash, built to the panel's layout: white, no title bar,
// the logo and the version, five white buttons. Its widgets carry the
// controls' names (objectName).
class SplashDialog final : public QDialog {
 public:
  // Runs Form_Load and shows its result.
  explicit SplashDialog(SplashForm& form);

 protected:
  // Closed only through Ok.
  void reject() override {}
  void closeEvent(QCloseEvent* event) override;
  // The two outlines, shpFrame and shpReleaseFrame.
  void paintEvent(QPaintEvent* event) override;

 private:
  void Raise(const std::function<void()>& procedure);

  SplashForm& form_;
};

}  // namespace vt::maintenance
