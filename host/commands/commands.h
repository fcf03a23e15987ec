#pragma once

#include "host/command.h"

// One function per command, each defined in its own file.
namespace vt::host::commands {

// The class the commands create, as the host's scripts do.
inline constexpr const char* kInterpreterProgId = "Veltrano.VeltranoModule";

Command Regsvr();       // regsvr [-u] LIBRARY
Command SetUserLang();      // set-user-lang USER
Command TranslateString();  // translate-string TEXT [--lang N] [--warn]
Command TranslateAlarms();  // translate-alarms CSV --field N [--lang N] [--from N] [--restore] [-o OUT]

}  // namespace vt::host::commands
