// What `regsvr [-u]` does, on both builds: the library's own registration
// entry point, called by name.
#include <filesystem>
#include <string>

#include "platform/automation/error.h"
#include "platform/automation/runtime.h"
#include "platform/automation/server.h"
#include "platform/system/dynamic_library.h"
#include "platform/system/utf8_path.h"

namespace vt::automation {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const fs::path& p) { return "\"" + system::Utf8FromPath(p) + "\""; }

template <typename Fn>
Fn Symbol(void* handle, const char* name) {
  // POSIX and Win32 both guarantee that a function's address survives the trip
  // through void*.
  return reinterpret_cast<Fn>(system::LibrarySymbol(handle, name));
}

// Loads `library` for one entry point call, then lets it go.
void CallRegistration(const fs::path& library, const char* entry_point) {
  const fs::path path = fs::absolute(library);
  const system::LoadedLibrary loaded = system::LoadLibraryAt(system::Utf8FromPath(path));
  void* handle = loaded.handle;
  if (!handle) {
    throw errors::FileAccess("cannot load the server library " + Quoted(path) + ": " +
                             loaded.error);
  }
  struct Closer {
    void* handle;
    ~Closer() { system::UnloadLibrary(handle); }
  } closer{handle};

  auto fn = Symbol<DllRegisterServerFn>(handle, entry_point);
  if (!fn) {
    throw errors::InvalidCall(Quoted(path) + " is not a server library: it has no " + entry_point);
  }
  GetErrorInfo();  // forget what an earlier call left
  const HResult hr = fn();
  if (hr != kSOk) {
    std::string text =
        std::string(entry_point) + " in " + Quoted(path) + " failed with " + FormatHResult(hr);
    if (std::string info = GetErrorInfo(); !info.empty()) text += ": " + info;
    throw Error(hr, text);
  }
}

}  // namespace

void RegisterServerLibrary(const fs::path& library) {
  CallRegistration(library, "DllRegisterServer");
}

void UnregisterServerLibrary(const fs::path& library) {
  CallRegistration(library, "DllUnregisterServer");
}

}  // namespace vt::automation
