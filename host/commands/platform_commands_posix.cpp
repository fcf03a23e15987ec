#include "host/commands/commands.h"

namespace vt::host::commands {

// The running-object table of Linux lives in the process: there is nothing
// to serve to other processes and no class to remove from a registry.
std::vector<Command> PlatformCommands() { return {}; }

}  // namespace vt::host::commands
