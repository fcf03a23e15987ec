#pragma once

#include "host/command.h"

// One function per command, each defined in its own file.
namespace vt::host::commands {

// The class the commands create, as the host's scripts do.
inline constexpr const char* kInterpreterProgId = "Veltrano.VeltranoModule";

Command Regsvr();            // regsvr [-u] LIBRARY
Command SetUserLang();       // set-user-lang USER
Command TranslatePicture();  // translate-picture NAME [--lang N] [--user U] [--save]
Command TranslateAll();      // translate-all [--open NAME]... [--form FILE]... [--save]
// translate-string TEXT [--lang N] [--picture NAME | --form FILE] [--warn]
Command TranslateString();
Command TranslateForm();  // translate-form FILE [--lang N] [--user U]
// translate-alarms CSV --field N [--lang N] [--from N] [--restore]
//                  [--picture NAME | --form FILE] [-o OUT]
Command TranslateAlarms();
Command UpdateDictionary();  // update-dictionary
Command ChangeDevLang();     // change-dev-lang
Command ShowConfig();        // show-config
Command RunScript();         // run SCRIPT.lua [args]
// The commands of one platform: on Windows serve [--stop-file FILE] [--save]
// and unregister-host; none on Linux.
std::vector<Command> PlatformCommands();

}  // namespace vt::host::commands
