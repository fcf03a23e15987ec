#pragma once

#include <memory>

#include "host/options.h"
#include "platform/ui/configure.h"

namespace vt::host {

// The message-box options the command line asks for. The transcript is
// checked here, before anything runs, so that no box is lost (ConfigError).
ui::Options MessageBoxOptions(const Options& options);

// Installs the message-box back end the options ask for, after making what
// windows need (Qt's application object on Linux, nothing on Windows). What
// it returns must live while windows may be shown. A window asked for that
// cannot be shown is a ui::ConfigError.
std::shared_ptr<void> ConfigureMessageBoxes(const Options& options);

}  // namespace vt::host
