// The desktop's folder dialog through the shell: SHBrowseForFolderW, the
// item's path, CoTaskMemFree.
// clang-format off
#include <windows.h>
#include <shlobj.h>
// clang-format on

#include <string>

#include "wizard/mod_common_dialog_api.h"

namespace vt::wizard {
namespace {

std::string Utf8(const wchar_t* wide) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string text(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
  text.resize(static_cast<std::size_t>(size - 1));
  return text;
}

std::wstring Wide(const std::string& utf8) {
  const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
  std::wstring text(static_cast<std::size_t>(size > 0 ? size : 1), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, text.data(), size);
  text.resize(text.size() - 1);
  return text;
}

class ShellFolderDialog final : public FolderDialog {
 public:
  std::optional<std::string> ChooseFolder(WindowHandle owner, const std::string& title) override {
    // One request record for the life of the program, filled anew each time;
    // the dialog starts at the desktop and returns file-system folders only.
    static BROWSEINFOW request;
    const std::wstring wide_title = Wide(title);
    request = {};
    request.hwndOwner = static_cast<HWND>(owner);
    request.lpszTitle = wide_title.c_str();
    request.ulFlags = BIF_RETURNONLYFSDIRS;
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    PIDLIST_ABSOLUTE item = ::SHBrowseForFolderW(&request);
    std::optional<std::string> chosen;
    if (item != nullptr) {
      // The path whole: a long path is not cut to MAX_PATH.
      std::wstring path(32768, L'\0');
      chosen = ::SHGetPathFromIDListEx(item, path.data(), static_cast<DWORD>(path.size()),
                                       GPFIDL_DEFAULT)
                   ? Utf8(path.c_str())
                   : std::string();
      ::CoTaskMemFree(item);
    }
    if (SUCCEEDED(com)) ::CoUninitialize();
    return chosen;
  }
};

}  // namespace

FolderDialog* FolderDialog::Default() {
  static ShellFolderDialog* const dialog = new ShellFolderDialog;  // used until exit
  return dialog;
}

}  // namespace vt::wizard
