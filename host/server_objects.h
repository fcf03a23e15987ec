#pragma once

#include <memory>
#include <string_view>

#include "platform/automation/dispatch.h"

// How the host reaches the classes that servers register: through the class
// registry of our runtime on Linux, through COM on Windows (the ProgID in the
// system registry, CoCreateInstance), as the real host does.
namespace vt::host {

// Joins the platform's object runtime for the life of what it returns: a
// single-threaded COM apartment on Windows, nothing on Linux. On Windows the
// host's objects then name their interfaces apart from their classes, as the
// real components do (TextBox: IMdcText).
std::shared_ptr<void> JoinObjectRuntime();

// A new object of the class `progid`; automation::Error 429 naming the class
// and the reason when it cannot be made.
automation::ObjectRef CreateServerObject(std::string_view progid);

// Unloads the server libraries that say they can go.
void FreeUnusedServers();

}  // namespace vt::host
