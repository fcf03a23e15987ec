#include "platform/ui/backend.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include "platform/ui/process_state.h"

namespace vt::ui {

void Backend::DoEvents() {
  if (QCoreApplication::instance() != nullptr) QCoreApplication::processEvents();
}

void Backend::RestoreDefaultMousePointer() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return;
  while (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
}

Backend& CurrentBackend() { return *detail::AcquireBackend(); }

ScopedBackend::ScopedBackend(Backend& backend) : previous_(detail::SwapOverride(&backend)) {}

ScopedBackend::~ScopedBackend() { detail::SwapOverride(previous_); }

}  // namespace vt::ui
