#include <windows.h>

#include <memory>
#include <utility>

#include "platform/ui/backend_windows.h"
#include "platform/ui/batch_backend.h"
#include "platform/ui/configure.h"
#include "platform/ui/process_state.h"

namespace vt::ui {

// The message boxes of Windows take the place of Qt's: they can be shown when
// the process's window station is the visible, interactive one (not a
// service's). There is no terminal back end here.
Surroundings CurrentSurroundings() {
  Surroundings s;
  USEROBJECTFLAGS flags{};
  DWORD needed = 0;
  s.has_widget_application = ::GetUserObjectInformationW(::GetProcessWindowStation(), UOI_FLAGS,
                                                         &flags, sizeof flags, &needed) &&
                             (flags.dwFlags & WSF_VISIBLE) != 0;
  s.platform_name = "windows";
  return s;
}

void Configure(Options options) {
  std::shared_ptr<Backend> backend;
  if (ChooseBackend(options, CurrentSurroundings()) == BackendKind::Qt) {
    backend = std::make_shared<WindowsBackend>();
  } else {
    backend = detail::MakeBatchBackend(options);
  }
  detail::InstallConfigured(std::move(backend), std::move(options));
}

}  // namespace vt::ui
