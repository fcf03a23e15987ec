#include "platform/workbook/internal/safe_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/workbook/error.h"

namespace vt::workbook::detail {

namespace {

constexpr const char* kTempTag = ".vtsave-";

std::filesystem::path Folder(const std::filesystem::path& file) {
  std::filesystem::path folder = file.parent_path();
  return folder.empty() ? std::filesystem::path(".") : folder;
}

std::string TempPrefix(const std::filesystem::path& file) {
  std::string prefix = ".";
  prefix += file.filename().string();
  prefix += kTempTag;
  return prefix;
}

[[noreturn]] void Fail(const std::filesystem::path& file, const std::string& what, int err) {
  throw Error(file, what + ": " + std::strerror(err));
}

void Fill(const struct stat& st, FileStamp& stamp) {
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.size = static_cast<std::uint64_t>(st.st_size);
  stamp.mtime_ns = st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
  stamp.ctime_ns = st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec;
  stamp.mode = st.st_mode & 07777;
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

}  // namespace

Bytes ReadWholeFile(const std::filesystem::path& file, FileStamp& stamp) {
  Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) Fail(file, "cannot open the workbook", errno);
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) Fail(file, "cannot read the workbook", errno);
  if (!S_ISREG(st.st_mode)) throw Error(file, "not a workbook: it is not an ordinary file");
  Fill(st, stamp);
  Bytes data(static_cast<std::size_t>(st.st_size));
  std::size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::read(fd.get(), data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail(file, "cannot read the workbook", errno);
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  data.resize(done);
  return data;
}

bool StatFile(const std::filesystem::path& file, FileStamp& stamp) {
  struct stat st;
  if (::stat(file.c_str(), &st) != 0) return false;
  Fill(st, stamp);
  return true;
}

FolderLock::FolderLock(const std::filesystem::path& file) {
  std::filesystem::path folder = Folder(file);
  fd_ = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) Fail(file, "cannot lock the folder " + folder.string(), errno);
  while (::flock(fd_, LOCK_EX) != 0) {
    if (errno == EINTR) continue;
    int err = errno;
    ::close(fd_);
    Fail(file, "cannot lock the folder " + folder.string(), err);
  }
}

FolderLock::~FolderLock() {
  ::flock(fd_, LOCK_UN);
  ::close(fd_);
}

void WriteFileAtomically(const std::filesystem::path& file, const Bytes& data, mode_t mode) {
  std::filesystem::path folder = Folder(file);
  std::string temp = (folder / (TempPrefix(file) + "XXXXXX")).string();
  Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
  if (fd.get() < 0) Fail(file, "cannot create a temporary file in " + folder.string(), errno);
  auto abandon = [&](const std::string& what, int err) {
    ::unlink(temp.c_str());
    Fail(file, what, err);
  };
  if (::fchmod(fd.get(), mode) != 0) abandon("cannot set the permissions of the new file", errno);
  std::size_t done = 0;
  while (done < data.size()) {
    ssize_t n = ::write(fd.get(), data.data() + done, data.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) abandon("cannot write the workbook", errno);
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd.get()) != 0) abandon("cannot flush the workbook to disk", errno);
  if (::close(fd.release()) != 0) abandon("cannot write the workbook", errno);
  if (::rename(temp.c_str(), file.c_str()) != 0) abandon("cannot replace the workbook", errno);
  Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

void RemoveStaleTemporaries(const std::filesystem::path& file) {
  std::string prefix = TempPrefix(file);
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(Folder(file), ec)) {
    std::string name = entry.path().filename().string();
    if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0) {
      std::filesystem::remove(entry.path(), ec);
    }
  }
}

mode_t NewFileMode() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0) {
      return static_cast<mode_t>(0666 & ~std::stoul(line.substr(6), nullptr, 8));
    }
  }
  return 0644;
}

}  // namespace vt::workbook::detail
