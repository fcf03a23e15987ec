#pragma once

#include <functional>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/options.h"

namespace CLI {
class App;
}

namespace vt::host {

class Workspace;

// An argument found wrong only when the command runs (a picture the pictures
// folder does not have): exit status 2, as for what the parser finds.
class CommandLineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a running command is given.
struct CommandContext {
  const Options& options;
  std::ostream& out;
  std::ostream& err;
  Workspace& workspace;  // registered as "Workspace.Application" while the command runs
};

// Runs a parsed command; returns the exit status (0 ran, 1 host failure).
using CommandRun = std::function<int(CommandContext&)>;

// One command of the command line. `setup` declares the command's own
// arguments on its sub-command and returns what runs it, bound to them.
struct Command {
  std::string name;
  std::string description;
  std::function<CommandRun(CLI::App& sub)> setup;
};

// Every command, in the order of the usage text. Each lives in a file of its
// own under host/commands/ and is listed in commands.cpp.
std::vector<Command> AllCommands();

}  // namespace vt::host
