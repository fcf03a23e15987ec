// clang-format off
#include <windows.h>
#include <objbase.h>
// clang-format on

#include "wizard/frm_rostavel_win32view.h"
#include "wizard/run_window.h"

namespace vt::wizard {

// A window can be shown where the window station is the visible one.
bool CanShowWindow() {
  USEROBJECTFLAGS flags{};
  DWORD needed = 0;
  return ::GetUserObjectInformationW(::GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags,
                                     &needed) &&
         (flags.dwFlags & WSF_VISIBLE) != 0;
}

int RunWindow(const std::optional<std::string>& folder, const FileChoice& files,
              const std::function<void()>& configure) {
  // The shell's folder dialog needs a single-threaded apartment.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  configure();
  FrmRostavelWin32View view;
  view.Run([&](FrmRostavel& form) { PresetForm(form, folder, files); });
  if (SUCCEEDED(com)) ::CoUninitialize();
  const FrmRostavel& form = view.form();
  return form.Completed() && form.FailuresReported() == 0 ? 0 : 1;
}

}  // namespace vt::wizard
