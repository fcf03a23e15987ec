#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/ui/transcript.h"

namespace vt::ui {

std::string AppendTranscriptLine(const std::string& path, std::string_view line) {
  // Opened without blocking, so that a FIFO never holds the program up, and
  // written only when it is an ordinary file (a device may swallow lines).
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) {
    // ENXIO: a FIFO that nobody reads.
    return "cannot open transcript \"" + path +
           "\": " + (errno == ENXIO ? "not an ordinary file" : std::strerror(errno));
  }
  std::string error;
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    error = "cannot open transcript \"" + path + "\": " + std::strerror(errno);
  } else if (!S_ISREG(info.st_mode)) {
    error = "cannot open transcript \"" + path + "\": not an ordinary file";
  }
  // One write; when the disk or a size limit takes only part of it, what it
  // took is cut off again, so that no half line is left.
  std::size_t done = 0;
  while (error.empty() && done < line.size()) {
    const ssize_t n = ::write(fd, line.data() + done, line.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = "cannot append to transcript \"" + path + "\": " + std::strerror(errno);
      const off_t end = ::lseek(fd, 0, SEEK_CUR);
      if (done > 0 && end >= static_cast<off_t>(done)) {
        static_cast<void>(::ftruncate(fd, end - static_cast<off_t>(done)));
      }
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
