// press_window.exe [--wait=SECONDS] TITLE ACTION...: waits (30 s unless told)
// for a visible dialog titled TITLE ("" for one without a title; a final "*"
// matches any ending) and presses its
// controls as a person would, by the names of the layout tables (cmdOk,
// cmdCheckAll, ...), or "ok" for a message box's OK. Exit status 0 when the
// window came and every control was there, 1 otherwise (named on stderr).
// clang-format off
#include "platform/ui/dialog_win32view.h"
// clang-format on

#include <cstdio>
#include <string>

#include "library/maintenance/layout.h"

namespace {

namespace layout = vt::maintenance::layout;
namespace win32 = vt::ui::win32;

struct Search {
  std::wstring title;
  HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<Search*>(parameter);
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  if (!::IsWindowVisible(window) || std::wstring(name) != L"#32770") return TRUE;
  std::wstring title(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  title.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, title.data(), static_cast<int>(title.size()))));
  const bool prefix = !search.title.empty() && search.title.back() == L'*';
  if (prefix ? title.rfind(search.title.substr(0, search.title.size() - 1), 0) != 0
             : title != search.title) {
    return TRUE;
  }
  search.found = window;
  return FALSE;
}

int IdOf(const std::string& name) {
  for (const layout::Window* table : {&layout::PictureSelection(), &layout::Splash()}) {
    for (const layout::Control& control : table->controls) {
      if (name == control.name) return win32::ControlId(*table, name);
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int tenths = 300;
  if (argc > 1 && std::string(argv[1]).rfind("--wait=", 0) == 0) {
    tenths = std::stoi(std::string(argv[1]).substr(7)) * 10;
    --argc;
    ++argv;
  }
  if (argc < 2) {
    std::fprintf(stderr, "usage: press_window [--wait=SECONDS] TITLE ACTION...\n");
    return 2;
  }
  Search search{win32::Wide(argv[1])};
  for (int waited = 0; search.found == nullptr && waited < tenths; ++waited) {
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) ::Sleep(100);
  }
  if (search.found == nullptr) {
    std::fprintf(stderr, "press_window: no window \"%s\"\n", argv[1]);
    return 1;
  }
  ::Sleep(200);  // shown and focused
  for (int i = 2; i < argc; ++i) {
    const std::string action = argv[i];
    if (action == "ok") {
      ::PostMessageW(search.found, WM_COMMAND, IDOK, 0);
    } else {
      HWND control = ::GetDlgItem(search.found, IdOf(action));
      if (control == nullptr) {
        std::fprintf(stderr, "press_window: no control %s in \"%s\"\n", action.c_str(), argv[1]);
        return 1;
      }
      ::PostMessageW(control, BM_CLICK, 0, 0);
    }
    ::Sleep(300);
  }
  return 0;
}
