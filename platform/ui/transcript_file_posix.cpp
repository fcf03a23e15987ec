#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/ui/transcript.h"

namespace vt::ui {

std::string AppendTranscriptLine(const std::string& path, std::string_view line) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    return "cannot open transcript \"" + path + "\": " + std::strerror(errno);
  }
  std::string error;
  std::size_t done = 0;
  while (done < line.size()) {
    const ssize_t n = ::write(fd, line.data() + done, line.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = "cannot append to transcript \"" + path + "\": " + std::strerror(errno);
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  if (::close(fd) != 0 && error.empty()) {
    error = "cannot append to transcript \"" + path + "\": " + std::strerror(errno);
  }
  return error;
}

}  // namespace vt::ui
