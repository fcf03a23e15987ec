#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "platform/automation/dispatch.h"

// Creating and finding objects by class name, as the host's scripts do.
namespace vt::automation {

// Looks `progid` up in the class registry (ClassRegistryPath()), loads its
// server library, asks the library's class factory for a new object.
// Any failure is error 429 naming the class and the reason.
ObjectRef CreateObject(std::string_view progid);

// With an empty path: the object that a running program registered under
// `class_name` (error 429 when there is none). Opening a file by path name is
// not something this platform does (error 5).
ObjectRef GetObject(std::string_view path_name, std::string_view class_name);

// The running-object table, one per process. Registering under a taken name
// replaces the earlier object; names match without regard to case.
void RegisterActiveObject(std::string_view class_name, ObjectRef object);
void RevokeActiveObject(std::string_view class_name);

// Unloads every loaded server library whose DllCanUnloadNow says so; returns
// how many were unloaded. Libraries are never unloaded otherwise.
std::size_t FreeUnusedLibraries();
// True while the library at `server` (as the registry names it) is loaded by
// CreateObject.
bool IsServerLoaded(const std::filesystem::path& server);

// What `regsvr [-u]` does: load the library and call its DllRegisterServer
// (or DllUnregisterServer). Throws Error naming the library and what failed.
void RegisterServerLibrary(const std::filesystem::path& library);
void UnregisterServerLibrary(const std::filesystem::path& library);

}  // namespace vt::automation
