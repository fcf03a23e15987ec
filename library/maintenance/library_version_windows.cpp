// clang-format off
#include <windows.h>
// clang-format on

#include <stdexcept>
#include <string>
#include <vector>

#include "library/maintenance/library_version.h"

namespace vt::maintenance {
namespace {

std::wstring OwnFile() {
  HMODULE self = nullptr;
  if (!::GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&OwnLibraryVersion), &self)) {
    throw std::runtime_error("the library cannot find its own file (error " +
                             std::to_string(::GetLastError()) + ")");
  }
  std::wstring path(32768, L'\0');
  const DWORD length = ::GetModuleFileNameW(self, path.data(), static_cast<DWORD>(path.size()));
  path.resize(length);
  return path;
}

std::string Utf8(const std::wstring& wide) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                        nullptr, nullptr);
  return text;
}

}  // namespace

LibraryVersion OwnLibraryVersion() {
  const std::wstring file = OwnFile();
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &ignored);
  std::vector<unsigned char> data(size);
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (size == 0 || !::GetFileVersionInfoW(file.c_str(), 0, size, data.data()) ||
      !::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
      fixed == nullptr || length < sizeof(VS_FIXEDFILEINFO)) {
    throw std::runtime_error("the version resource of \"" + Utf8(file) + "\" cannot be read");
  }
  return {static_cast<int>(HIWORD(fixed->dwFileVersionMS)),
          static_cast<int>(LOWORD(fixed->dwFileVersionMS))};
}

}  // namespace vt::maintenance
