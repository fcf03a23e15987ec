// What every back end does for DoEvents and the mouse pointer when the
// process runs Qt, whatever answers its message boxes.

#include <QCoreApplication>
#include <QGuiApplication>

#include "platform/ui/backend.h"

namespace vt::ui {

void Backend::DoEvents() {
  if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
}

void Backend::RestoreDefaultMousePointer() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return;
  while (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
}

}  // namespace vt::ui
