#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/ui/process_state.h"

namespace vt::ui::detail {

void Notice(std::string_view message) noexcept {
  try {
    const std::string name = ProgramName();
    std::string line = name.empty() ? std::string(program_invocation_short_name) : name;
    line += ": ";
    line += message;
    line += '\n';
    std::size_t done = 0;
    while (done < line.size()) {
      const ssize_t n = ::write(STDERR_FILENO, line.data() + done, line.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
  } catch (...) {
    // Out of memory while building a notice: nothing sensible is left to say.
  }
}

}  // namespace vt::ui::detail
