#include "platform/system/files_windows.h"

#include <cerrno>
#include <cstdint>
#include <random>

#include "platform/system/env_backend.h"

namespace vt::system::windows {

namespace {

constexpr std::string_view kTempTag = ".tmp-";
constexpr std::size_t kTempRandom = 6;

std::string WhatWrite(const std::string& path) { return "Cannot write the file '" + path + "'"; }

std::string Join(const std::string& folder, const std::string& name) {
  if (folder == ".") return name;
  if (folder.back() == '\\' || folder.back() == '/') return folder + name;
  return folder + "\\" + name;
}

std::string TempPrefix(const std::string& path) {
  return "." + NameOf(path).substr(0, 64) + std::string(kTempTag);
}

std::int64_t Nanoseconds(LARGE_INTEGER time) { return time.QuadPart * 100; }

class WindowsAtomicFile final : public AtomicFile {
 public:
  explicit WindowsAtomicFile(const std::string& path) : target_(path) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string name = TempPrefix(path);
      for (std::size_t i = 0; i < kTempRandom; ++i) name += kLetters[random() % 36];
      temp_ = Join(FolderOf(path), name);
      file_.Reset(::CreateFileW(Widen(temp_).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
      if (file_.valid()) return;
      if (::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    const DWORD error = ::GetLastError();
    temp_.clear();
    throw ErrorFor(error, WhatWrite(path));
  }

  ~WindowsAtomicFile() override {
    file_.Close();
    if (!temp_.empty()) ::DeleteFileW(Widen(temp_).c_str());
  }

  void Append(std::string_view bytes) override {
    while (!bytes.empty()) {
      const DWORD chunk = bytes.size() > (1U << 30) ? (1U << 30) : static_cast<DWORD>(bytes.size());
      DWORD written = 0;
      if (!::WriteFile(file_.get(), bytes.data(), chunk, &written, nullptr)) {
        throw LastError(WhatWrite(target_));
      }
      bytes.remove_prefix(written);
    }
  }

  void Sync() override {
    if (!::FlushFileBuffers(file_.get())) throw LastError(WhatWrite(target_));
  }

  void Commit() override {
    if (!file_.Close()) throw LastError(WhatWrite(target_));
    const std::wstring from = Widen(temp_);
    const std::wstring to = Widen(target_);
    // ReplaceFileW keeps what the old file carried (attributes, security,
    // creation time); a new file, or a file that the replacement cannot
    // merge with, is simply renamed over.
    const DWORD existing = ::GetFileAttributesW(to.c_str());
    // A folder is never replaced (Wine's ReplaceFileW would report success).
    if (existing != INVALID_FILE_ATTRIBUTES && (existing & FILE_ATTRIBUTE_DIRECTORY) != 0) {
      throw SystemError(EISDIR, WhatWrite(target_));
    }
    bool done = existing != INVALID_FILE_ATTRIBUTES &&
                ::ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                               nullptr, nullptr);
    if (!done) {
      done = ::MoveFileExW(from.c_str(), to.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    if (!done) throw LastError(WhatWrite(target_));
    temp_.clear();
  }

 private:
  std::string target_;
  std::string temp_;
  Handle file_;
};

// One byte far beyond any real size: Windows locks are mandatory only for
// the bytes they cover, so readers and writers of the contents never wait.
constexpr DWORD kLockOffsetHigh = 0x40000000;

class ByteRangeLock final : public FileLock {
 public:
  explicit ByteRangeLock(HANDLE file) : file_(file) {}
  ~ByteRangeLock() override {
    if (!file_.valid()) return;
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    ::UnlockFileEx(file_.get(), 0, 1, 0, &at);
  }

 private:
  Handle file_;
};

class WindowsRandomRWFile final : public RandomRWFile {
 public:
  explicit WindowsRandomRWFile(const std::string& path) : path_(path) {
    // Shared as a POSIX descriptor is: readers, the writers' lock and a
    // replacement by rename all go on while it is open.
    file_.Reset(::CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_.valid()) throw LastError(WhatWrite(path_));
    if (::GetFileType(file_.get()) != FILE_TYPE_DISK) {
      throw SystemError(EINVAL, WhatWrite(path_) + ": not an ordinary file");
    }
  }

  FileStamp Stamp() override { return StampOf(file_.get()); }

  void Write(std::uint64_t offset, std::string_view bytes) override {
    while (!bytes.empty()) {
      const DWORD chunk = bytes.size() > (1U << 30) ? (1U << 30) : static_cast<DWORD>(bytes.size());
      OVERLAPPED at{};
      at.Offset = static_cast<DWORD>(offset);
      at.OffsetHigh = static_cast<DWORD>(offset >> 32);
      DWORD written = 0;
      if (!::WriteFile(file_.get(), bytes.data(), chunk, &written, &at)) {
        throw LastError(WhatWrite(path_));
      }
      bytes.remove_prefix(written);
      offset += written;
    }
  }

  void Sync() override {
    if (!::FlushFileBuffers(file_.get())) throw LastError(WhatWrite(path_));
  }

  void Truncate(std::uint64_t size) override {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFileInformationByHandle(file_.get(), FileEndOfFileInfo, &end, sizeof end)) {
      throw LastError(WhatWrite(path_));
    }
  }

 private:
  std::string path_;
  Handle file_;
};

}  // namespace

HANDLE OpenShared(const std::string& path, DWORD access) {
  return ::CreateFileW(Widen(path).c_str(), access,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

FileStamp StampOf(HANDLE file) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(file, &info)) throw LastError("Cannot examine a file");
  return StampOf(file, info);
}

FileStamp StampOf(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info) {
  FILE_BASIC_INFO basic{};
  if (!::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic)) {
    throw LastError("Cannot examine a file");
  }
  FileStamp stamp;
  stamp.volume = info.dwVolumeSerialNumber;
  stamp.file_id = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  stamp.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  stamp.modified_ns = Nanoseconds(basic.LastWriteTime);
  stamp.changed_ns = Nanoseconds(basic.ChangeTime);
  return stamp;
}

bool SameFile(HANDLE a, HANDLE b) {
  BY_HANDLE_FILE_INFORMATION x{};
  BY_HANDLE_FILE_INFORMATION y{};
  return ::GetFileInformationByHandle(a, &x) && ::GetFileInformationByHandle(b, &y) &&
         x.dwVolumeSerialNumber == y.dwVolumeSerialNumber && x.nFileIndexHigh == y.nFileIndexHigh &&
         x.nFileIndexLow == y.nFileIndexLow;
}

}  // namespace vt::system::windows

namespace vt::system::backend {

using namespace windows;  // the helpers above

std::unique_ptr<AtomicFile> NewAtomicFile(const std::string& path) {
  return std::make_unique<WindowsAtomicFile>(path);
}

void RemoveStaleTemporaries(const std::string& path) {
  const std::string folder = FolderOf(path);
  const std::string pattern = TempPrefix(path) + std::string(kTempRandom, '?');
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW(Widen(Join(folder, pattern)).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = Narrow(found.cFileName);
    if (name.size() == TempPrefix(path).size() + kTempRandom) {
      ::DeleteFileW(Widen(Join(folder, name)).c_str());
    }
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

std::unique_ptr<RandomRWFile> NewRandomRWFile(const std::string& path) {
  return std::make_unique<WindowsRandomRWFile>(path);
}

// Both opened, so that each name is resolved as Windows resolves it (letter
// case ignored, links followed); a name of nothing is no file at all.
bool IsSameFile(const std::string& a, const std::string& b) {
  const auto open = [](const std::string& path) {
    const HANDLE file = OpenShared(path, FILE_READ_ATTRIBUTES);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD error = ::GetLastError();
      if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
        throw ErrorFor(error, "Cannot examine the file '" + path + "'");
      }
    }
    return file;
  };
  const Handle first(open(a));
  if (!first.valid()) return false;
  const Handle second(open(b));
  return second.valid() && SameFile(first.get(), second.get());
}

std::unique_ptr<FileLock> LockFolder(const std::string& path, bool wait) {
  const std::string what = "Cannot lock the file '" + path + "'";
  for (;;) {
    HANDLE file = OpenShared(path, GENERIC_READ);
    if (file == INVALID_HANDLE_VALUE) {
      const DWORD error = ::GetLastError();
      // Nothing to serialise yet: the first writer creates the file whole.
      if (error == ERROR_FILE_NOT_FOUND) return std::make_unique<FileLock>();
      throw ErrorFor(error, what);
    }
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    const DWORD flags = LOCKFILE_EXCLUSIVE_LOCK | (wait ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
    if (!::LockFileEx(file, flags, 0, 1, 0, &at)) {
      const DWORD error = ::GetLastError();
      ::CloseHandle(file);
      if (!wait && error == ERROR_LOCK_VIOLATION) return nullptr;
      throw ErrorFor(error, what);
    }
    auto lock = std::make_unique<ByteRangeLock>(file);
    // Keep the lock only if the file was not replaced while we waited.
    Handle now(OpenShared(path, FILE_READ_ATTRIBUTES));
    if (now.valid() && SameFile(now.get(), file)) return lock;
  }
}

}  // namespace vt::system::backend
