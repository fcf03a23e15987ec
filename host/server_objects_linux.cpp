#include "host/server_objects.h"
#include "platform/automation/runtime.h"

namespace vt::host {

std::shared_ptr<void> JoinObjectRuntime() { return nullptr; }

automation::ObjectRef CreateServerObject(std::string_view progid) {
  return automation::CreateObject(progid);
}

void FreeUnusedServers() { automation::FreeUnusedLibraries(); }

}  // namespace vt::host
