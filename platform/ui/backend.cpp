#include "platform/ui/backend.h"

#include "platform/ui/process_state.h"

namespace vt::ui {

Backend& CurrentBackend() { return *detail::AcquireBackend(); }

ScopedBackend::ScopedBackend(Backend& backend) : previous_(detail::SwapOverride(&backend)) {}

ScopedBackend::~ScopedBackend() { detail::SwapOverride(previous_); }

}  // namespace vt::ui
