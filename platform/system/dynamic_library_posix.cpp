#include <dlfcn.h>

#include "platform/system/dynamic_library.h"

namespace vt::system {

LoadedLibrary LoadLibraryAt(const std::string& path) {
  LoadedLibrary loaded;
  loaded.handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (loaded.handle == nullptr) {
    const char* reason = ::dlerror();
    loaded.error = reason != nullptr ? reason : "unknown reason";
  }
  return loaded;
}

void* LibrarySymbol(void* handle, const char* name) { return ::dlsym(handle, name); }

void UnloadLibrary(void* handle) { ::dlclose(handle); }

std::string PathOfLibraryContaining(const void* address) {
  Dl_info info{};
  if (::dladdr(address, &info) == 0 || info.dli_fname == nullptr) return {};
  return info.dli_fname;
}

}  // namespace vt::system
