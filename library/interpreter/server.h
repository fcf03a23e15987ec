#pragma once

#include "platform/automation/server.h"

// The library as an in-process automation server: the identity of its one
// class and the count of its live objects (DllCanUnloadNow answers from it).
// The entry points are those of the platform: server.cpp has ours (C linkage,
// text class ids), server_windows.cpp those of COM.
namespace vt::interpreter {

inline constexpr const char* kProgId = "Veltrano.VeltranoModule";
inline constexpr const char* kClsid = "{7C3E9A41-2B5D-4E8F-9A16-0D4B8C2F5E73}";

automation::ObjectCounter& LiveObjects();

}  // namespace vt::interpreter
