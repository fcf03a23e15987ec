#pragma once

#include <string>

namespace vt::system {

// Shared libraries loaded by path (dlopen on POSIX, LoadLibraryW on Windows).
// Handles are opaque; each Load is matched by one Unload.
struct LoadedLibrary {
  void* handle = nullptr;
  std::string error;  // why Load failed, from the operating system
};
LoadedLibrary LoadLibraryAt(const std::string& path);
// The address of an exported function, or nullptr.
void* LibrarySymbol(void* handle, const char* name);
void UnloadLibrary(void* handle);

// The file of the loaded library (or program) that holds `address`; empty
// when the operating system cannot tell.
std::string PathOfLibraryContaining(const void* address);

}  // namespace vt::system
