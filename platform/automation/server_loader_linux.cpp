#include <map>
#include <mutex>
#include <string>

#include "platform/automation/error.h"
#include "platform/automation/registry.h"
#include "platform/automation/runtime.h"
#include "platform/automation/server.h"
#include "platform/system/dynamic_library.h"
#include "platform/system/utf8_path.h"

namespace vt::automation {
namespace {

namespace fs = std::filesystem;

struct LoadedServer {
  void* handle = nullptr;
  DllGetClassObjectFn get_class_object = nullptr;
  DllCanUnloadNowFn can_unload_now = nullptr;
};

struct LoadedServers {
  std::mutex mutex;
  std::map<std::string, LoadedServer> servers;
};

// Never destroyed, like the libraries it holds: objects they made may outlive
// static destruction.
LoadedServers& Servers() {
  static auto* servers = new LoadedServers;
  return *servers;
}

std::string Quoted(const std::string& utf8) { return "\"" + utf8 + "\""; }
std::string Quoted(const fs::path& p) { return Quoted(system::Utf8FromPath(p)); }

template <typename Fn>
Fn Symbol(void* handle, const char* name) {
  // POSIX and Win32 both guarantee that a function's address survives the trip
  // through void*.
  return reinterpret_cast<Fn>(system::LibrarySymbol(handle, name));
}

// The server at `path`, loaded once and kept while CreateObject may need it.
LoadedServer Load(const std::string& path, std::string_view progid) {
  auto& table = Servers();
  std::lock_guard lock(table.mutex);
  if (auto it = table.servers.find(path); it != table.servers.end()) return it->second;

  LoadedServer server;
  system::LoadedLibrary loaded = system::LoadLibraryAt(path);
  server.handle = loaded.handle;
  if (!server.handle) {
    throw errors::CannotCreateObject(
        progid, "cannot load the server library " + Quoted(path) + ": " + loaded.error);
  }
  server.get_class_object = Symbol<DllGetClassObjectFn>(server.handle, "DllGetClassObject");
  server.can_unload_now = Symbol<DllCanUnloadNowFn>(server.handle, "DllCanUnloadNow");
  if (!server.get_class_object || !server.can_unload_now) {
    system::UnloadLibrary(server.handle);
    throw errors::CannotCreateObject(progid, Quoted(path) +
                                                 " is not a server library: it lacks "
                                                 "DllGetClassObject or DllCanUnloadNow");
  }
  table.servers.emplace(path, server);
  return server;
}

}  // namespace

ObjectRef CreateObject(std::string_view progid) {
  ClassRegistry registry;
  fs::path registry_path;
  try {
    registry_path = ClassRegistryPath();
    registry = ClassRegistry::Load(registry_path);
  } catch (const Error& e) {
    throw errors::CannotCreateObject(progid, e.description());
  }
  auto entry = registry.FindByProgId(progid);
  if (!entry) {
    throw errors::CannotCreateObject(
        progid, "no class of that name is registered in " + Quoted(registry_path));
  }

  const LoadedServer server = Load(entry->server, progid);
  GetErrorInfo();
  void* out = nullptr;
  const HResult hr = server.get_class_object(entry->clsid.c_str(), kIidClassFactory, &out);
  if (hr != kSOk || !out) {
    std::string reason =
        "DllGetClassObject of " + Quoted(entry->server) + " failed with " + FormatHResult(hr);
    if (std::string info = GetErrorInfo(); !info.empty()) reason += ": " + info;
    throw errors::CannotCreateObject(progid, reason);
  }
  ObjectRef object;
  try {
    object = static_cast<ClassFactory*>(out)->CreateInstance();
  } catch (...) {
    // The factory promises not to throw; one that does still gets a clear error.
    throw errors::CannotCreateObject(progid, errors::FromCurrentException().description());
  }
  if (!object) {
    std::string info = GetErrorInfo();
    throw errors::CannotCreateObject(progid,
                                     info.empty() ? "the class factory made no object" : info);
  }
  return object;
}

std::size_t FreeUnusedLibraries() {
  auto& table = Servers();
  std::lock_guard lock(table.mutex);
  std::size_t unloaded = 0;
  for (auto it = table.servers.begin(); it != table.servers.end();) {
    if (it->second.can_unload_now() == kSOk) {
      system::UnloadLibrary(it->second.handle);
      it = table.servers.erase(it);
      ++unloaded;
    } else {
      ++it;
    }
  }
  return unloaded;
}

bool IsServerLoaded(const fs::path& server) {
  auto& table = Servers();
  std::lock_guard lock(table.mutex);
  return table.servers.count(system::Utf8FromPath(server)) > 0;
}

}  // namespace vt::automation
