#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>

#include "platform/automation/dispatch.h"

// Creating and finding objects by class name, as the host's scripts do.
namespace vt::automation {

// Looks `progid` up in the class registry (ClassRegistryPath()), loads its
// server library, asks the library's class factory for a new object; on
// Windows asks COM (CLSIDFromProgID, CoCreateInstance with CLSCTX_ALL).
// Any failure is error 429 naming the class and the reason.
ObjectRef CreateObject(std::string_view progid);

// With an empty path: an object of the class `class_name`, as the host's
// scripting gives it for GetObject("", class) (error 429 when there is none).
// Opening a file by path name is not something this platform does (error 5).
// On Linux the running-object table below answers; on Windows COM does
// (CoCreateInstance of the ProgID's class), so that a program that registered
// the class hands out its object to any process.
ObjectRef GetObject(std::string_view path_name, std::string_view class_name);
// GetObject without a path: the object a running program registered under
// `class_name` (the table below on Linux; COM's running-object table on
// Windows). Error 429 when there is none.
ObjectRef GetActiveObject(std::string_view class_name);

// Makes `object` the one that GetObject and GetActiveObject find for
// `class_name`. Registering under a taken name replaces the earlier object;
// names match without regard to case. On Linux a table of the process; on
// Windows the class is written for the user (the ProgID, `clsid`, and this
// program as its LocalServer32) and its class object, which hands out
// `object`, is registered with COM until revoked. (Not COM's running-object
// table: Wine keeps it in an RPC service that a fresh session often fails to
// start, and GetObject with a path, which hosts use, does not need it.)
// `server` false leaves LocalServer32 out: COM then never starts this program
// to ask it for the object (a test program must not be started so).
void RegisterActiveObject(std::string_view class_name, ObjectRef object, const Guid& clsid = {},
                          bool server = true);
void RevokeActiveObject(std::string_view class_name);
// Removes what RegisterActiveObject wrote for the user on Windows (the ProgID
// and the class id's keys under HKEY_CURRENT_USER\Software\Classes);
// nothing there is no failure. The table of Linux leaves nothing to remove.
void UnregisterActiveClass(std::string_view class_name, const Guid& clsid);

// Linux, where our class registry loads the servers: unloads every loaded
// server library whose DllCanUnloadNow says so; returns how many were
// unloaded. Libraries are never unloaded otherwise.
std::size_t FreeUnusedLibraries();
// True while the library at `server` (as the registry names it) is loaded by
// CreateObject.
bool IsServerLoaded(const std::filesystem::path& server);

// What `regsvr [-u]` does: load the library and call its DllRegisterServer
// (or DllUnregisterServer). Throws Error naming the library and what failed.
void RegisterServerLibrary(const std::filesystem::path& library);
void UnregisterServerLibrary(const std::filesystem::path& library);

}  // namespace vt::automation
