#pragma once

// File access for the workbook: whole-file reads, the identity of a file on
// disk, the inter-process lock and the write-aside-then-rename save.

#include <sys/types.h>

#include <cstdint>
#include <filesystem>

#include "platform/workbook/internal/bytes.h"

namespace vt::workbook::detail {

// What changes whenever anyone writes or replaces the file.
struct FileStamp {
  std::uint64_t device = 0, inode = 0, size = 0;
  std::int64_t mtime_ns = 0, ctime_ns = 0;
  mode_t mode = 0;

  bool SameFile(const FileStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           mtime_ns == other.mtime_ns && ctime_ns == other.ctime_ns;
  }
};

// These throw Error naming the file.
Bytes ReadWholeFile(const std::filesystem::path& file, FileStamp& stamp);
bool StatFile(const std::filesystem::path& file, FileStamp& stamp);

// An exclusive flock on the folder that holds the workbook. The folder, not
// the file: the file is replaced by rename on every save, and a lock file
// would litter the translators' folder. The kernel drops the lock when its
// holder dies, so a crashed writer never leaves a stale lock behind.
class FolderLock {
 public:
  explicit FolderLock(const std::filesystem::path& file);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

// Writes `data` to a temporary file beside `file`, flushes it to disk,
// renames it over `file` and flushes the folder. Call under FolderLock.
void WriteFileAtomically(const std::filesystem::path& file, const Bytes& data, mode_t mode);

// Removes temporary files that a writer killed mid-save left behind. Only
// safe under FolderLock, when no other writer can be between write and rename.
void RemoveStaleTemporaries(const std::filesystem::path& file);

// The permissions a newly created file gets (0666 less the umask).
mode_t NewFileMode();

}  // namespace vt::workbook::detail
