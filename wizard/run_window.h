#pragma once

#include <functional>
#include <optional>
#include <string>

#include "wizard/preset.h"

namespace vt::wizard {

// The wizard's window for a person; one source file per platform (Qt widgets
// on Linux, Win32 on Windows).

// False when no window can be shown here (no display).
bool CanShowWindow();

// Opens the window with what the command line presets and returns once the
// form has unloaded: 0 when the files were made, 1 otherwise. `configure`
// sets up the message boxes once the platform's windowing is ready.
int RunWindow(const std::optional<std::string>& folder, const FileChoice& files,
              const std::function<void()>& configure);

}  // namespace vt::wizard
