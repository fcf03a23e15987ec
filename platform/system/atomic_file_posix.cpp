#include "platform/system/atomic_file_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/system/env_backend.h"

namespace vt::system::posix {

namespace {

constexpr std::string_view kTempTag = ".tmp-";
constexpr std::size_t kTempRandom = 6;  // mkostemp's XXXXXX

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

// Bounded so that a name near the file system's limit still gets a temporary.
std::string TempPrefix(const std::string& target) {
  return "." + NameOf(target).substr(0, 64) + std::string(kTempTag);
}

std::string WhatWrite(const std::string& path) { return "Cannot write the file '" + path + "'"; }

// Windows refuses to replace or write a file whose read-only attribute is set,
// which is how a user protects it; here that is the owner's write permission
// turned off (root is refused too, though it could write), or a file the
// process may not write.
void RefuseReadOnly(const std::string& path, const std::string& examined, const struct stat& info) {
  if ((info.st_mode & S_IWUSR) == 0 ||
      (::faccessat(AT_FDCWD, examined.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES)) {
    throw ReadOnlyFileError(path);
  }
}

class PosixAtomicFile final : public AtomicFile {
 public:
  PosixAtomicFile(const std::string& path, mode_t new_file_mode) : target_(ResolveTarget(path)) {
    struct stat replaced {};
    const bool replacing = ::stat(target_.c_str(), &replaced) == 0;
    // A device or a FIFO is written to, never replaced by a file (root could
    // rename a file over /dev/null).
    if (replacing && !S_ISREG(replaced.st_mode)) {
      throw SystemError(S_ISDIR(replaced.st_mode) ? EISDIR : EINVAL,
                        WhatWrite(path) + ": not an ordinary file");
    }
    if (replacing) RefuseReadOnly(path, target_, replaced);
    const std::string pattern = FolderOf(target_) + "/" + TempPrefix(target_) + "XXXXXX";
    for (;;) {
      std::vector<char> buffer(pattern.begin(), pattern.end());
      buffer.push_back('\0');
      fd_ = ::mkostemp(buffer.data(), O_CLOEXEC);
      if (fd_ < 0) throw SystemError(errno, WhatWrite(path));
      temp_.assign(buffer.data());
      // The lock tells cleaners that a living writer owns the file; one that
      // took the file away before we locked it leaves it without a name.
      if (::flock(fd_, LOCK_EX) != 0) throw SystemError(errno, WhatWrite(target_));
      struct stat info {};
      if (::fstat(fd_, &info) != 0) throw SystemError(errno, WhatWrite(target_));
      if (info.st_nlink > 0) break;
      ::close(fd_);
      fd_ = -1;
      temp_.clear();
    }
    // Owner and group first: changing them may clear the set-id bits.
    if (replacing && ::fchown(fd_, replaced.st_uid, replaced.st_gid) != 0) {
      static_cast<void>(::fchown(fd_, static_cast<uid_t>(-1), replaced.st_gid));
    }
    const mode_t mode = replacing ? (replaced.st_mode & 07777) : new_file_mode;
    if (::fchmod(fd_, mode) != 0) throw SystemError(errno, WhatWrite(target_));
  }

  ~PosixAtomicFile() override {
    if (fd_ >= 0) ::close(fd_);
    if (!temp_.empty()) ::unlink(temp_.c_str());
  }

  void Append(std::string_view bytes) override {
    while (!bytes.empty()) {
      const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0) {
        if (errno == EINTR) continue;
        throw SystemError(errno, WhatWrite(target_));
      }
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
  }

  void Sync() override {
    if (::fsync(fd_) != 0) throw SystemError(errno, WhatWrite(target_));
  }

  void Commit() override {
    // Renamed while still open and locked, so that no cleaner takes it for
    // the litter of a dead writer in between.
    if (::rename(temp_.c_str(), target_.c_str()) != 0) throw SystemError(errno, WhatWrite(target_));
    temp_.clear();
    const int fd = fd_;
    fd_ = -1;
    ::close(fd);  // the data was flushed by Sync; the file is in place already
    // Make the rename itself durable; a folder that refuses fsync changes nothing.
    const int dir = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      ::fsync(dir);
      ::close(dir);
    }
  }

 private:
  std::string target_;
  std::string temp_;
  int fd_ = -1;
};

class FolderLock final : public FileLock {
 public:
  // Holds the lock when `held()`; without `wait`, not when another holds it.
  FolderLock(const std::string& path, bool wait) {
    const std::string folder = FolderOf(path);
    const std::string what = "Cannot lock the folder '" + folder + "'";
    fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) throw SystemError(errno, what);
    while (::flock(fd_, wait ? LOCK_EX : LOCK_EX | LOCK_NB) != 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd_);
      fd_ = -1;
      if (error == EWOULDBLOCK) return;
      throw SystemError(error, what);
    }
  }
  ~FolderLock() override {
    if (fd_ >= 0) ::close(fd_);  // closing drops the lock
  }
  bool held() const { return fd_ >= 0; }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace

// 0666 less the umask, read without changing it (umask(2) would, for a
// moment, for every thread of the process).
mode_t NewFileMode() {
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

std::unique_ptr<AtomicFile> NewAtomicFile(const std::string& path, mode_t new_file_mode) {
  backend::RemoveStaleTemporaries(path);
  return std::make_unique<PosixAtomicFile>(path, new_file_mode);
}

namespace {

class PosixRandomRWFile final : public RandomRWFile {
 public:
  explicit PosixRandomRWFile(const std::string& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ < 0 && errno == EACCES && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 &&
        errno == EACCES) {
      throw ReadOnlyFileError(path_);
    }
    if (fd_ < 0) throw SystemError(errno, WhatWrite(path_));
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
      const int error = errno;
      ::close(fd_);
      throw SystemError(error, WhatWrite(path_));
    }
    if (!S_ISREG(info.st_mode)) {
      ::close(fd_);
      throw SystemError(EINVAL, WhatWrite(path_) + ": not an ordinary file");
    }
    try {
      RefuseReadOnly(path_, path_, info);
    } catch (...) {
      ::close(fd_);
      throw;
    }
  }
  ~PosixRandomRWFile() override { ::close(fd_); }
  PosixRandomRWFile(const PosixRandomRWFile&) = delete;
  PosixRandomRWFile& operator=(const PosixRandomRWFile&) = delete;

  FileStamp Stamp() override {
    struct stat info {};
    if (::fstat(fd_, &info) != 0)
      throw SystemError(errno, "Cannot examine the file '" + path_ + "'");
    return StampOf(info);
  }

  void Write(std::uint64_t offset, std::string_view bytes) override {
    while (!bytes.empty()) {
      const ssize_t written = ::pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
      if (written < 0) {
        if (errno == EINTR) continue;
        throw SystemError(errno, WhatWrite(path_));
      }
      bytes.remove_prefix(static_cast<std::size_t>(written));
      offset += static_cast<std::uint64_t>(written);
    }
  }

  void Sync() override {
    if (::fdatasync(fd_) != 0) throw SystemError(errno, WhatWrite(path_));
  }

  void Truncate(std::uint64_t size) override {
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) throw SystemError(errno, WhatWrite(path_));
  }

 private:
  std::string path_;
  int fd_ = -1;
};

}  // namespace

FileStamp StampOf(const struct stat& info) {
  FileStamp stamp;
  stamp.volume = static_cast<std::uint64_t>(info.st_dev);
  stamp.file_id = static_cast<std::uint64_t>(info.st_ino);
  stamp.size = static_cast<std::uint64_t>(info.st_size);
  stamp.modified_ns = info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
  stamp.changed_ns = info.st_ctim.tv_sec * 1000000000LL + info.st_ctim.tv_nsec;
  return stamp;
}

}  // namespace vt::system::posix

namespace vt::system::backend {

using namespace posix;  // the helpers above

std::unique_ptr<AtomicFile> NewAtomicFile(const std::string& path) {
  return posix::NewAtomicFile(path, NewFileMode());
}

void RemoveStaleTemporaries(const std::string& path) {
  const std::string target = ResolveTarget(path);
  const std::string folder = FolderOf(target);
  const std::string prefix = TempPrefix(target);
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name(entry->d_name);
    if (name.size() != prefix.size() + kTempRandom || !name.starts_with(prefix)) continue;
    const std::string temp = folder + "/" + std::string(name);
    const int fd = ::open(temp.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    // Locked: its writer is alive. Unlocked: its writer died (the lock goes
    // with the process), unless the name now stands for another file.
    struct stat open_info {
    }, named{};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &open_info) == 0 &&
        ::lstat(temp.c_str(), &named) == 0 && open_info.st_dev == named.st_dev &&
        open_info.st_ino == named.st_ino) {
      ::unlink(temp.c_str());
    }
    ::close(fd);
  }
}

std::unique_ptr<RandomRWFile> NewRandomRWFile(const std::string& path) {
  return std::make_unique<PosixRandomRWFile>(path);
}

std::unique_ptr<FileLock> LockFolder(const std::string& path, bool wait) {
  auto lock = std::make_unique<FolderLock>(path, wait);
  if (!lock->held()) return nullptr;
  return lock;
}

}  // namespace vt::system::backend
