#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace vt::system {

// A failed operating-system call. what() names the operation and the path, then
// the system's reason; code() keeps errno so callers can tell "not found" apart.
class SystemError : public std::system_error {
 public:
  SystemError(int error_number, const std::string& what);
};

// A file that may not be replaced or written because it is read-only (EACCES).
class ReadOnlyFileError : public SystemError {
 public:
  explicit ReadOnlyFileError(const std::string& path);
};

// How a started program's main window is shown: the Win32 show command's
// number, which the transcript records too.
enum class ShowCommand { Normal = 1, Maximized = 3 };

// Who a file on disk is and which version of it: equal stamps mean that nobody
// wrote or replaced the file in between. (POSIX: device, inode, size, change
// and modification times; Windows: volume, file index, size, write and change
// times.)
struct FileStamp {
  std::uint64_t volume = 0;
  std::uint64_t file_id = 0;
  std::uint64_t size = 0;
  std::int64_t modified_ns = 0;
  std::int64_t changed_ns = 0;
  bool operator==(const FileStamp&) const = default;
};

// A new version of a file, written under a temporary name beside it. Commit()
// puts it in the file's place in one step (a crash leaves the old or the new
// file, never a mixture); destroyed without Commit(), the temporary file is
// removed and the file is untouched. Each step raises SystemError.
class AtomicFile {
 public:
  virtual ~AtomicFile();
  virtual void Append(std::string_view bytes) = 0;
  // The bytes written so far are on disk.
  virtual void Sync() = 0;
  // Closes the temporary file and replaces the target with it, durably.
  virtual void Commit() = 0;
};

// An existing file opened to be changed in place, for formats that write new
// data aside inside the file and then switch to it with one small write (so
// that a reader or a crash sees the old or the new version). Each step
// raises SystemError.
class RandomRWFile {
 public:
  virtual ~RandomRWFile();
  // The stamp of the very file that is open (see FileStamp), as it is now.
  virtual FileStamp Stamp() = 0;
  // Writes all of `bytes` at `offset`, growing the file when it lies past the end.
  virtual void Write(std::uint64_t offset, std::string_view bytes) = 0;
  // What was written so far is on disk, the file's new size included.
  virtual void Sync() = 0;
  // Cuts the file to `size` bytes (what a failed write added past the end).
  virtual void Truncate(std::uint64_t size) = 0;
};

// Held while alive: see Env::LockForWriting.
class FileLock {
 public:
  virtual ~FileLock();
};

// Everything the system needs from the operating system, behind one interface
// so that tests can replace any single service (see EnvWrapper).
class Env {
 public:
  virtual ~Env();

  // The process's real operating system. Never destroyed.
  static Env* Default();

  // True for an ordinary file only: a folder, a device, a FIFO, a dangling link
  // or a hidden file (last name beginning with a dot) counts as missing. A
  // symbolic link counts as what it points to.
  virtual bool FileExists(const std::string& path) = 0;
  // True for a folder whose last name does not begin with a dot.
  virtual bool DirectoryExists(const std::string& path) = 0;

  // Names (not paths) of the ordinary, non-hidden files of `folder` that match
  // the wildcard `pattern` (see MatchesWildcard), in the folder listing's order.
  // A missing folder lists nothing; one that cannot be read raises SystemError.
  virtual std::vector<std::string> ListFiles(const std::string& folder,
                                             std::string_view pattern) = 0;

  virtual std::string ReadFile(const std::string& path) = 0;
  // The same, with the stamp of the very file that was read. Anything but an
  // ordinary file raises SystemError with EISDIR (a folder) or EINVAL.
  virtual std::string ReadFileStamped(const std::string& path, FileStamp& stamp) = 0;
  // The stamp of the file at `path`; nullopt when nothing is there. Raises
  // SystemError when the path cannot be examined.
  virtual std::optional<FileStamp> StatFile(const std::string& path) = 0;
  // True when both paths name one file on disk, however they spell it
  // (relative, through a symbolic link, a hard link, other letter case where
  // the file system ignores it); false when either names nothing. POSIX
  // compares device and inode, Windows the volume serial number and file
  // index. Raises SystemError when a path cannot be examined.
  virtual bool IsSameFile(const std::string& a, const std::string& b) = 0;

  // Starts a new version of `path` (see AtomicFile). It gets the permissions
  // of the file it replaces (and its owner and group where the process may
  // give them), or those of a new file; a symbolic link keeps pointing to the
  // file it names, which is replaced. A file that is read-only is not
  // replaced: ReadOnlyFileError (POSIX: the owner's write permission is off,
  // as the read-only attribute of Windows shows it, or the process may not
  // write the file; root too is refused).
  virtual std::unique_ptr<AtomicFile> NewAtomicFile(const std::string& path) = 0;
  // Replaces the file's contents all at once through NewAtomicFile: append,
  // sync, commit.
  virtual void WriteFileAtomic(const std::string& path, std::string_view contents);
  // Removes what NewAtomicFile for `path` left behind when its process died
  // between writing and committing, and nothing that a living writer still
  // writes (POSIX: each writer holds a lock on its temporary file; Windows: a
  // file still open for writing cannot be deleted). Safe at any time.
  virtual void RemoveStaleTemporaries(const std::string& path) = 0;
  // Opens the ordinary file at `path` for reading and writing in place; it is
  // never created, truncated or replaced. A read-only file raises
  // ReadOnlyFileError, as for NewAtomicFile.
  virtual std::unique_ptr<RandomRWFile> NewRandomRWFile(const std::string& path) = 0;

  // An exclusive lock among the processes that write `path` (which need not
  // exist), waited for while another process holds it. The operating system
  // drops it when its holder dies, and it leaves nothing behind. POSIX locks
  // the folder that holds the file (a lock file would litter the folder, and
  // the file itself is replaced at every save). Windows cannot lock a folder:
  // it locks one byte far past the end of the file itself (readers are never
  // blocked) and, once it holds it, checks that the file was not replaced
  // meanwhile, else it locks the new one; a file that does not exist yet is
  // not locked (its first writer creates it whole).
  virtual std::unique_ptr<FileLock> LockForWriting(const std::string& path) = 0;
  // The same lock without waiting: nullptr while another process holds it.
  virtual std::unique_ptr<FileLock> TryLockForWriting(const std::string& path) = 0;
  // Appends in one write, creating the file when missing; concurrent appenders
  // never interleave within one call's text.
  virtual void AppendToFile(const std::string& path, std::string_view text) = 0;
  // Copies over an existing target (atomically), which keeps its permissions
  // and, where the process may give them, its owner and group; a new target
  // takes the source's permissions. A read-only target is refused as
  // NewAtomicFile refuses it.
  virtual void CopyFile(const std::string& from, const std::string& to) = 0;
  // Creates one folder level; an existing one is an error (EEXIST).
  virtual void CreateDirectory(const std::string& path) = 0;

  // The executable file names (no folder) of the running processes, one per
  // process, in process-table order. Processes whose executable cannot be read
  // (kernel threads, other users' processes) are left out silently.
  virtual std::vector<std::string> RunningProcessExecutableNames() = 0;

  // Opens a document with the desktop's default program for its type
  // (xdg-open); does not wait. Windows shows the program's window as `show`
  // says; a Linux desktop places the windows itself.
  virtual void OpenWithDefaultProgram(const std::string& path, ShowCommand show) = 0;
  // Starts a Windows-style command line (see ToPosixCommandLine) through
  // /bin/sh in a new session; returns at once and leaves no child behind.
  // `show` as for OpenWithDefaultProgram.
  virtual void StartProgram(const std::string& command_line, ShowCommand show) = 0;

  virtual std::chrono::system_clock::time_point Now() = 0;
};

// Forwards every call to a target Env; derive and override what a test needs.
class EnvWrapper : public Env {
 public:
  explicit EnvWrapper(Env* target) : target_(target) {}
  Env* target() const { return target_; }

  bool FileExists(const std::string& path) override { return target_->FileExists(path); }
  bool DirectoryExists(const std::string& path) override { return target_->DirectoryExists(path); }
  std::vector<std::string> ListFiles(const std::string& folder, std::string_view pattern) override {
    return target_->ListFiles(folder, pattern);
  }
  std::string ReadFile(const std::string& path) override { return target_->ReadFile(path); }
  std::string ReadFileStamped(const std::string& path, FileStamp& stamp) override {
    return target_->ReadFileStamped(path, stamp);
  }
  std::optional<FileStamp> StatFile(const std::string& path) override {
    return target_->StatFile(path);
  }
  bool IsSameFile(const std::string& a, const std::string& b) override {
    return target_->IsSameFile(a, b);
  }
  std::unique_ptr<AtomicFile> NewAtomicFile(const std::string& path) override {
    return target_->NewAtomicFile(path);
  }
  // WriteFileAtomic is not forwarded: Env's own goes through NewAtomicFile, so a
  // wrapper that fails one of its steps fails every atomic write.
  void RemoveStaleTemporaries(const std::string& path) override {
    target_->RemoveStaleTemporaries(path);
  }
  std::unique_ptr<RandomRWFile> NewRandomRWFile(const std::string& path) override {
    return target_->NewRandomRWFile(path);
  }
  std::unique_ptr<FileLock> LockForWriting(const std::string& path) override {
    return target_->LockForWriting(path);
  }
  std::unique_ptr<FileLock> TryLockForWriting(const std::string& path) override {
    return target_->TryLockForWriting(path);
  }
  void AppendToFile(const std::string& path, std::string_view text) override {
    target_->AppendToFile(path, text);
  }
  void CopyFile(const std::string& from, const std::string& to) override {
    target_->CopyFile(from, to);
  }
  void CreateDirectory(const std::string& path) override { target_->CreateDirectory(path); }
  std::vector<std::string> RunningProcessExecutableNames() override {
    return target_->RunningProcessExecutableNames();
  }
  void OpenWithDefaultProgram(const std::string& path, ShowCommand show) override {
    target_->OpenWithDefaultProgram(path, show);
  }
  void StartProgram(const std::string& command_line, ShowCommand show) override {
    target_->StartProgram(command_line, show);
  }
  std::chrono::system_clock::time_point Now() override { return target_->Now(); }

 private:
  Env* target_;
};

// The Env the system uses: Env::Default() unless a ScopedEnvOverride is alive.
Env& CurrentEnv();

// Substitutes `env` for the process's Env until destroyed; overrides nest.
class ScopedEnvOverride {
 public:
  explicit ScopedEnvOverride(Env* env);
  ~ScopedEnvOverride();
  ScopedEnvOverride(const ScopedEnvOverride&) = delete;
  ScopedEnvOverride& operator=(const ScopedEnvOverride&) = delete;

 private:
  Env* previous_;
};

}  // namespace vt::system
