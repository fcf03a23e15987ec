#pragma once

#include <string>
#include <vector>

namespace vt::system {

// Starts `argv` (argv[0] looked up in $PATH) in a new session through a
// short-lived /bin/sh that puts it in the background and exits at once; the
// shell is reaped here, the program is adopted by init. Returns without
// waiting for the program; raises SystemError when the shell cannot start.
void SpawnDetached(const std::vector<std::string>& argv);

// The default POSIX behaviour behind Env::OpenWithDefaultProgram and
// Env::StartProgram.
void OpenDocument(const std::string& path);
void StartCommandLine(const std::string& command_line);

}  // namespace vt::system
