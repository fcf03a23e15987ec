#include "platform/system/dynamic_library.h"
#include "platform/system/text_windows.h"

namespace vt::system {

namespace {

std::string Describe(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string message = length > 0 ? windows::Narrow(std::wstring_view(text, length))
                                   : "error " + std::to_string(error);
  if (text != nullptr) ::LocalFree(text);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  return message;
}

}  // namespace

LoadedLibrary LoadLibraryAt(const std::string& path) {
  LoadedLibrary loaded;
  loaded.handle =
      ::LoadLibraryExW(windows::Widen(path).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (loaded.handle == nullptr) loaded.error = Describe(::GetLastError());
  return loaded;
}

void* LibrarySymbol(void* handle, const char* name) {
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(handle), name));
}

void UnloadLibrary(void* handle) { ::FreeLibrary(static_cast<HMODULE>(handle)); }

std::string PathOfLibraryContaining(const void* address) {
  HMODULE module = nullptr;
  if (!::GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCWSTR>(address), &module)) {
    return {};
  }
  wchar_t path[MAX_PATH * 4];
  const DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH * 4);
  return length == 0 ? std::string() : windows::Narrow(std::wstring_view(path, length));
}

}  // namespace vt::system
