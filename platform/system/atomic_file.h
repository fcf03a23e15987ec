#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace vt::system {

// Writes a file beside its target under a temporary name and renames it over
// the target on Commit(); destroyed without Commit(), it removes the temporary
// file and the target is untouched.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(const std::string& path);  // throws SystemError
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  void Write(std::string_view bytes);
  // Flushes to disk, gives the file `mode` and moves it into place.
  void Commit(mode_t mode);

  // The mode a new file gets: 0666 less the process's umask.
  static mode_t DefaultMode();

 private:
  std::string target_;
  std::string temp_;
  int fd_ = -1;
};

}  // namespace vt::system
