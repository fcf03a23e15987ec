#pragma once

// The Windows back end's boundary: UTF-8 inside the program, UTF-16 at the
// Win32 functions, and Win32 error codes turned into the errno values that
// callers of Env tell apart.

// env.h before windows.h, whose A/W macros would otherwise rename Env's
// CopyFile and CreateDirectory in this file only.
#include "platform/system/env.h"
// clang-format off
#include <windows.h>
// clang-format on
#undef CopyFile
#undef CreateDirectory
#undef GetPrivateProfileString
#undef WritePrivateProfileString

#include <string>
#include <string_view>

namespace vt::system::windows {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// The errno value closest to a Win32 error (ENOENT, EACCES, ENOSPC, ...; EIO
// for the rest).
int ErrnoFor(DWORD error);
// SystemError for GetLastError(), or for `error`.
SystemError LastError(const std::string& what);
SystemError ErrorFor(DWORD error, const std::string& what);

// Folder and last name of a path, either separator.
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

// Closes a handle when it goes.
class Handle {
 public:
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~Handle() { Close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  void Reset(HANDLE handle) {
    Close();
    handle_ = handle;
  }
  bool Close() {
    const bool ok = !valid() || ::CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  HANDLE handle_;
};

}  // namespace vt::system::windows
