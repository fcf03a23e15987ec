#include <memory>
#include <utility>

#include "host/message_boxes.h"

namespace vt::host {

// Win32 message boxes need nothing made first; --gui where they cannot be
// shown is refused by ui::Configure.
std::shared_ptr<void> ConfigureMessageBoxes(const Options& options) {
  ui::Configure(MessageBoxOptions(options));
  return nullptr;
}

}  // namespace vt::host
