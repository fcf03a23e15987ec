// The POSIX back end of Env: the system calls on files, processes and the desktop.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/system/atomic_file_posix.h"
#include "platform/system/env.h"
#include "platform/system/env_backend.h"
#include "platform/system/launch_posix.h"
#include "platform/system/paths.h"
#include "platform/system/process_list_linux.h"
#include "platform/system/wildcard.h"

namespace vt::system {

namespace {

// The last name of a path, trailing slashes ignored.
std::string_view LastName(std::string_view path) {
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool IsHidden(std::string_view name) { return !name.empty() && name.front() == '.'; }

bool StatIs(const std::string& path, mode_t kind) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == kind;
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Reads the whole of `fd`, calling `sink` with each chunk.
template <typename Sink>
void ReadAll(int fd, const std::string& what, Sink sink) {
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw SystemError(errno, what);
    }
    if (got == 0) return;
    sink(std::string_view(buffer, static_cast<std::size_t>(got)));
  }
}

}  // namespace

namespace backend {

bool FileExists(const std::string& path) {
  return !IsHidden(LastName(path)) && StatIs(path, S_IFREG);
}

bool DirectoryExists(const std::string& path) {
  return !IsHidden(LastName(path)) && StatIs(path, S_IFDIR);
}

std::vector<std::string> ListFiles(const std::string& folder, std::string_view pattern) {
  const std::string base = folder.empty() ? std::string(".") : folder;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(base.c_str()), &::closedir);
  if (!dir) {
    if (errno == ENOENT || errno == ENOTDIR) return {};
    throw SystemError(errno, "Cannot list the folder '" + folder + "'");
  }
  std::vector<std::string> names;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir.get());
    if (entry == nullptr) {
      if (errno != 0) throw SystemError(errno, "Cannot list the folder '" + folder + "'");
      break;
    }
    const std::string_view name(entry->d_name);
    if (IsHidden(name) || !MatchesWildcard(name, pattern)) continue;
    const bool regular =
        entry->d_type == DT_REG || ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) &&
                                    StatIs(base + "/" + std::string(name), S_IFREG));
    if (regular) names.emplace_back(name);
  }
  return names;
}

std::string ReadFileStamped(const std::string& path, FileStamp& stamp) {
  const std::string what = "Cannot read the file '" + path + "'";
  FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0) throw SystemError(errno, what);
  if (S_ISDIR(info.st_mode)) throw SystemError(EISDIR, what);
  if (!S_ISREG(info.st_mode)) throw SystemError(EINVAL, what + ": not an ordinary file");
  stamp = posix::StampOf(info);
  std::string contents;
  contents.reserve(static_cast<std::size_t>(info.st_size));
  ReadAll(fd.get(), what, [&](std::string_view chunk) { contents.append(chunk); });
  return contents;
}

std::optional<FileStamp> StatFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) return posix::StampOf(info);
  if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
  throw SystemError(errno, "Cannot examine the file '" + path + "'");
}

bool IsSameFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  const auto look = [](const std::string& path, struct stat& info) {
    if (::stat(path.c_str(), &info) == 0) return true;
    if (errno == ENOENT || errno == ENOTDIR) return false;
    throw SystemError(errno, "Cannot examine the file '" + path + "'");
  };
  return look(a, first) && look(b, second) && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

void AppendToFile(const std::string& path, std::string_view text) {
  const std::string what = "Cannot append to the file '" + path + "'";
  // Opened without blocking, so that a FIFO never holds the caller up, and
  // written only when it is an ordinary file.
  FileDescriptor fd(
      ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666));
  struct stat info {};
  // ENXIO: a FIFO that nobody reads.
  if (fd.get() < 0 && errno == ENXIO) throw SystemError(EINVAL, what + ": not an ordinary file");
  if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0) throw SystemError(errno, what);
  if (!S_ISREG(info.st_mode)) throw SystemError(EINVAL, what + ": not an ordinary file");
  // One write; when the disk or a size limit takes only part of it, what it
  // took is cut off again, so that no half line is left.
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = ::write(fd.get(), text.data() + done, text.size() - done);
    if (written < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      const off_t end = ::lseek(fd.get(), 0, SEEK_CUR);
      if (done > 0 && end >= static_cast<off_t>(done)) {
        static_cast<void>(::ftruncate(fd.get(), end - static_cast<off_t>(done)));
      }
      throw SystemError(error, what);
    }
    done += static_cast<std::size_t>(written);
  }
}

void CopyOver(const std::string& from, const std::string& to) {
  const std::string what = "Cannot copy the file '" + from + "'";
  FileDescriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (source.get() < 0 || ::fstat(source.get(), &info) != 0) throw SystemError(errno, what);
  if (!S_ISREG(info.st_mode)) throw SystemError(EINVAL, what + ": not an ordinary file");
  const std::unique_ptr<AtomicFile> target = posix::NewAtomicFile(to, info.st_mode & 07777);
  ReadAll(source.get(), what, [&](std::string_view chunk) { target->Append(chunk); });
  target->Sync();
  target->Commit();
}

void MakeDirectory(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) != 0) {
    throw SystemError(errno, "Cannot create the folder '" + path + "'");
  }
}

std::vector<std::string> RunningProcessExecutableNames() {
  return ReadProcessExecutableNames("/proc");
}

// xdg-open and the shell take no show command: the desktop decides.
void OpenWithDefaultProgram(const std::string& path, ShowCommand) { OpenDocument(path); }

void StartProgram(const std::string& command_line, ShowCommand) { StartCommandLine(command_line); }

}  // namespace backend

std::string SystemPath(std::string_view windows_path) {
  std::string path(windows_path);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

}  // namespace vt::system
