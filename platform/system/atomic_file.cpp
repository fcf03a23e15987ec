#include "platform/system/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/system/env.h"

namespace vt::system {

namespace {

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A symbolic link is followed, so that the file it names is replaced rather
// than the link itself.
std::string ResolveTarget(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;  // dangling: the link itself is replaced
  std::string result(resolved);
  std::free(resolved);
  return result;
}

}  // namespace

AtomicFileWriter::AtomicFileWriter(const std::string& path) : target_(ResolveTarget(path)) {
  // Bounded so that a name near the file system's limit still gets a temporary.
  const std::string name = NameOf(target_).substr(0, 64);
  std::string pattern = FolderOf(target_) + "/." + name + ".tmp-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  fd_ = ::mkostemp(buffer.data(), O_CLOEXEC);
  if (fd_ < 0) throw SystemError(errno, "Cannot write the file '" + path + "'");
  temp_.assign(buffer.data());
}

AtomicFileWriter::~AtomicFileWriter() {
  if (fd_ >= 0) ::close(fd_);
  if (!temp_.empty()) ::unlink(temp_.c_str());
}

void AtomicFileWriter::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      throw SystemError(errno, "Cannot write the file '" + target_ + "'");
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

void AtomicFileWriter::Commit(mode_t mode) {
  const std::string what = "Cannot write the file '" + target_ + "'";
  if (::fchmod(fd_, mode) != 0 || ::fsync(fd_) != 0) throw SystemError(errno, what);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) throw SystemError(errno, what);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) throw SystemError(errno, what);
  temp_.clear();
  // Make the rename itself durable; a folder that refuses fsync changes nothing.
  const int dir = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

mode_t AtomicFileWriter::DefaultMode() {
  // Read the umask without changing it (umask(2) would, for a moment, for
  // every thread of the process).
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0) {
      const unsigned long mask = std::strtoul(line.c_str() + 6, nullptr, 8);
      return static_cast<mode_t>(0666U & ~static_cast<unsigned>(mask));
    }
  }
  return 0644;
}

}  // namespace vt::system
